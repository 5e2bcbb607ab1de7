// A run as a link: its format (made here by our own base64url and zlib), the forms a link is
// given in, every way a link goes wrong, the programs that take links, and what a run reached
// as the summary finds it by replaying. Random garbage is the fuzzer's (fuzz/fuzz_key_script).
#include <gtest/gtest.h>
#include <stdlib.h>
#include <zlib.h>

#include <filesystem>
#include <sstream>

#include "platform/headless/replay.hpp"
#include "platform/headless/run_summary.hpp"
#include "runs/game_runs.hpp"
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

// The link's pieces, made independently of the codec: base64url without padding, raw deflate
// (zlib's stream less its 2-byte header and its Adler-32), the text's CRC-32 little-endian.
std::string link_of_bytes(const std::string& bytes) {
    static const char a[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
    std::string out = "#run=1.";
    std::uint32_t bits = 0;
    int held = 0;
    for (const unsigned char c : bytes) {
        bits = bits << 8 | c;
        for (held += 8; held >= 6; held -= 6) { out += a[(bits >> (held - 6)) & 63]; }
    }
    if (held > 0) { out += a[(bits << (6 - held)) & 63]; }
    return out;
}
std::string raw_deflate(const std::string& text) {
    uLongf size = compressBound(uLong(text.size()));
    std::string out(size, '\0');
    EXPECT_EQ(compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(text.data()),
                        uLong(text.size()), 9), Z_OK);
    return out.substr(2, size - 6);
}
std::string crc_le(const std::string& text) {
    const uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(text.data()), uInt(text.size()));
    return {char(crc), char(crc >> 8), char(crc >> 16), char(crc >> 24)};
}
std::string link_of_text(const std::string& text) { return link_of_bytes(raw_deflate(text) + crc_le(text)); }

TEST(RunLinkTest, ALinkIsTheCanonicalTextDeflatedWithItsCheckAndReadsBackTheSame) {
    const KeyScript win = read_script(kWinKeys);
    const std::string link = run_link(win);
    EXPECT_LE(link.size(), 2000u);
    EXPECT_EQ(canonical_key_script(win).substr(0, 20), "0 Left\n0 Up\n0 Right\n");
    EXPECT_EQ(link, link_of_text(canonical_key_script(win)));
    // Keys out of tick order and codes without a name are kept as they are.
    KeyScript odd, back;
    std::string error;
    ASSERT_TRUE(parse_key_script("seed 18446744073709551615\n9 Up\n2 200\n2 Click\n", odd, error)) << error;
    EXPECT_EQ(canonical_key_script(odd), "seed 18446744073709551615\n9 Up\n2 200\n2 Click\n");
    for (const KeyScript& script : {win, odd, KeyScript{}}) {
        ASSERT_TRUE(decode_run_link(run_link(script), back, error)) << error;
        EXPECT_EQ(canonical_key_script(back), canonical_key_script(script));
    }
}

TEST(RunLinkTest, ALinkIsReadFromAnAddressItsFragmentOrRunAndFromAFile) {
    const std::string fragment = link_of_text("seed 42\n0 Right\n7 Up\n");
    const std::string address = "https://sevenchips.example.org/play/index.html?lang=en" + fragment;
    testing::TempDir dir;
    dir.write("address.txt", "\n  " + address + "\n");  // the first line after blank ones
    dir.write("#run=1.x", "5 Down\n");
    dir.write("noted.keys", "# shared as https://example.org/#run=1.abc\n4 Up\n");
    dir.write("plain.keys", "#run=7 is this file's first word, after a comment mark\n3 Left\n");
    const std::string p = dir.path();
    const struct { std::string source, reads; } cases[] = {
        {address, "seed 42\n0 Right\n7 Up\n"},
        {fragment.substr(1), "seed 42\n0 Right\n7 Up\n"},
        {" \n\t" + fragment + "\r\n\n", "seed 42\n0 Right\n7 Up\n"},
        {p + "address.txt", "seed 42\n0 Right\n7 Up\n"},
        {p + "#run=1.x", "5 Down\n"},  // a file's name is read as a file even when it looks like a link
        // A key script whose first line is a comment that names a link is still a key script,
        // but one whose first line is a link is read as the link, and says so when it is bad.
        {p + "noted.keys", "4 Up\n"},
        {p + "plain.keys", p + "plain.keys: the link's format '7 is this file's...' is not one this version reads"},
        {p + "missing.keys", "cannot read key script " + p + "missing.keys"},
    };
    std::string error;
    for (const auto& c : cases) {
        KeyScript got;
        const bool read = read_recording(c.source, got, error);
        EXPECT_EQ((read ? canonical_key_script(got) : error).substr(0, c.reads.size()), c.reads) << c.source;
    }
    GameRuns runs;  // the window's: --play of a link watches the game it holds
    ASSERT_TRUE(runs.open({address, "", ""}, error)) << error;
    EXPECT_EQ(runs.watched_seed(), 42u);
}

// A link may inflate to 1 MiB to the byte; a bomb is refused while inflating, before its check
// is looked at (a wrong check would otherwise be what it says).
TEST(RunLinkTest, EachBadLinkIsOneLineSayingWhatIsWrong) {
    const std::string text = "seed 3\n0 Up\n40 Down\n", packed = raw_deflate(text), crc = crc_le(text);
    const std::string good = link_of_text(text);
    std::string most;
    while (most.size() + 7 <= kLinkMaxText) { most += "0 Left\n"; }
    most.append(kLinkMaxText - most.size(), '\n');
    KeyScript script;
    std::string error;
    ASSERT_TRUE(decode_run_link(link_of_text(most), script, error)) << error;
    EXPECT_EQ(script.keys.size(), kLinkMaxText / 7);
    const struct { std::string link, says; } cases[] = {
        {"https://sevenchips.example.org/play/index.html?lang=en#play", "not a link to a run: it holds no '#run='"},
        {"#run=", "the link is cut short: it ends before its recording"},
        {"run=1", "the link is cut short: it ends before its recording"},
        {"#run=1.", "the link is cut short: its recording ends early"},
        {link_of_bytes(packed + crc.substr(0, 3)), "the link is cut short: its check is missing"},
        {"#run=1.A", "the link is cut short: a stray character at its end"},  // one too many for a byte
        {link_of_bytes(packed + crc + "x"), "the link is damaged: 1 stray byte after its check"},
        {good.substr(0, 20) + "+" + good.substr(21), "the link is damaged: '+' at its character 21 is not a link's"},
        {good.substr(0, 20) + "\n" + good.substr(20), "the link is damaged: a line break at its character 21"},
        {link_of_bytes("\xff\xff\xff\xff"), "the link is damaged: its recording does not inflate (invalid"},
        {link_of_bytes(packed + char(crc[0] ^ 0x10) + crc.substr(1)), "the link is damaged: its check does not match"},
        {"run=10.abc", "the link's format '10' is not one this version reads"},
        {"#run=x", "the link's format 'x' is not one this version reads"},
        {link_of_text("0 Left\n7 Jump\n"), "the link's key script is bad: line 2: 'Jump' is not a key"},
        {link_of_text(most + "\n"), "the link's recording is larger than 1 MiB"},
        {link_of_bytes(raw_deflate(std::string(16 << 20, '\n')) + std::string(4, 0)), "the link's recording is larger"},
        {"#run=1." + std::string(kLinkMaxChars, 'A'), "the link is too long: 65543 characters, at most 65536"},
    };
    for (const auto& c : cases) {
        KeyScript kept{{ScriptKey{5, 38, 1}}, 9};
        EXPECT_FALSE(decode_run_link(c.link, kept, error)) << c.link.substr(0, 80);
        EXPECT_EQ(error.substr(0, c.says.size()), c.says) << "for " << c.link.substr(0, 80);
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
        EXPECT_EQ(canonical_key_script(kept), "seed 9\n5 Up\n") << "a bad link leaves the script as it was";
    }
}

TEST(RunLinkTest, TheProgramsTakeALinkAndTheReplayToolPrintsOne) {
    const auto replay = [](std::vector<const char*> args, std::string& said) {
        args.insert(args.begin(), "sevenchips-replay");
        ReplayOptions o;
        if (!parse_replay_args(int(args.size()), args.data(), o, said)) { return -1; }
        std::ostringstream out, err;
        const int status = run_replay(o, out, err);
        said = out.str() + err.str();
        return status;
    };
    // --seed goes into the link, as it wins over the script's in a replay.
    std::string said;
    EXPECT_EQ(replay({"--keys", kWinKeys.c_str(), "--seed", "77", "--link"}, said), 0) << said;
    KeyScript seeded = read_script(kWinKeys);
    seeded.seed = 77;
    EXPECT_EQ(said, run_link(seeded) + "\n");
    EXPECT_EQ(replay({"--link"}, said), -1);
    EXPECT_EQ(said, "--link needs --keys");
    EXPECT_EQ(replay({"--keys", kWinKeys.c_str(), "--summary", "--trace", "-"}, said), -1);
    EXPECT_EQ(said, "--summary prints instead of replaying: leave out --trace and --shot");
}

// What a run reached, as the summary finds it with no text drawn, agrees with the replay
// tool's trace drawn with the font (the rules never look at a picture): the trace's last event
// has the summary's tick and ms. A win summed up leaves no clear file where the game puts one.
TEST(RunSummaryTest, WonLostAndLeftAsTheTraceHasThemAndNoClearFile) {
    testing::TempDir dir;
    dir.write("app/se/.keep", "");
    // A game over, recorded as the window does: the Enter that leaves comes at the last tick.
    dir.write("lost.keys", testing::read_file(kSleepKeys) + "1701 Enter\n");
    dir.write("left.keys", "seed 4\n0 Right\n5 Up\n300 Escape\n");  // Escape in the second battle
    const char* old = std::getenv("XDG_DATA_HOME");
    const std::string kept = old != nullptr ? old : "";
    ::setenv("XDG_DATA_HOME", (dir.path() + "data").c_str(), 1);
    const struct { std::string keys, json; long ticks = kSummaryMaxTicks; } runs[] = {
        {kWinKeys, R"({"seed":1,"ticks":3377,"ms":359299,"defeated":8,"outcome":"won"})"},
        {dir.path() + "lost.keys", R"({"seed":1,"ticks":1701,"ms":187649,"defeated":0,"outcome":"lost"})"},
        {dir.path() + "left.keys", R"({"seed":4,"ticks":300,"ms":33025,"defeated":1,"outcome":"left"})"},
        // Keys that run out with the battle going on: the run stops at its last key, though
        // these sleepers would lose by themselves at tick 1701.
        {kSleepKeys, R"({"seed":1,"ticks":20,"ms":4419,"defeated":0,"outcome":"left"})"},
        // A limit of ticks is a run left undecided.
        {dir.path() + "lost.keys", R"({"seed":1,"ticks":100,"ms":12419,"defeated":0,"outcome":"left"})", 100},
    };
    for (const auto& r : runs) {
        const RunSummary s = summarize_run(read_script(r.keys), r.ticks);
        EXPECT_EQ(summary_json(s), r.json);
        const ReplayOptions o{.keys_file = r.keys, .max_ticks = s.ticks, .trace_file = "-", .shots = {},
                              .app_dir = dir.path() + "app", .data_dir = dir.path() + "replay"};
        std::ostringstream out, err;
        EXPECT_EQ(run_replay(o, out, err), 0) << err.str();
        const std::string trace = out.str().substr(0, out.str().rfind("{\"event\":\"end\""));
        const std::string last = trace.substr(trace.rfind('\n', trace.size() - 2) + 1);
        const std::string at = ",\"tick\":" + std::to_string(s.ticks) + ",\"ms\":" + std::to_string(s.ms) + ",";
        EXPECT_NE(last.find(at), std::string::npos) << r.keys << "'s trace ends " << last.substr(0, 200);
    }
    // No keys: left at the battle's start.
    EXPECT_EQ(summary_json(summarize_run({})), R"({"seed":1,"ticks":0,"ms":2419,"defeated":0,"outcome":"left"})");
    old != nullptr ? ::setenv("XDG_DATA_HOME", kept.c_str(), 1) : ::unsetenv("XDG_DATA_HOME");
    std::error_code ec;
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "data/sevenchips/da.txt", ec));
    EXPECT_FALSE(std::filesystem::exists(find_app_dir() + "se/da.txt", ec));
}

}  // namespace
}  // namespace sc
