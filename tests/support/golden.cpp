#include "support/golden.hpp"

#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "core/window_picture.hpp"
#include "platform/headless/key_script.hpp"
#include "platform/headless/png_writer.hpp"
#include "platform/headless/replay.hpp"
#include "support/headless_game.hpp"

namespace sc::testing {

namespace {

namespace fs = std::filesystem;
using Fields = std::vector<std::pair<std::string, std::string>>;

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
class FramePlatform : public HeadlessPlatform {
public:
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

std::string escaped(const std::string& s) {
    std::string out;
    for (char c : s) { out += c == '\r' ? "\\r" : c == '\n' ? "\\n" : c == ' ' ? "_" : std::string(1, c); }
    return out;
}

// The game's fields as the golden files show them. PilotBob is left to the pictures (it flips
// every tick); sounds, stops and music are what happened during the event.
Fields state_fields(const Game& g, long dt, const std::vector<int>& sounds, int stops, const std::vector<std::string>& music) {
    std::string cmds;
    for (const auto& m : music) { cmds += (cmds.empty() ? "" : ",") + m; }
    std::string clear;
    if (!g.ClearFileWritten.empty()) {
        std::ifstream in(g.ClearFileWritten, std::ios::binary);
        clear = escaped(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    }
    return {{"dt", std::to_string(dt)}, {"GameMode", std::to_string(g.GameMode)}, {"QuitStage", std::to_string(g.QuitStage)},
            {"ended", std::to_string(g.ended)},
            {"Timers", list(std::vector<int>{g.Timer1.Interval, g.Timer2.Interval, g.Timer3.Interval, g.Timer4.Interval})},
            {"EnemyNo", std::to_string(g.EnemyNo)}, {"EnemyName", escaped(g.EnemyName)},
            {"EnemyHp", std::to_string(g.EnemyHp)}, {"EnemyMaxHp", std::to_string(g.EnemyMaxHp)},
            {"EnemyAttack", std::to_string(g.EnemyAttack)}, {"EnemySpeed", std::to_string(g.EnemySpeed)},
            {"EnemyKind", std::to_string(g.EnemyKind)}, {"EnemyGauge", std::to_string(g.EnemyGauge)},
            {"DamageRate", std::to_string(g.DamageRate)}, {"HealChance", std::to_string(g.HealChance)},
            {"TalkTimer", std::to_string(g.TalkTimer)}, {"Cursor", std::to_string(g.Cursor)},
            {"AliveCount", std::to_string(g.AliveCount)}, {"PilotHp", list(g.PilotHp)}, {"PilotMaxHp", list(g.PilotMaxHp)},
            {"PilotShort", list(g.PilotShort)}, {"PilotLong", list(g.PilotLong)}, {"PilotLevel", list(g.PilotLevel)},
            {"PilotMode", list(g.PilotMode)}, {"PilotPose", list(g.PilotPose)}, {"PilotY", list(g.PilotY)},
            {"PilotStep", list(g.PilotStep)}, {"PilotCharge", list(g.PilotCharge)}, {"PilotOut", list(g.PilotOut)},
            {"PilotHit", list(g.PilotHit)}, {"ClearFile", clear},
            {"sounds", list(sounds)}, {"stops", stops ? std::to_string(stops) : ""}, {"music", cmds}};
}

// Fields that belong to one line only; the others carry over until a line changes them.
bool line_scoped(const std::string& name) {
    return name == "sounds" || name == "stops" || name == "music" || name == "key" || name == "w" || name == "s";
}

struct Line {
    std::string head;  // "tick 141"
    std::map<std::string, std::string> fields;
};

std::vector<Line> read_lines(const std::string& path) {
    std::vector<Line> lines;
    std::ifstream in(path);
    for (std::string text; std::getline(in, text);) {
        if (text.empty() || text[0] == '#') { continue; }
        std::istringstream words(text);
        std::string event, tick, word;
        words >> event >> tick;
        Line l{event + " " + tick, {}};
        while (words >> word) {
            const auto eq = word.find('=');
            l.fields[word.substr(0, eq)] = eq == std::string::npos ? "" : word.substr(eq + 1);
        }
        lines.push_back(std::move(l));
    }
    return lines;
}

bool read_rgba(const std::string& path, int& w, int& h, std::vector<std::uint8_t>& rgba) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) { return false; }
    image.format = PNG_FORMAT_RGBA;
    w = int(image.width);
    h = int(image.height);
    rgba.assign(PNG_IMAGE_SIZE(image), 0);
    return png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr) != 0;
}

bool write_rgba(const std::string& path, int w, int h, const std::vector<std::uint8_t>& rgba) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(w);
    image.height = png_uint_32(h);
    image.format = PNG_FORMAT_RGBA;
    const int ok = png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr);
    png_image_free(&image);
    return ok != 0;
}

// A kept picture: the base (the battle's first picture) with an overlay of what differs from it.
bool read_picture(const std::string& path, const Surface* base, Surface& out) {
    int w = 0, h = 0;
    std::vector<std::uint8_t> rgba;
    if (!read_rgba(path, w, h, rgba)) { return false; }
    out = base ? *base : Surface(w, h);
    for (int i = 0; i < w * h && i < out.width() * out.height(); ++i) {
        const std::uint8_t* p = &rgba[std::size_t(i) * 4];
        if (p[3] != 0) { out.set(i % w, i / w, pixel_rgb(p[0], p[1], p[2])); }
    }
    return true;
}

bool write_picture(const std::string& path, const Surface& s, const Surface* base) {
    std::vector<std::uint8_t> rgba(std::size_t(s.width()) * std::size_t(s.height()) * 4, 0);
    for (int y = 0; y < s.height(); ++y) {
        for (int x = 0; x < s.width(); ++x) {
            const std::uint32_t v = s.at(x, y);
            if (base && base->at(x, y) == v) { continue; }
            std::uint8_t* p = &rgba[(std::size_t(y) * std::size_t(s.width()) + std::size_t(x)) * 4];
            p[0] = std::uint8_t(v >> 16), p[1] = std::uint8_t(v >> 8), p[2] = std::uint8_t(v), p[3] = 255;
        }
    }
    return write_rgba(path, s.width(), s.height(), rgba);
}

// Expected, actual and their difference (red where they differ) beside the build.
std::string write_failure(const std::string& stem, const Surface& want, const Surface& got) {
    const std::string dir = SEVENCHIPS_BUILD_DIR "/golden-failures/";
    fs::create_directories(dir);
    Surface diff = want;
    int differ = 0;
    for (int y = 0; y < diff.height(); ++y) {
        for (int x = 0; x < diff.width(); ++x) {
            const bool same = want.at(x, y) == got.at(x, y);
            differ += !same;
            diff.set(x, y, same ? (want.at(x, y) >> 2) & 0x3F3F3Fu : 0xFF0000u);
        }
    }
    write_png(dir + stem + "-expected.png", want);
    write_png(dir + stem + "-actual.png", got);
    write_png(dir + stem + "-diff.png", diff);
    return std::to_string(differ) + " pixels differ; see " + dir + stem + "-{expected,actual,diff}.png";
}

}  // namespace

std::string check_golden(const Scenario& sc) {
    const bool update = std::getenv("SEVENCHIPS_GOLDEN_UPDATE") != nullptr;
    const std::string text_path = kGolden + sc.name + ".txt";
    const std::string base_path = kGolden + "start-seed" + std::to_string(sc.seed) + ".png";
    std::vector<ScriptKey> keys;
    std::string error;
    std::ifstream script(std::string(SEVENCHIPS_SOURCE_DIR "/") + sc.keys);
    if (!parse_key_script(std::string(std::istreambuf_iterator<char>(script), std::istreambuf_iterator<char>()), keys,
                          error) || keys.empty()) {
        return "cannot read the key script " + sc.keys + " " + error;
    }
    const char* pinned = std::getenv("SEVENCHIPS_FONT");
    if (shared_fonts() == nullptr || pinned == nullptr || shared_fonts()->font_path() != pinned) {
        return "the golden pictures are drawn with the font SEVENCHIPS_FONT names (tests/CMakeLists.txt): run through ctest";
    }
    const std::vector<Line> expected = update ? std::vector<Line>{} : read_lines(text_path);
    if (!update && expected.empty()) { return "no golden file " + text_path + " (make it with ./dev golden)"; }

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

    std::ostringstream out;  // the golden file as this run makes it
    out << "# Seed " << sc.seed << ", keys " << sc.keys << ", at most " << sc.ticks << " ticks; remade by ./dev golden.\n"
        << "# A line per " << (sc.stride == 1 ? "event" : "key and every " + std::to_string(sc.stride) + "th tick")
        << ": the fields that changed, the window pictures shown meanwhile (w),\n# Display(1) and Display(2) after it (d1, d2)"
        << (sc.stride == 1 ? "" : ", the fields of the events in between (s)") << ".\n";
    std::map<std::string, std::string> got_state, want_state;
    std::size_t next = 0, sounds_seen = 0, music_seen = 0;
    int stops_seen = 0;
    std::uint32_t last_ms = platform.now_ms();
    std::uint64_t between = 0, d2_generation = ~0ULL, d2_hash = 0;
    std::string failure, first_head;
    bool done = false;
    Surface base;
    const bool have_base = !update && read_picture(base_path, nullptr, base);

    session.run([&](const std::string& event, int key) {
        if (done) { return; }
        const long tick = session.ticks();
        std::vector<int> sounds;
        const auto& started = platform.recorded_waves().started;
        for (; sounds_seen < started.size(); ++sounds_seen) {
            sounds.push_back(std::atoi(started[sounds_seen].c_str() + started[sounds_seen].rfind("se") + 2));
        }
        const auto& cmds = platform.recorded_music().commands;
        const std::vector<std::string> music(cmds.begin() + long(music_seen), cmds.end());
        music_seen = cmds.size();
        const int stops = platform.recorded_waves().stops - stops_seen;
        stops_seen = platform.recorded_waves().stops;
        Fields fields = state_fields(g, long(platform.now_ms() - last_ms), sounds, stops, music);
        last_ms = platform.now_ms();
        const bool kept = event == "start" || (event == "tick" && std::count(sc.pictures.begin(), sc.pictures.end(), tick));
        const bool line = kept || event != "tick" || tick % sc.stride == 0 || g.Timer2.Interval == 0;
        if (!line) {
            for (const auto& [name, value] : fields) { between = hash_text(name + "=" + value, between); }
            return;
        }
        if (g.Display[2].generation() != d2_generation) {
            d2_generation = g.Display[2].generation();
            d2_hash = hash_pixels(g.Display[2], 2);
        }
        if (key >= 0) { fields.emplace_back("key", std::to_string(key)); }
        fields.emplace_back("w", hex(platform.frames));
        fields.emplace_back("d1", hex(hash_pixels(g.Display[1], 1)));
        fields.emplace_back("d2", hex(d2_hash));
        if (between != 0) { fields.emplace_back("s", hex(between)); }
        platform.frames = between = 0;

        // The line: what changed since the line before, and what belongs to this line alone.
        const std::string head = event + " " + std::to_string(tick);
        out << head;
        std::map<std::string, std::string> now;
        for (const auto& [name, value] : got_state) {
            if (!line_scoped(name)) { now[name] = value; }
        }
        for (const auto& [name, value] : fields) {
            if (line_scoped(name) ? !value.empty() : now.count(name) == 0 || now[name] != value) {
                out << " " << name << "=" << value;
            }
            now[name] = value;
        }
        out << "\n";
        got_state = now;
        const Surface window = compose_window(g.Display[0], g.ScreenLeft, g.ScreenTop);
        const std::string stem = sc.name + "-" + (event == "start" ? std::string("start") : "t" + std::to_string(tick));
        if (update) {
            if (event == "start") {
                write_picture(base_path, window, nullptr);
                base = window;
            } else if (kept) {
                write_picture(kGolden + stem + ".png", window, &base);
            }
            return;
        }
        if (failure.empty()) {
            std::string diffs;
            if (next >= expected.size()) {
                diffs = "\n  the golden file ends before this event";
            } else {
                const Line& want = expected[next++];
                for (auto it = want_state.begin(); it != want_state.end();) {
                    it = line_scoped(it->first) ? want_state.erase(it) : std::next(it);
                }
                for (const auto& [name, value] : want.fields) { want_state[name] = value; }
                if (want.head != head) { diffs = "\n  expected the event " + want.head + " here"; }
                std::map<std::string, std::string> names = now;
                names.insert(want_state.begin(), want_state.end());
                for (const auto& [name, unused] : names) {
                    (void)unused;
                    const std::string a = now.count(name) ? now[name] : "", b = want_state.count(name) ? want_state[name] : "";
                    static const std::map<std::string, std::string> said = {
                        {"w", "the window pictures shown (w)"}, {"d1", "Display(1) (d1)"}, {"d2", "Display(2) (d2)"},
                        {"s", "the fields of the events since the line before (s)"}};
                    if (a != b) { diffs += "\n  " + (said.count(name) ? said.at(name) : name) + ": expected " + b + ", got " + a; }
                }
            }
            if (!diffs.empty()) {
                failure = head + (sc.stride > 1 ? " (or an event since the line before)" : "") + ":" + diffs;
                first_head = head;
            }
        }
        if (kept && have_base) {
            Surface want;
            const bool read = event == "start" ? (want = base, true) : read_picture(kGolden + stem + ".png", &base, want);
            if (!read) {
                failure += (failure.empty() ? head + ":" : "") + std::string("\n  no kept picture ") + stem + ".png";
            } else if (want.pixels() != window.pixels()) {
                failure += (failure.empty() ? head + ":" : "") + std::string("\n  the window picture at ") + head + ": " +
                           write_failure(stem, want, window);
            } else if (!failure.empty()) {
                failure += "\n  the window picture at " + head + " is as expected";
            }
            done = !failure.empty();
        }
    });
    if (update) {
        fs::create_directories(kGolden);
        std::ofstream(text_path) << out.str();
        return "";
    }
    if (failure.empty() && next != expected.size()) {
        failure = "the run ended at its event " + std::to_string(next) + ", the golden file goes on to " + expected.back().head;
    }
    if (!failure.empty() && !done) { failure += "\n  (no kept picture after " + first_head + ")"; }
    return failure;
}

}  // namespace sc::testing
