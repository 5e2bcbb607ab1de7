// The web page's sound: the music and the effects are played by the browser's own audio
// thread (page.js decodes each file once), so the page's main thread mixes nothing.
#pragma once
#include <string>

#include "core/platform.hpp"

namespace sc {

// The game asks for its MIDI pieces; the page has them rendered into OGG files beside them.
class PageMusic final : public MusicDevice {
public:
    // `audio`: the page's sound is open.
    explicit PageMusic(bool audio) : audio_(audio) {}
    ~PageMusic() override { close(); }
    bool open(const std::string& path) override;
    bool play() override;
    bool stop() override;
    bool seek_to_start() override;
    bool close() override;
    bool is_open() const override { return open_; }
    std::string mode() override;
    // While quiet (a replay running ahead) the piece is not heard: the device only keeps
    // what it was asked, and plays the piece afresh when the quiet ends if it should play.
    void quiet(bool on);

private:
    bool audio_;
    bool open_ = false;
    bool quiet_ = false;
    bool asked_to_play_ = false;
};

// One effect at a time: a new one cuts off the one still playing.
class PageWaves final : public WavePlayer {
public:
    explicit PageWaves(bool audio) : audio_(audio) {}
    void play(const std::string& name) override;
    void stop() override;
    // While quiet no effect is heard.
    void quiet(bool on) { quiet_ = on; }

private:
    bool audio_;
    bool quiet_ = false;
};

// "bg/bg1.mid" -> "bg/bg1.ogg"; other names stay as they are.
std::string rendered_piece(const std::string& path);

}  // namespace sc
