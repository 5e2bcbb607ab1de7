// A game on the headless platform for tests, with helpers to run it to a point and to look at
// what it drew and played.
#pragma once
#include <string>
#include <vector>

#include "core/event_loop.hpp"
#include "pixels/font_engine.hpp"
#include "platform/headless/headless_platform.hpp"
#include "shell/game.hpp"

namespace sc::testing {

// The one font engine of the test process (opening fonts is slow; it is shared).
FontEngine* shared_fonts();

// A fresh temporary folder (ending in '/'), removed by the destructor.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    // Writes a file below the folder, making its parents.
    void write(const std::string& relative, const std::string& content) const;

private:
    std::string path_;
};

std::string read_file(const std::string& path);

// True if the w x h block at (ax, ay) of `a` equals the one at (bx, by) of `b`.
bool same_block(const Surface& a, int ax, int ay, const Surface& b, int bx, int by, int w, int h);

// Pixels of the rectangle (x1, y1)-(x2, y2), corners included, that have (or lack) colour v.
int count_is(const Surface& s, int x1, int y1, int x2, int y2, std::uint32_t v);
inline int count_not(const Surface& s, int x1, int y1, int x2, int y2, std::uint32_t v) {
    return (x2 - x1 + 1) * (y2 - y1 + 1) - count_is(s, x1, y1, x2, y2, v);
}

struct HeadlessGame {
    explicit HeadlessGame(std::uint64_t seed = 1, std::uint32_t clock_start = 0);

    TempDir app;  // the program folder: bg/bg1.mid and se/ exist
    TempDir data; // the user's data folder
    HeadlessPlatform platform;
    Game g;
    EventLoop loop;

    // Form_Load only (state initialised, nothing drawn).
    void load() { loop.start(); }
    // Runs the loop until the battle has started (the second start-up tick has run).
    void start_battle();
    // Runs n battle ticks through the loop (keys already queued are served first).
    void ticks(int n);
    // Delivers a key through the loop, as the window would.
    void key(int code);
    // Moves the cursor to pilot p with the arrow keys; forgets the effects they played.
    void select(int p);
    // Puts pilot p, settled, in a row (state only; nothing is drawn).
    void settle(int p, int row);
    // The effect numbers started since the last call.
    std::vector<int> effects();
    // Every window picture presented while `f` runs.
    template <class F>
    std::vector<Surface> frames_of(F f) {
        std::vector<Surface> frames;
        platform.captured_frames = &frames;
        f();
        platform.captured_frames = nullptr;
        return frames;
    }
    long ticks_done = 0;

private:
    bool step();  // one event of the loop; false once it has ended
    std::size_t effects_seen_ = 0;
};

}  // namespace sc::testing
