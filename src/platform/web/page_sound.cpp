#include "platform/web/page_sound.hpp"

#include "platform/web/page_bridge.hpp"

namespace sc {

std::string rendered_piece(const std::string& path) {
    const std::string mid = ".mid";
    if (path.size() >= mid.size() && path.compare(path.size() - mid.size(), mid.size(), mid) == 0) {
        return path.substr(0, path.size() - mid.size()) + ".ogg";
    }
    return path;
}

bool PageMusic::open(const std::string& path) {
    if (!audio_ || open_) { return false; }
    open_ = page::music_open(rendered_piece(path).c_str());
    return open_;
}

// Played once: the game's watchdog restarts it when it has stopped.
bool PageMusic::play() {
    if (!open_) { return false; }
    asked_to_play_ = true;
    if (!quiet_) { page::music(page::MusicCommand::Play); }
    return true;
}

bool PageMusic::stop() {
    if (!open_) { return false; }
    asked_to_play_ = false;
    if (!quiet_) { page::music(page::MusicCommand::Stop); }
    return true;
}

bool PageMusic::seek_to_start() {
    if (!open_) { return false; }
    if (!quiet_) { page::music(page::MusicCommand::SeekToStart); }
    return true;
}

bool PageMusic::close() {
    if (!open_) { return false; }
    page::music(page::MusicCommand::Close);
    open_ = false;
    asked_to_play_ = false;
    return true;
}

std::string PageMusic::mode() {
    if (!open_) { return {}; }
    // While quiet the piece never reaches its end.
    const bool playing = quiet_ ? asked_to_play_ : page::music_playing();
    return playing ? "playing" : "stopped";
}

void PageMusic::quiet(bool on) {
    if (on == quiet_) { return; }
    quiet_ = on;
    if (!open_) { return; }
    if (on) {
        page::music(page::MusicCommand::Stop);
    } else if (asked_to_play_) {
        page::music(page::MusicCommand::Play);
    }
}

void PageWaves::play(const std::string& name) {
    // A missing effect is silent, and still cuts off the old.
    if (audio_ && !quiet_) { page::play_effect((name + ".wav").c_str()); }
}

void PageWaves::stop() {
    if (audio_ && !quiet_) { page::play_effect(""); }
}

}  // namespace sc
