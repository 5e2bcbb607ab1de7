#include "support/golden.hpp"

#include <png.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <numeric>
#include <sstream>

#include "core/window_picture.hpp"
#include "pixels/png_writer.hpp"
#include "platform/headless/replay.hpp"
#include "runs/key_script.hpp"
#include "support/headless_game.hpp"

namespace sc::testing {

namespace {

const std::string kGolden = SEVENCHIPS_SOURCE_DIR "/tests/golden/";

// Four interleaved FNV-1a lanes over the pixels: fast, and any changed pixel changes it.
std::uint64_t hash_pixels(const Surface& s, std::uint64_t h) {
    std::uint64_t lane[4] = {h, h ^ 1, h ^ 2, h ^ 3};
    const auto& px = s.pixels();
    for (std::size_t i = 0; i < px.size(); ++i) { lane[i & 3] = (lane[i & 3] ^ px[i]) * 0x100000001b3ULL; }
    return (lane[0] * 31 + lane[1]) * 31 + lane[2] * 7 + lane[3];
}

std::uint64_t hash_text(const std::string& text, std::uint64_t h) {
    for (unsigned char c : text) { h = (h ^ c) * 0x100000001b3ULL; }
    return h + 1;
}

std::string hex(std::uint64_t h) {
    char buf[12];
    std::snprintf(buf, sizeof buf, "%08x", unsigned(h ^ (h >> 32)));
    return buf;
}

// Every window picture shown, folded into one hash until it is taken.
struct FramePlatform : HeadlessPlatform {
    void present(const Surface& screen, int left, int top) override {
        HeadlessPlatform::present(screen, left, top);
        frames = hash_pixels(screen, frames * 1000003 + std::uint64_t(left * 1000 + top));
    }
    std::uint64_t frames = 0;
};

template <class A>
std::string list(const A& values) {
    std::string out;
    for (const auto& v : values) { out += (out.empty() ? "" : ",") + std::to_string(long(v)); }
    return out;
}

// The game's fields as the golden files show them, in the order they are written. PilotBob is
// left to the pictures (it flips every tick); sounds, stops and music happened during the event.
std::vector<std::pair<std::string, std::string>> state_of(const Game& g, long dt, const std::string& sounds, int stops,
                                                          const std::string& music) {
    std::string clear = g.ClearFileWritten.empty() ? "" : read_file(g.ClearFileWritten);
    for (std::size_t at; (at = clear.find_first_of("\r\n")) != std::string::npos;) { clear.replace(at, 1, clear[at] == '\r' ? "\\r" : "\\n"); }
    auto n = [](long v) { return std::to_string(v); };
    return {{"dt", n(dt)}, {"GameMode", n(g.GameMode)}, {"QuitStage", n(g.QuitStage)}, {"ended", n(g.ended)},
            {"Timers", list(std::vector<int>{g.Timer1.Interval, g.Timer2.Interval, g.Timer3.Interval, g.Timer4.Interval})},
            {"EnemyNo", n(g.EnemyNo)}, {"EnemyName", g.EnemyName}, {"EnemyHp", n(g.EnemyHp)}, {"EnemyMaxHp", n(g.EnemyMaxHp)},
            {"EnemyAttack", n(g.EnemyAttack)}, {"EnemySpeed", n(g.EnemySpeed)}, {"EnemyKind", n(g.EnemyKind)},
            {"EnemyGauge", n(g.EnemyGauge)}, {"DamageRate", n(g.DamageRate)}, {"HealChance", n(g.HealChance)},
            {"TalkTimer", n(g.TalkTimer)}, {"Cursor", n(g.Cursor)}, {"AliveCount", n(g.AliveCount)}, {"PilotHp", list(g.PilotHp)},
            {"PilotMaxHp", list(g.PilotMaxHp)}, {"PilotShort", list(g.PilotShort)}, {"PilotLong", list(g.PilotLong)},
            {"PilotLevel", list(g.PilotLevel)}, {"PilotMode", list(g.PilotMode)}, {"PilotPose", list(g.PilotPose)},
            {"PilotY", list(g.PilotY)}, {"PilotStep", list(g.PilotStep)}, {"PilotCharge", list(g.PilotCharge)},
            {"PilotOut", list(g.PilotOut)}, {"PilotHit", list(g.PilotHit)}, {"ClearFile", clear}, {"sounds", sounds},
            {"stops", stops ? n(stops) : ""}, {"music", music}};
}

// Fields of one line only; the others carry over until a line changes them.
bool line_scoped(const std::string& name) {
    return name == "sounds" || name == "stops" || name == "music" || name == "key" || name == "w" || name == "s";
}

// A kept picture is an overlay of what differs from the battle's first picture (the base): RGBA,
// transparent where the base shows.
bool read_picture(const std::string& path, const Surface* base, Surface& out) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) { return false; }
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) { return false; }
    out = base ? *base : Surface(int(image.width), int(image.height));
    for (std::size_t i = 0; i + 3 < rgba.size(); i += 4) {
        if (rgba[i + 3] != 0) { out.set(int(i / 4 % image.width), int(i / 4 / image.width), pixel_rgb(rgba[i], rgba[i + 1], rgba[i + 2])); }
    }
    return true;
}

void write_picture(const std::string& path, const Surface& s, const Surface* base) {
    std::vector<std::uint8_t> rgba;
    for (std::size_t i = 0; i < s.pixels().size(); ++i) {
        const bool shown = !base || base->pixels()[i] != s.pixels()[i];
        const std::uint32_t v = shown ? s.pixels()[i] | 0xFF000000u : 0;
        rgba.insert(rgba.end(), {std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v), std::uint8_t(v >> 24)});
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(s.width());
    image.height = png_uint_32(s.height());
    image.format = PNG_FORMAT_RGBA;
    png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr);
}

// Expected, actual and what differs (the actual pixels alone) beside the build.
std::string write_failure(const std::string& stem, const Surface& want, const Surface& got) {
    const std::string dir = SEVENCHIPS_BUILD_DIR "/golden-failures/";
    std::filesystem::create_directories(dir);
    write_png(dir + stem + "-expected.png", want);
    write_png(dir + stem + "-actual.png", got);
    write_picture(dir + stem + "-diff.png", got, &want);
    const long differ = std::inner_product(want.pixels().begin(), want.pixels().end(), got.pixels().begin(), 0L,
                                           std::plus<>(), std::not_equal_to<>());
    return std::to_string(differ) + " pixels differ; see " + dir + stem + "-{expected,actual,diff}.png";
}

}  // namespace

std::string check_golden(const Scenario& sc) {
    const bool update = std::getenv("SEVENCHIPS_GOLDEN_UPDATE") != nullptr;
    if (shared_fonts() == nullptr || shared_fonts()->font_path() != SEVENCHIPS_TEST_FONT) {
        return "the golden pictures are drawn with " SEVENCHIPS_TEST_FONT " (install fonts-horai-umefont), not " +
               (shared_fonts() ? shared_fonts()->font_path() : std::string("no font"));
    }
    std::vector<ScriptKey> keys;
    std::string error;
    if (!parse_key_script(read_file(SEVENCHIPS_SOURCE_DIR "/" + sc.keys), keys, error) || keys.empty()) {
        return "cannot read the key script " + sc.keys + " " + error;
    }
    std::vector<std::string> expected, made;  // the golden file's lines but its comments, and this run's
    std::ifstream in(kGolden + sc.name + ".txt");
    for (std::string text; std::getline(in, text);) {
        if (!text.empty() && text[0] != '#') { expected.push_back(text); }
    }
    if (!update && expected.empty()) { return "no golden file tests/golden/" + sc.name + ".txt (./dev golden makes it)"; }

    TempDir app, data;
    if (sc.music) { app.write("bg/bg1.mid", "MThd"); }
    app.write("se/.keep", "");
    FramePlatform platform;
    platform.preference_override = data.path();
    Game g(platform);
    g.fonts = shared_fonts();
    g.seed_from_clock = false;
    g.seed_value = sc.seed;
    g.app_dir_override = app.path();
    ReplaySession session(g, platform, keys, sc.ticks);
    std::ostringstream out;  // the golden file's comments, then the lines this run makes
    out << "# Seed " << sc.seed << ", keys " << sc.keys << ", at most " << sc.ticks << " ticks; remade by ./dev golden.\n# A line per "
        << (sc.stride == 1 ? "event" : "key and every " + std::to_string(sc.stride) + "th tick")
        << ": the fields that changed, the window pictures shown meanwhile (w),\n# Display(1) and Display(2) after it (d1, d2)"
        << (sc.stride == 1 ? "" : ", the fields of the events in between (s)") << ".\n";
    std::map<std::string, std::string> got;  // the fields as the lines so far leave them
    std::size_t sounds_seen = 0, music_seen = 0;
    int stops_seen = 0;
    std::uint32_t last_ms = platform.now_ms();
    std::uint64_t between = 0;
    std::string failure;  // of the pictures
    Surface base;
    const std::string base_path = kGolden + "start-seed" + std::to_string(sc.seed) + ".png";
    const bool have_base = !update && read_picture(base_path, nullptr, base);
    session.run([&](const std::string& event, int key) {
        const long tick = session.ticks();
        std::string sounds, music;
        const auto& started = platform.recorded_waves().started;
        for (; sounds_seen < started.size(); ++sounds_seen) { sounds += (sounds.empty() ? "" : ",") + started[sounds_seen].substr(started[sounds_seen].rfind("se") + 2); }
        const auto& cmds = platform.recorded_music().commands;
        for (; music_seen < cmds.size(); ++music_seen) { music += (music.empty() ? "" : ",") + cmds[music_seen]; }
        auto fields = state_of(g, long(platform.now_ms() - last_ms), sounds, platform.recorded_waves().stops - stops_seen, music);
        stops_seen = platform.recorded_waves().stops;
        last_ms = platform.now_ms();
        const bool kept = event == "start" || event == "end" || (event == "tick" && std::count(sc.pictures.begin(), sc.pictures.end(), tick));
        const bool has_line = kept || event == "key" || tick % sc.stride == 0 || g.Timer2.Interval == 0;
        if (!has_line) {
            for (const auto& [name, value] : fields) { between = hash_text(name + "=" + value, between); }
            return;
        }
        if (key >= 0) { fields.emplace_back("key", std::to_string(key)); }
        fields.emplace_back("w", hex(platform.frames));
        fields.emplace_back("d1", hex(hash_pixels(g.Display[1], 1)));
        fields.emplace_back("d2", hex(hash_pixels(g.Display[2], 2)));
        if (between != 0) { fields.emplace_back("s", hex(between)); }
        platform.frames = between = 0;
        // The line: what changed since the line before, and what belongs to this line alone.
        const std::string head = event + " " + std::to_string(tick);
        std::string line = head;
        std::erase_if(got, [](const auto& f) { return line_scoped(f.first); });
        for (const auto& [name, value] : fields) {
            const auto was = got.find(name);
            if (line_scoped(name) ? !value.empty() : was == got.end() || was->second != value) { line += " " + name + "=" + value; }
            got[name] = value;
        }
        made.push_back(line);
        const Surface window = compose_window(g.Display[0], g.ScreenLeft, g.ScreenTop);
        const std::string stem = sc.name + "-" + (event == "tick" ? "t" + std::to_string(tick) : event);
        const std::string picture = event == "start" ? base_path : kGolden + stem + ".png";
        if (update) {
            if (event == "start") { base = window; }
            if (kept) { write_picture(picture, window, event == "start" ? nullptr : &base); }
            return;
        }
        Surface expected_window;
        if (!kept || !have_base || !failure.empty()) { return; }
        if (!read_picture(picture, event == "start" ? nullptr : &base, expected_window)) {
            failure = "no kept picture tests/golden/" + stem + ".png";
        } else if (expected_window.pixels() != window.pixels()) {
            failure = "the window picture at " + head + ": " + write_failure(stem, expected_window, window);
        }
    });
    if (update) {
        for (const std::string& line : made) { out << line << "\n"; }
        std::ofstream(kGolden + sc.name + ".txt") << out.str();
        return "";
    }
    // The first line that differs: the same lines from the same start mean the same states.
    const auto [w, m] = std::mismatch(expected.begin(), expected.end(), made.begin(), made.end());
    if (w != expected.end() || m != made.end()) {
        failure = "the first line that differs (at a stride, or an event since the line before):\n  expected " +
                  (w != expected.end() ? *w : "the file's end") + "\n  got      " + (m != made.end() ? *m : "the run's end") +
                  (failure.empty() ? "" : "\n" + failure);
    }
    return failure;
}

}  // namespace sc::testing
