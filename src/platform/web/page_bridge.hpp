// What the web platform asks of the page around it (page.js): its input, its canvas, its
// settings and clock speed, its sound, and where the game's files go once the game has written them.
#pragma once
#include <cstdint>

namespace sc::page {

// Input codes the page hands over besides the game's own key codes (13, 27, 37..40).
constexpr int kClick = 1;          // a left click at (x, y) in the 800 x 600 picture
constexpr int kTap = 2;            // a touch's tap at (x, y) in the picture: never a quitting click
constexpr int kPause = 1001;       // P or Pause
constexpr int kWindowLeft = 1002;  // the tab was hidden or lost the focus
constexpr int kMuteOff = 1003;     // M, with the page's new setting
constexpr int kMuteOn = 1004;
// While a run is watched:
constexpr int kSeek = 1101;      // to the battle tick x: replayed from the start up to there
constexpr int kSpeed = 1102;     // x times the normal speed (1, 2, 4 or 8)
constexpr int kStep = 1103;      // one battle tick forward, while paused
constexpr int kTakeOver = 1104;  // the player plays on from here

// The next input that has arrived, or 0 when none has; a click's position goes to x, y.
int take_input(int& x, int& y);
// Sleeps (the browser goes on) for `ms` milliseconds of the page's clock, or until input
// arrives, whichever is first.
void wait(double ms);
// Puts on the canvas the rectangle at (x, y) of w x h pixels of `rgba`, an 800 x 600 picture
// of RGBA bytes, moved by (dx, dy); the whole picture moved leaves black where it uncovers.
void show(const std::uint8_t* rgba, int dx, int dy, int x, int y, int w, int h);
// The remembered mute setting, the speed the clock runs at (1: real time), and a clock in
// milliseconds (fractions included).
bool muted();
double speed();
double now();
// The game has written the clear file at `path`: the page keeps it across visits.
void keep_clear_file(const char* path);
// The page keeps the picture now on its canvas as the one of the moment `when` (for tests).
void keep_picture(const char* when);
// The pause began (true) or ended, by the player's key or by the program itself.
void paused(bool on);
// Where a watched run stands: `ticks` battle ticks, `ms` of the game's own time.
void progress(long ticks, std::uint32_t ms);
// The game has ended; its recording lies at `recording` (empty: none).
void ended(const char* recording);
// The program could not start; `why` is one line for the player.
void failed(const char* why);
// What a run reached and its link, as one JSON object (the program's --describe).
void described(const char* json);

// The sound, played by the page (its own audio thread). False when the page cannot play any.
bool open_sound(bool muted, double music_gain, double effect_gain);
void set_muted(bool muted);
// Holds the sound where it stands (the pause), or lets it go on.
void hold_sound(bool held);
// Opens the music file `path`: false when it is missing.
bool music_open(const char* path);
enum class MusicCommand { Play = 1, Stop = 2, SeekToStart = 3, Close = 4 };
void music(MusicCommand command);
// The piece plays: asked to and not yet at its end.
bool music_playing();
// Plays the effect file `path` in place of the one playing (empty or missing: silence).
void play_effect(const char* path);
// Stops every sound: the game has ended.
void close_sound();

}  // namespace sc::page
