// The background music: one MIDI piece, opened under the alias "bgm" through a small
// string-command interface, and the watchdog that restarts it when it has stopped.
#include <cstring>
#include <filesystem>

#include "shell/game.hpp"

namespace sc {

namespace {

// The path the device is opened with: the file's own path, or empty when there is none
// (as a short-name lookup of a missing file gives nothing).
std::string short_path(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec) ? path : std::string();
}

constexpr char kAlias[] = " alias bgm";

}  // namespace

long Game::mciSendString(const std::string& command, char* reply, int reply_len) {
    if (reply && reply_len > 0) { std::memset(reply, 0, std::size_t(reply_len)); }
    MusicDevice& dev = sys.music();
    auto ends_with = [&](const std::string& tail) {
        return command.size() >= tail.size() && command.compare(command.size() - tail.size(), tail.size(), tail) == 0;
    };
    if (command.rfind("open ", 0) == 0 && ends_with(kAlias)) {
        const std::string path = command.substr(5, command.size() - 5 - (sizeof(kAlias) - 1));
        // An empty path (no such file) is sent all the same and fails, as the device says.
        if (dev.is_open()) { return 1; }
        return dev.open(path) ? 0 : 1;
    }
    if (command == "play bgm") { return dev.play() ? 0 : 1; }
    if (command == "stop bgm") { return dev.stop() ? 0 : 1; }
    if (command == "seek bgm to start") { return dev.seek_to_start() ? 0 : 1; }
    if (command == "close bgm") { return dev.close() ? 0 : 1; }
    if (command == "status bgm mode") {
        if (!dev.is_open()) { return 1; }
        const std::string mode = dev.mode();
        if (reply && reply_len > 0) {
            std::strncpy(reply, mode.c_str(), std::size_t(reply_len - 1));
        }
        return 0;
    }
    return 1;
}

void Game::OpenM(int PA) {
    const char* names[11] = {"bg/bg0.mid", "bg/bg1.mid"};
    if (PA < 0 || PA > 1) { return; }
    const std::string shortened = short_path(AppDir + names[PA]);
    mciSendString("open " + shortened + kAlias, nullptr, 0);
}

void Game::PlayM(int PA) {
    switch (PA) {
        case 0: mciSendString("play bgm", nullptr, 0); break;
        case 1: mciSendString("stop bgm", nullptr, 0); break;
        case 2: mciSendString("seek bgm to start", nullptr, 0); break;
        default: break;
    }
}

void Game::CloseM() { mciSendString("close bgm", nullptr, 0); }

void Game::Mjyoutai() {
    char buffer[10];
    mciSendString("status bgm mode", buffer, sizeof buffer);
    const std::string reply(buffer, strnlen(buffer, sizeof buffer));
    if (reply == "stopped") {
        PlayM(2);
        PlayM(0);
    }
}

void Game::Timer3_Timer() { Mjyoutai(); }

// The delayed quit. Nothing arms Timer4, so this never runs in a game; it is kept so the
// finished mode's quit stages mean what they say.
void Game::Timer4_Timer() {
    if (QuitStage == 1) {
        Play(4);
        QuitStage = 2;
        Timer4.set_interval(1000);
    } else if (QuitStage == 2) {
        EndProgram();
    }
}

}  // namespace sc
