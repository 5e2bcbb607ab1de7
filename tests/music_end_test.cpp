// Where the music's pass ends on the desktop: a MIDI file's length through its tempo map, the
// clock that counts the mixer's frames against it, and the music device saying "stopped" at
// the piece's own end rather than the synthesiser's, seconds later.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/common/midi_length.hpp"
#include "platform/common/mix_levels.hpp"
#include "platform/common/piece_clock.hpp"
#include "platform/common/sdl_audio.hpp"
#include "support/headless_game.hpp"

namespace sc {
namespace {

using namespace std::string_literals;

std::string big(std::uint32_t v, int n) {
    std::string s;
    for (int k = n - 1; k >= 0; --k) { s += char(v >> (8 * k)); }
    return s;
}

std::string track(const std::string& events) { return "MTrk" + big(std::uint32_t(events.size()), 4) + events; }

// A format 1 file of these chunks that announces `tracks` tracks.
std::string smf(int division, const std::vector<std::string>& chunks, int tracks = 1) {
    std::string file = "MThd\0\0\0\6\0\1"s + big(std::uint32_t(tracks), 2) + big(std::uint32_t(division), 2);
    for (const std::string& c : chunks) { file += c; }
    return file;
}

const std::string kEnd = "\0\xFF\x2F\0"s;

// Three tracks at 96 ticks a beat (and an unknown chunk between them), announcing `tracks`.
// The first sets 120 beats a minute, then 60 at tick 288; the second (`second`, if given) sets
// 240 at tick 192 and holds running status across a system exclusive and a text event; the
// third, the longest, has no end-of-track event and ends at tick 480. So: 2 beats of 0.5 s, 1 of
// 0.25 s, 2 of 1 s.
std::string three_tracks(std::string second = "", int division = 96, int tracks = 3) {
    if (second.empty()) {
        second = "\0\xC0\x05\0\x90\x3C\x64\x60\x3E\x64\0\xF0\x03\x7E\x7F\xF7\0\xFF\x01\x03" "abc"
                 "\x30\x3C\0\x30\xFF\x51\x03\x03\xD0\x90\x81\x40\x80\x3E\0"s + kEnd;
    }
    return smf(division, {track("\0\xFF\x51\x03\x07\xA1\x20\x82\x20\xFF\x51\x03\x0F\x42\x40"s + kEnd), track(second),
                          "Xtra\0\0\0\2??"s, track("\0\xB1\x07\x64\x83\x60\x81\x3C\0"s)}, tracks);
}

TEST(MidiLengthTest, ThePieceAndAFileOfTracksTemposAndRunningStatus) {
    EXPECT_NEAR(read_midi_file(SEVENCHIPS_SOURCE_DIR "/assets/bg/bg1.mid").seconds.value_or(0), 74.2, 0.01)
        << "the painter ends the track just after the last sound";
    EXPECT_DOUBLE_EQ(read_midi(three_tracks()).seconds.value_or(0), 3.25);
    // The longest delta, a thousand times, at the slowest tempo and one tick a beat: a long
    // piece, counted without overflow.
    std::string slow = "\0\xFF\x51\x03\xFF\xFF\xFF"s;
    for (int k = 0; k < 1000; ++k) { slow += "\xFF\xFF\xFF\x7F\xFF\x01\0"s; }
    EXPECT_DOUBLE_EQ(read_midi(smf(1, {track(slow + kEnd)})).seconds.value_or(0), 1000.0 * 0x0FFFFFFF * 0xFFFFFF / 1e6);
}

TEST(MidiLengthTest, BrokenFilesHaveNoLengthAndCutShortOnesAreNotWhole) {
    const std::string piece = testing::read_file(SEVENCHIPS_SOURCE_DIR "/assets/bg/bg1.mid");
    const struct { std::string file; bool whole; const char* what; } cases[] = {
        {three_tracks("", 0xE728), true, "SMPTE frames"},
        {three_tracks("", 0), true, "no ticks a beat"},
        {three_tracks("\0\x3C\x64"s + kEnd), true, "running status with none before"},
        {three_tracks("\0\xF1\0"s + kEnd), true, "a status no file holds"},
        {three_tracks("\0\x90\x3C"s), true, "an event cut short"},
        {three_tracks("\xFF\xFF\xFF\xFF\x7F\x90\x3C\x64"s), true, "a delta of five bytes"},
        {three_tracks("\0\xFF\x01\x10" "a"s), true, "a text longer than its track"},
        {"", false, "empty"},
        {"RIFF....WAVEfmt ", false, "another kind of file"},
        {piece.substr(0, piece.size() / 2), false, "the piece cut in half"},
        {three_tracks("", 96, 4), false, "a track fewer than announced"},
        {smf(96, {"MTrk" + big(0xFFFFFFFF, 4) + kEnd}), false, "a track of 4 GiB announced"},
    };
    for (const auto& c : cases) {
        const MidiShape shape = read_midi(c.file);
        EXPECT_EQ(shape.whole, c.whole) << c.what;
        EXPECT_FALSE(shape.seconds.has_value()) << c.what;
    }
    EXPECT_FALSE(read_midi_file("/nonexistent/bg1.mid").whole);
}

// Counted in frames mixed; a length unknown, or too long to count, never ends a pass. (That a
// held mixer counts nothing, and that a pass counts afresh: the device test below.)
TEST(PieceClockTest, OverOnceThePieceHasPlayedButNeverWhenItsLengthIsUnknown) {
    PieceClock clock;
    clock.start(2.0, 100);
    clock.add(199);
    EXPECT_FALSE(clock.over());
    clock.add(1);
    EXPECT_TRUE(clock.over()) << "two seconds at 100 frames a second";
    for (const std::optional<double> unknown : {std::optional<double>{}, std::optional<double>{1e15}}) {
        clock.start(unknown, 44100);
        clock.add(std::uint64_t(1) << 62);
        EXPECT_FALSE(clock.over());
    }
}

// The real mixer, no device: a quarter-second note ends its pass at once, while the synthesiser
// would still say "playing" for two seconds; a held mixer's piece does not end.
TEST(PieceClockTest, TheMusicDeviceStopsAtThePiecesEnd) {
    if (!choose_soundfont()) { GTEST_SKIP() << "no soundfont"; }
    const testing::TempDir dir;
    dir.write("short.mid", smf(480, {track("\0\x90\x3C\x64\x81\x70\x80\x3C\0"s + kEnd)}));
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::string problem;
    ASSERT_TRUE(open_mixer(problem)) << problem;
    set_mix_levels(false);  // as the desktop does: the mute takes the mixer's post-mix hook
    {
        MixerMusic music(true, true);
        ASSERT_TRUE(music.open(dir.path() + "short.mid"));
        for (int pass = 0; pass < 2; ++pass) {
            ASSERT_TRUE(music.play());
            hold_mixer(true);
            SDL_Delay(600);
            EXPECT_EQ(music.mode(), "playing") << "held";
            hold_mixer(false);
            const Uint32 start = SDL_GetTicks();
            while (music.mode() == "playing" && SDL_GetTicks() - start < 5000) { SDL_Delay(10); }
            EXPECT_EQ(music.mode(), "stopped");
            EXPECT_TRUE(Mix_PlayingMusic()) << "the synthesiser plays on: the piece's own end stopped it";
        }
    }
    close_mixer();
}

}  // namespace
}  // namespace sc
