#include "support/headless_game.hpp"

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/fonts/installed_fonts.hpp"
#include "runs/trace.hpp"

namespace sc::testing {

namespace fs = std::filesystem;

FontEngine* shared_fonts() {
    static std::unique_ptr<FontEngine> engine = open_installed_font(nullptr);
    return engine.get();
}

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "sevenchips-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) { throw std::runtime_error("mkdtemp failed"); }
    path_ = pattern + "/";
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);  // a test may have locked it
    fs::remove_all(path_, ec);
}

void TempDir::write(const std::string& relative, const std::string& content) const {
    const fs::path p = fs::path(path_) / relative;
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << content;
}

std::string read_file(const std::string& path) {
    return (std::ostringstream() << std::ifstream(path, std::ios::binary).rdbuf()).str();
}

bool same_block(const Surface& a, int ax, int ay, const Surface& b, int bx, int by, int w, int h) {
    for (int y = 0; y < h; ++y) {
        if (!std::equal(a.row(ay + y) + ax, a.row(ay + y) + ax + w, b.row(by + y) + bx)) { return false; }
    }
    return true;
}

int count_is(const Surface& s, int x1, int y1, int x2, int y2, std::uint32_t v) {
    int n = 0;
    for (int y = y1; y <= y2; ++y) { n += int(std::count(s.row(y) + x1, s.row(y) + x2 + 1, v)); }
    return n;
}

HeadlessGame::HeadlessGame(std::uint64_t seed, std::uint32_t clock_start)
    : platform(clock_start), g(platform), loop(g, platform) {
    app.write("bg/bg1.mid", "MThd");
    app.write("se/.keep", "");
    platform.preference_override = data.path();
    g.fonts = shared_fonts();
    g.seed_from_clock = false;
    g.seed_value = seed;
    g.app_dir_override = app.path();
}

bool HeadlessGame::step() {
    return loop.run_one([this](const LoopEvent& e) { ticks_done += e.kind == LoopEvent::Kind::Timer2; });
}

void HeadlessGame::start_battle() {
    load();
    for (int guard = 0; guard < 1000 && !(g.StartStage == 1 && g.GameMode == 0 && g.Timer2.Interval > 0) && step(); ++guard) {}
}

void HeadlessGame::ticks(int n) {
    const long target = ticks_done + n;
    for (int guard = 0; guard < n * 200 + 100 && ticks_done < target && !g.ended && g.Timer2.Interval != 0 && step(); ++guard) {}
}

void HeadlessGame::key(int code) {
    g.input.push(InputEvent{InputEvent::Kind::Key, code});
    step();
}

void HeadlessGame::select(int p) {
    while (g.Cursor != p) { key(g.Cursor > p ? 37 : 39); }
    effects();
}

void HeadlessGame::settle(int p, int row) {
    g.PilotMode[std::size_t(p)] = byte_t(row);
    g.PilotPose[std::size_t(p)] = 0;
    g.PilotY[std::size_t(p)] = short_t(row == 5 ? 390 : 170 + 55 * row);
}

std::vector<int> HeadlessGame::effects() {
    std::vector<int> out;
    const auto& started = platform.recorded_waves().started;
    for (; effects_seen_ < started.size(); ++effects_seen_) { out.push_back(effect_number(started[effects_seen_])); }
    return out;
}

}  // namespace sc::testing
