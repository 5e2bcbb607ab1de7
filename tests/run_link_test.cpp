// A run as a link: its format (read back here by our own base64url and zlib's inflate), the
// forms a link is given in, every way a link goes wrong, the programs that take links, and
// what a run reached as the summary finds it by replaying.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "platform/headless/replay.hpp"
#include "platform/headless/run_summary.hpp"
#include "runs/game_runs.hpp"
#include "runs/key_script.hpp"
#include "runs/run_link.hpp"
#include "shell/app_dir.hpp"
#include "support/headless_game.hpp"

namespace sc {
namespace {

const std::string kWinKeys = std::string(SEVENCHIPS_SOURCE_DIR) + "/demo/win.keys";
const std::string kSleepKeys = std::string(SEVENCHIPS_SOURCE_DIR) + "/demo/all-sleep.keys";

KeyScript read_script(const std::string& path) {
    KeyScript script;
    std::string error;
    EXPECT_TRUE(read_key_script(path, script, error)) << error;
    return script;
}

std::vector<std::pair<long, int>> keys_of(const KeyScript& s) {
    std::vector<std::pair<long, int>> out;
    for (const auto& k : s.keys) { out.emplace_back(k.tick, k.code); }
    return out;
}

// The link's own pieces, made here independently of the codec.
std::string to_base64url(const std::string& bytes) {
    static const char a[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        std::uint32_t v = std::uint32_t(static_cast<unsigned char>(bytes[i])) << 16;
        if (i + 1 < bytes.size()) { v |= std::uint32_t(static_cast<unsigned char>(bytes[i + 1])) << 8; }
        if (i + 2 < bytes.size()) { v |= static_cast<unsigned char>(bytes[i + 2]); }
        const std::size_t chars = std::min<std::size_t>(4, (bytes.size() - i) * 4 / 3 + 1);
        for (std::size_t c = 0; c < chars; ++c) { out += a[(v >> (18 - 6 * c)) & 63]; }
    }
    return out;
}

std::string from_base64url(const std::string& text) {
    static const std::string a = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
    std::string out;
    std::uint32_t bits = 0;
    int held = 0;
    for (const char c : text) {
        bits = (bits << 6) | std::uint32_t(a.find(c));
        held += 6;
        if (held >= 8) {
            held -= 8;
            out += char((bits >> held) & 0xff);
        }
    }
    return out;
}

std::string raw_deflate(const std::string& text) {
    z_stream zs{};
    deflateInit2(&zs, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&zs, uLong(text.size())), '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    zs.avail_in = uInt(text.size());
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = uInt(out.size());
    EXPECT_EQ(deflate(&zs, Z_FINISH), Z_STREAM_END);
    out.resize(out.size() - zs.avail_out);
    deflateEnd(&zs);
    return out;
}

std::string raw_inflate(const std::string& bytes, std::size_t& used) {
    z_stream zs{};
    inflateInit2(&zs, -15);
    std::string out(1 << 20, '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    zs.avail_in = uInt(bytes.size());
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = uInt(out.size());
    EXPECT_EQ(inflate(&zs, Z_FINISH), Z_STREAM_END);
    out.resize(out.size() - zs.avail_out);
    used = bytes.size() - zs.avail_in;
    inflateEnd(&zs);
    return out;
}

std::string crc_le(const std::string& text) {
    const uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(text.data()), uInt(text.size()));
    return {char(crc & 0xff), char((crc >> 8) & 0xff), char((crc >> 16) & 0xff), char((crc >> 24) & 0xff)};
}

// A link of the given bytes, and one of a text with its CRC as the format has it.
std::string link_of_bytes(const std::string& bytes) { return "#run=1." + to_base64url(bytes); }
std::string link_of_text(const std::string& text) { return link_of_bytes(raw_deflate(text) + crc_le(text)); }

TEST(RunLinkTest, WinKeysMakeAShortLinkOfTheCanonicalTextThatReadsBackTheSame) {
    const KeyScript win = read_script(kWinKeys);
    const std::string link = run_link(win);
    std::cout << "the link of demo/win.keys: " << link.size() << " characters\n";
    EXPECT_LE(link.size(), 2000u);
    ASSERT_EQ(link.rfind("#run=1.", 0), 0u) << link;
    const std::string data = link.substr(7);
    EXPECT_EQ(data.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_"), std::string::npos);

    // Read back by hand: raw deflate of the canonical text, then its CRC-32, little-endian.
    const std::string bytes = from_base64url(data);
    std::size_t used = 0;
    const std::string text = raw_inflate(bytes, used);
    EXPECT_EQ(text.substr(0, 20), "0 Left\n0 Up\n0 Right\n");
    EXPECT_EQ(text.find('#'), std::string::npos) << "no comments";
    EXPECT_EQ(text, canonical_key_script(win));
    EXPECT_EQ(bytes.substr(used), crc_le(text));

    KeyScript back;
    std::string error;
    ASSERT_TRUE(decode_run_link(link, back, error)) << error;
    EXPECT_EQ(back.seed, win.seed);
    EXPECT_EQ(keys_of(back), keys_of(win));
    EXPECT_EQ(back.keys.size(), 245u);
    KeyScript seeded = win;
    seeded.seed = 18446744073709551615ULL;
    ASSERT_TRUE(decode_run_link(run_link(seeded), back, error)) << error;
    EXPECT_EQ(back.seed, 18446744073709551615ULL);
    EXPECT_EQ(canonical_key_script(back).substr(0, 28), "seed 18446744073709551615\n0 ");

    // Keys out of tick order, codes without a name, no seed: kept as they are.
    KeyScript odd;
    ASSERT_TRUE(parse_key_script("9 Up\n2 200\n2 Click\n", odd, error)) << error;
    ASSERT_TRUE(decode_run_link(run_link(odd), back = {}, error)) << error;
    EXPECT_FALSE(back.seed.has_value());
    EXPECT_EQ(keys_of(back), keys_of(odd));
    EXPECT_EQ(canonical_key_script(odd), "9 Up\n2 200\n2 Click\n");
    ASSERT_TRUE(decode_run_link(run_link(KeyScript{}), back, error)) << error;
    EXPECT_TRUE(back.keys.empty());
}

TEST(RunLinkTest, ALinkIsReadFromAnAddressItsFragmentOrRunAndFromAFile) {
    KeyScript script;
    std::string error;
    ASSERT_TRUE(parse_key_script("seed 42\n0 Right\n7 Up\n", script, error));
    const std::string fragment = run_link(script);
    const std::string forms[] = {
        "https://sevenchips.example.org/play/index.html?lang=en" + fragment,
        fragment,
        fragment.substr(1),
        " \n\t" + fragment + "\r\n\n",
    };
    for (const std::string& form : forms) {
        KeyScript got;
        EXPECT_TRUE(decode_run_link(form, got, error)) << form << ": " << error;
        EXPECT_EQ(got.seed, 42u) << form;
        EXPECT_EQ(keys_of(got), keys_of(script)) << form;
        EXPECT_TRUE(looks_like_run_link(form)) << form;
    }

    testing::TempDir dir;
    dir.write("address.txt", forms[0] + "\n");
    dir.write("fragment", "\n  " + fragment + "\n");
    dir.write("plain.keys", "#run=7 is this file's first word, after a comment mark\n3 Left\n");
    for (const std::string& source : {dir.path() + "address.txt", dir.path() + "fragment", forms[0], fragment.substr(1)}) {
        KeyScript got;
        ASSERT_TRUE(read_recording(source, got, error)) << source << ": " << error;
        EXPECT_EQ(keys_of(got), keys_of(script)) << source;
    }
    // A file's name is read as a file even when it looks like a link.
    dir.write("run=1.x", "5 Down\n");
    KeyScript got;
    ASSERT_TRUE(read_recording(dir.path() + "run=1.x", got, error)) << error;
    EXPECT_EQ(keys_of(got), (std::vector<std::pair<long, int>>{{5, 40}}));
    // A key script whose first line is a comment that names a link is still a key script...
    dir.write("noted.keys", "# shared as https://example.org/#run=1.abc\n4 Up\n");
    ASSERT_TRUE(read_recording(dir.path() + "noted.keys", got = {}, error));
    EXPECT_EQ(keys_of(got), (std::vector<std::pair<long, int>>{{4, 38}}));
    // ...but one whose first line is a link is read as the link, and says so when it is bad.
    EXPECT_FALSE(read_recording(dir.path() + "plain.keys", got, error));
    EXPECT_EQ(error, dir.path() + "plain.keys: the link's format '7 is this file's...' is not one this version reads");
    EXPECT_FALSE(read_recording(dir.path() + "missing.keys", got, error));
    EXPECT_EQ(error, "cannot read key script " + dir.path() + "missing.keys");
    dir.write("bad.keys", "1 Jump\n");
    EXPECT_FALSE(read_recording(dir.path() + "bad.keys", got, error));
    EXPECT_EQ(error, dir.path() + "bad.keys: line 1: 'Jump' is not a key (Left, Right, Up, Down, Enter, Escape, Click or a code 1..255)");
}

TEST(RunLinkTest, EachBadLinkIsOneLineSayingWhatIsWrong) {
    const std::string good = link_of_text("seed 3\n0 Up\n40 Down\n");
    // Characters added until the last is one too many for a whole byte.
    std::string dangling = good + "A";
    while ((dangling.size() - 7) % 4 != 1) { dangling += "A"; }
    const std::string packed = raw_deflate("seed 3\n0 Up\n40 Down\n");
    const std::string crc = crc_le("seed 3\n0 Up\n40 Down\n");
    std::string flipped_crc = crc;
    flipped_crc[2] = char(flipped_crc[2] ^ 0x10);
    // A bomb: 8 MB of keys deflated to a few KB, its check right.
    std::string bomb_text;
    for (int i = 0; i < 8 * 1024 * 1024 / 7; ++i) { bomb_text += "0 Left\n"; }
    const std::string bomb = link_of_text(bomb_text);
    ASSERT_LT(bomb.size(), kLinkMaxChars);
    const struct { std::string link; const char* says; } cases[] = {
        {"", "not a link to a run: it holds no '#run='"},
        {"https://sevenchips.example.org/play/index.html?lang=en#play", "not a link to a run: it holds no '#run='"},
        {"0 Left\n3 Up\n", "not a link to a run"},
        {"#run=", "the link is cut short: it ends before its recording"},
        {"run=1", "the link is cut short: it ends before its recording"},
        {"#run=1.", "the link is cut short: its recording ends early"},
        {link_of_bytes(packed.substr(0, packed.size() / 2)), "the link is cut short: its recording ends early"},
        {link_of_bytes(packed), "the link is cut short: its check is missing"},
        {link_of_bytes(packed + crc.substr(0, 3)), "the link is cut short: its check is missing"},
        {dangling, "the link is cut short: a stray character at its end"},
        {link_of_bytes(packed + crc + "x"), "the link is damaged: 1 stray byte after its check"},
        {link_of_bytes(packed + crc + "xyz"), "the link is damaged: 3 stray bytes after its check"},
        {good.substr(0, 20) + "+" + good.substr(21), "the link is damaged: '+' at its character 21 is not a link's character"},
        {good.substr(0, 20) + "\n" + good.substr(20), "the link is damaged: a line break at its character 21"},
        {good + "==", "the link is damaged: '=' at its character"},
        {link_of_bytes(std::string("\xff\xff\xff\xff\x01\x02\x03\x04", 8)), "the link is damaged: its recording does not inflate (invalid block type)"},
        {link_of_bytes(packed + flipped_crc), "the link is damaged: its check does not match its recording"},
        {"#run=2." + good.substr(7), "the link's format '2' is not one this version reads"},
        {"run=10.abc", "the link's format '10' is not one this version reads"},
        {"#run=x", "the link's format 'x' is not one this version reads"},
        {link_of_text("0 Left\n7 Jump\n"), "the link's key script is bad: line 2: 'Jump' is not a key"},
        {link_of_text("seed 1\nseed 2\n"), "the link's key script is bad: line 2: a second seed line"},
        {bomb, "the link's recording is larger than 1 MiB, far more than a game's"},
        {"#run=1." + std::string(kLinkMaxChars, 'A'), "the link is too long: 65543 characters, at most 65536"},
    };
    for (const auto& c : cases) {
        KeyScript script;
        script.seed = 9;
        script.keys = {ScriptKey{5, 38, 1}};
        std::string error;
        EXPECT_FALSE(decode_run_link(c.link, script, error)) << c.link.substr(0, 80);
        EXPECT_EQ(error.rfind(c.says, 0), 0u) << "for " << c.link.substr(0, 80) << "\n  said: " << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
        EXPECT_EQ(script.seed, 9u) << "a bad link leaves the script as it was";
        EXPECT_EQ(script.keys.size(), 1u);
    }
}

// The limit of what a link inflates to holds to the byte; the bomb is refused while inflating,
// before its check is looked at (a wrong check would otherwise be what it says).
TEST(RunLinkTest, ALinkInflatesToAtMostOneMebibyte) {
    std::string text;
    while (text.size() + 7 <= kLinkMaxText) { text += "0 Left\n"; }
    text.append(kLinkMaxText - text.size(), '\n');
    KeyScript script;
    std::string error;
    ASSERT_TRUE(decode_run_link(link_of_text(text), script, error)) << error;
    EXPECT_EQ(script.keys.size(), kLinkMaxText / 7);
    EXPECT_FALSE(decode_run_link(link_of_text(text + "\n"), script, error));
    EXPECT_EQ(error, "the link's recording is larger than 1 MiB, far more than a game's");
    const std::string huge(16 * 1024 * 1024, '\n');
    EXPECT_FALSE(decode_run_link(link_of_bytes(raw_deflate(huge) + std::string(4, '\0')), script, error));
    EXPECT_EQ(error, "the link's recording is larger than 1 MiB, far more than a game's");
}

TEST(RunLinkTest, TheProgramsTakeALinkAndTheReplayToolPrintsOne) {
    const std::string link = run_link(read_script(kWinKeys));
    // The window's runs: --play of a link watches the game it holds.
    GameRuns runs;
    std::string error;
    ASSERT_TRUE(runs.open({"https://example.org/?lang=en" + link, "", ""}, error)) << error;
    EXPECT_TRUE(runs.watching());
    EXPECT_EQ(runs.watched_seed(), 1u);
    GameRuns bad;
    EXPECT_FALSE(bad.open({link.substr(0, 301), "", ""}, error));
    EXPECT_EQ(error, "the link is cut short: its recording ends early");

    const auto replay = [](std::vector<const char*> args, std::string& out, std::string& err) {
        args.insert(args.begin(), "sevenchips-replay");
        ReplayOptions o;
        std::string e;
        if (!parse_replay_args(int(args.size()), args.data(), o, e)) {
            err = e;
            return -1;
        }
        std::ostringstream o_out, o_err;
        const int status = run_replay(o, o_out, o_err);
        out = o_out.str();
        err = o_err.str();
        return status;
    };
    std::string out, err;
    EXPECT_EQ(replay({"--keys", kWinKeys.c_str(), "--link"}, out, err), 0) << err;
    EXPECT_EQ(out, link + "\n");
    EXPECT_EQ(err, "");
    // The script names no seed, nor does its link; --seed goes into the link, as it wins over
    // the script's in a replay.
    EXPECT_EQ(replay({"--keys", link.c_str(), "--seed", "77", "--link"}, out, err), 0) << err;
    KeyScript seeded;
    ASSERT_TRUE(decode_run_link(out, seeded, error)) << error;
    EXPECT_EQ(seeded.seed, 77u);
    EXPECT_EQ(replay({"--keys", link.c_str(), "--summary"}, out, err), 0) << err;
    EXPECT_EQ(out, "{\"seed\":1,\"ticks\":3377,\"ms\":359299,\"defeated\":8,\"outcome\":\"won\"}\n");
    EXPECT_EQ(replay({"--keys", link.substr(0, 301).c_str(), "--summary"}, out, err), 2);
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "sevenchips-replay: the link is cut short: its recording ends early\n");
    EXPECT_EQ(replay({"--link"}, out, err), -1);
    EXPECT_EQ(err, "--link needs --keys");
    EXPECT_EQ(replay({"--keys", link.c_str(), "--summary", "--trace", "-"}, out, err), -1);
    EXPECT_EQ(err, "--summary prints instead of replaying: leave out --trace and --shot");
}

// The trace of a replay, and its lines' events and ms.
struct Traced {
    std::vector<std::string> lines;
    std::string last_of(const std::string& field) const {
        const std::string& l = lines.at(lines.size() - 2);  // the last event before "end"
        const auto at = l.find("\"" + field + "\":");
        return l.substr(at + field.size() + 3, l.find(',', at) - at - field.size() - 3);
    }
};
Traced trace_of(const std::string& keys_file, long max_ticks = 20000) {
    testing::TempDir dir;
    dir.write("app/se/.keep", "");
    ReplayOptions o;
    o.keys_file = keys_file;
    o.app_dir = dir.path() + "app";
    o.data_dir = dir.path() + "data";
    o.trace_file = "-";
    o.max_ticks = max_ticks;
    std::ostringstream out, err;
    EXPECT_EQ(run_replay(o, out, err), 0) << err.str();
    Traced t;
    std::istringstream in(out.str());
    for (std::string l; std::getline(in, l);) { t.lines.push_back(l); }
    return t;
}

// What a run reached, as the summary finds it with no text drawn, agrees with the replay
// tool's trace drawn with the font: the rules never look at a picture.
TEST(RunSummaryTest, WonLostAndLeftAsTheTraceHasThem) {
    testing::TempDir dir;
    const RunSummary won = summarize_run(read_script(kWinKeys));
    EXPECT_EQ(summary_json(won), "{\"seed\":1,\"ticks\":3377,\"ms\":359299,\"defeated\":8,\"outcome\":\"won\"}");
    const Traced win_trace = trace_of(kWinKeys);
    const auto decided = std::find_if(win_trace.lines.begin(), win_trace.lines.end(),
                                      [](const std::string& l) { return l.find("\"GameMode\":2") != std::string::npos; });
    ASSERT_NE(decided, win_trace.lines.end());
    EXPECT_EQ(decided->substr(0, 40), "{\"event\":\"tick\",\"tick\":3377,\"ms\":359299,");

    // A game over, recorded as the window does: the Enter that leaves comes at the last tick.
    dir.write("lost.keys", testing::read_file(kSleepKeys) + "1701 Enter\n");
    const RunSummary lost = summarize_run(read_script(dir.path() + "lost.keys"));
    EXPECT_EQ(summary_json(lost), "{\"seed\":1,\"ticks\":1701,\"ms\":187649,\"defeated\":0,\"outcome\":\"lost\"}");
    EXPECT_EQ(trace_of(dir.path() + "lost.keys").last_of("ms"), "187649");

    // Escape in the second battle, with the seed the script names.
    dir.write("left.keys", "seed 4\n0 Right\n5 Up\n300 Escape\n");
    const RunSummary left = summarize_run(read_script(dir.path() + "left.keys"));
    EXPECT_EQ(left.outcome, "left");
    EXPECT_EQ(left.seed, 4u);
    EXPECT_EQ(left.ticks, 300);
    EXPECT_EQ(left.defeated, 1);
    const Traced left_trace = trace_of(dir.path() + "left.keys");
    EXPECT_EQ(left_trace.last_of("event"), "\"key\"");
    EXPECT_EQ(std::to_string(left.ms), left_trace.last_of("ms"));
    EXPECT_EQ(left_trace.last_of("EnemyNo"), "1");

    // Keys that run out with the battle going on: the run stops at its last key, though
    // these sleepers would lose by themselves at tick 1701.
    const RunSummary stopped = summarize_run(read_script(kSleepKeys));
    EXPECT_EQ(summary_json(stopped), "{\"seed\":1,\"ticks\":20,\"ms\":4419,\"defeated\":0,\"outcome\":\"left\"}");
    EXPECT_EQ(trace_of(kSleepKeys, 20).last_of("ms"), "4419");
    // No keys: left at the battle's start; and a limit of ticks is a run left undecided.
    EXPECT_EQ(summary_json(summarize_run(KeyScript{})), "{\"seed\":1,\"ticks\":0,\"ms\":2419,\"defeated\":0,\"outcome\":\"left\"}");
    const RunSummary cut = summarize_run(read_script(dir.path() + "lost.keys"), 100);
    EXPECT_EQ(cut.outcome, "left");
    EXPECT_EQ(cut.ticks, 100);
}

// A replay that only looks leaves no clear file, where the game would otherwise put one.
TEST(RunSummaryTest, WinningLeavesNoClearFile) {
    testing::TempDir home;
    const char* old = std::getenv("XDG_DATA_HOME");
    const std::string kept = old != nullptr ? old : "";
    ::setenv("XDG_DATA_HOME", (home.path() + "data").c_str(), 1);
    const RunSummary won = summarize_run(read_script(kWinKeys));
    old != nullptr ? ::setenv("XDG_DATA_HOME", kept.c_str(), 1) : ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(won.outcome, "won");
    std::error_code ec;
    EXPECT_FALSE(std::filesystem::exists(home.path() + "data/sevenchips/da.txt", ec));
    EXPECT_FALSE(std::filesystem::exists(find_app_dir() + "se/da.txt", ec));
}

}  // namespace
}  // namespace sc
