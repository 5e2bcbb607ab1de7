// Where the music's pass ends on the desktop: a MIDI file's length through its tempo map, the
// clock that counts the mixer's frames against it, and the music device saying "stopped" at
// the piece's own end rather than the synthesiser's, seconds later.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <initializer_list>
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

std::string bytes(std::initializer_list<int> b) {
    std::string s;
    for (int v : b) { s += char(v); }
    return s;
}

std::string big(std::uint32_t v, int n) {
    std::string s;
    for (int k = n - 1; k >= 0; --k) { s += char(v >> (8 * k)); }
    return s;
}

std::string chunk(const std::string& type, const std::string& data) { return type + big(std::uint32_t(data.size()), 4) + data; }

// A format 1 file of these chunks, announcing its tracks or `announced` of them.
std::string smf(int division, const std::vector<std::string>& chunks, int announced = -1) {
    std::string body;
    std::uint32_t tracks = 0;
    for (const std::string& c : chunks) {
        body += c;
        tracks += c.rfind("MTrk", 0) == 0;
    }
    if (announced >= 0) { tracks = std::uint32_t(announced); }
    return chunk("MThd", big(1, 2) + big(tracks, 2) + big(std::uint32_t(division), 2)) + body;
}

const std::string kEnd = bytes({0x00, 0xFF, 0x2F, 0x00});

// Three tracks at 96 ticks a beat. The first sets 120 beats a minute, then 60 at tick 288; the
// second sets 240 at tick 192 and holds running status across a system exclusive and a text
// event; the third, the longest, has no end-of-track event and ends at tick 480. An unknown
// chunk sits between them. So: 2 beats of 0.5 s, 1 of 0.25 s, 2 of 1 s.
std::vector<std::string> three_tracks() {
    return {chunk("MTrk", bytes({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x82, 0x20, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40}) +
                              kEnd),
            chunk("MTrk", bytes({0x00, 0xC0, 0x05, 0x00, 0x90, 0x3C, 0x64, 0x60, 0x3E, 0x64, 0x00, 0xF0, 0x03, 0x7E, 0x7F,
                                 0xF7, 0x00, 0xFF, 0x01, 0x03, 'a', 'b', 'c', 0x30, 0x3C, 0x00, 0x30, 0xFF, 0x51,
                                 0x03, 0x03, 0xD0, 0x90, 0x81, 0x40, 0x80, 0x3E, 0x00}) +
                              kEnd),
            chunk("Xtra", "??"), chunk("MTrk", bytes({0x00, 0xB1, 0x07, 0x64, 0x83, 0x60, 0x81, 0x3C, 0x00}))};
}

TEST(MidiLengthTest, ThePieceAndAFileOfTracksTemposAndRunningStatus) {
    const MidiShape piece = read_midi_file(SEVENCHIPS_SOURCE_DIR "/assets/bg/bg1.mid");
    EXPECT_TRUE(piece.whole);
    ASSERT_TRUE(piece.seconds.has_value());
    EXPECT_NEAR(*piece.seconds, 74.2, 0.01) << "the painter ends the track just after the last sound";

    const MidiShape three = read_midi(smf(96, three_tracks()));
    EXPECT_TRUE(three.whole);
    ASSERT_TRUE(three.seconds.has_value());
    EXPECT_DOUBLE_EQ(*three.seconds, 3.25);

    // The longest delta, a thousand times, at the slowest tempo and one tick a beat: a long
    // piece, counted without overflow.
    std::string slow = bytes({0x00, 0xFF, 0x51, 0x03, 0xFF, 0xFF, 0xFF});
    for (int k = 0; k < 1000; ++k) { slow += bytes({0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0x01, 0x00}); }
    const MidiShape huge = read_midi(smf(1, {chunk("MTrk", slow + kEnd)}));
    ASSERT_TRUE(huge.seconds.has_value());
    EXPECT_DOUBLE_EQ(*huge.seconds, 1000.0 * 0x0FFFFFFF * 0xFFFFFF / 1e6);
}

TEST(MidiLengthTest, BrokenFilesHaveNoLengthAndCutShortOnesAreNotWhole) {
    const auto tracks_with = [](const std::string& second) {
        std::vector<std::string> t = three_tracks();
        t[1] = chunk("MTrk", second);
        return smf(96, t);
    };
    const struct { std::string file; const char* what; } unreadable[] = {
        {smf(0xE728, three_tracks()), "SMPTE frames"},
        {smf(0, three_tracks()), "no ticks a beat"},
        {tracks_with(bytes({0x00, 0x3C, 0x64}) + kEnd), "running status with none before"},
        {tracks_with(bytes({0x00, 0xF1, 0x00}) + kEnd), "a status no file holds"},
        {tracks_with(bytes({0x00, 0x90, 0x3C})), "an event cut short"},
        {tracks_with(bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x90, 0x3C, 0x64})), "a delta of five bytes"},
        {tracks_with(bytes({0x00, 0xFF, 0x01, 0x10, 'a'})), "a text longer than its track"},
    };
    for (const auto& u : unreadable) {
        const MidiShape shape = read_midi(u.file);
        EXPECT_TRUE(shape.whole) << u.what;
        EXPECT_FALSE(shape.seconds.has_value()) << u.what;
    }
    const std::string piece = testing::read_file(SEVENCHIPS_SOURCE_DIR "/assets/bg/bg1.mid");
    const struct { std::string file; const char* what; } broken[] = {
        {"", "empty"},
        {"RIFF....WAVEfmt ", "another kind of file"},
        {piece.substr(0, piece.size() / 2), "the piece cut in half"},
        {smf(96, three_tracks(), 4), "a track fewer than announced"},
        {smf(96, {"MTrk" + big(0xFFFFFFFF, 4) + kEnd}), "a track of 4 GiB announced"},
    };
    for (const auto& b : broken) {
        const MidiShape shape = read_midi(b.file);
        EXPECT_FALSE(shape.whole) << b.what;
        EXPECT_FALSE(shape.seconds.has_value()) << b.what;
    }
    EXPECT_FALSE(read_midi_file("/nonexistent/bg1.mid").whole);
}

TEST(PieceClockTest, OverOnceThePieceHasPlayedNotWhileHeldAndAfreshEachPass) {
    PieceClock clock;
    clock.add(1000);
    EXPECT_FALSE(clock.over()) << "nothing playing";
    clock.start(2.0, 100);
    clock.add(150);
    EXPECT_FALSE(clock.over());
    clock.hold(true);
    clock.add(100);
    EXPECT_FALSE(clock.over()) << "a held mixer plays nothing";
    clock.hold(false);
    clock.add(49);
    EXPECT_FALSE(clock.over());
    clock.add(1);
    EXPECT_TRUE(clock.over());
    clock.start(2.0, 100);
    EXPECT_FALSE(clock.over()) << "a new pass";
    clock.add(200);
    clock.stop();
    EXPECT_FALSE(clock.over()) << "stopped, the mixer's word holds";
    for (const std::optional<double> unknown : {std::optional<double>{}, std::optional<double>{1e15}}) {
        clock.start(unknown, 44100);
        clock.add(std::uint64_t(1) << 62);
        EXPECT_FALSE(clock.over()) << "a length unknown, or too long to count, never ends a pass";
    }
}

// The real mixer, no device: a quarter-second note ends its pass at once, while the synthesiser
// would still say "playing" for two seconds; a held mixer's piece does not end.
TEST(PieceClockTest, TheMusicDeviceStopsAtThePiecesEnd) {
    if (!choose_soundfont()) { GTEST_SKIP() << "no soundfont"; }
    const testing::TempDir dir;
    dir.write("short.mid", smf(480, {chunk("MTrk", bytes({0x00, 0x90, 0x3C, 0x64, 0x81, 0x70, 0x80, 0x3C, 0x00}) + kEnd)}));
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
