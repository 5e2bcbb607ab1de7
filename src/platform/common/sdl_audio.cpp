#include "platform/common/sdl_audio.hpp"

#include <SDL2/SDL.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/common/midi_length.hpp"
#include "platform/common/piece_clock.hpp"

namespace sc {

namespace {

constexpr int kEffectChannel = 0;  // one channel: a new effect cuts off the old
// The soundfonts asked for, in a fixed order: the one the mix is set for and the web page's
// music is rendered with (fluid-soundfont-gm), the smaller one the package also accepts,
// then whatever the machine calls its default.
constexpr const char* kSoundfonts[] = {"/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2",
                                       "/usr/share/sounds/sf2/default-GM.sf2"};

bool is_file(const std::string& path) {
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// One mixer, one piece: an effect on the mixer's whole output counts the frames of every
// buffer for it (the post-mix hook is the mute's).
PieceClock piece_clock;
int frame_bytes = 4;
int frame_rate = 44100;

void SDLCALL count_frames(int /*channel*/, void* /*stream*/, int len, void* /*unused*/) {
    piece_clock.add(std::uint64_t(len / frame_bytes));
}

}  // namespace

bool choose_soundfont() {
    const char* chosen = std::getenv("SDL_SOUNDFONTS");
    if (chosen == nullptr || chosen[0] == '\0') {
        for (const char* soundfont : kSoundfonts) {
            if (is_file(soundfont)) {
                ::setenv("SDL_SOUNDFONTS", soundfont, 1);
                return true;
            }
        }
        return false;
    }
    // A list of files; one that exists is enough.
    const std::string list = chosen;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = list.find_first_of(":;", start);
        const std::string one = list.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (is_file(one)) { return true; }
        if (end == std::string::npos) { break; }
        start = end + 1;
    }
    return false;
}

namespace {

// The sound libraries below SDL print their own pages of complaints while they look for a
// device; the player gets our one line instead.
class QuietStderr {
public:
    QuietStderr() {
        std::fflush(stderr);
        saved_ = ::dup(STDERR_FILENO);
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && null >= 0) { ::dup2(null, STDERR_FILENO); }
        if (null >= 0) { ::close(null); }
    }
    ~QuietStderr() {
        std::fflush(stderr);
        if (saved_ >= 0) {
            ::dup2(saved_, STDERR_FILENO);
            ::close(saved_);
        }
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int saved_ = -1;
};

}  // namespace

bool open_mixer(std::string& problem) {
    QuietStderr quiet;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        problem = SDL_GetError();
        return false;
    }
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
        problem = Mix_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_Init(MIX_INIT_MID);
    Mix_AllocateChannels(1);
    Uint16 format = 0;
    int channels = 0;
    if (Mix_QuerySpec(&frame_rate, &format, &channels) != 0) { frame_bytes = SDL_AUDIO_BITSIZE(format) / 8 * channels; }
    Mix_RegisterEffect(MIX_CHANNEL_POST, count_frames, nullptr, nullptr);
    return true;
}

void close_mixer() {
    Mix_UnregisterEffect(MIX_CHANNEL_POST, count_frames);
    piece_clock.stop();
    piece_clock.hold(false);
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void hold_mixer(bool held) {
    // The music goes on where it stood; so does an effect cut short by the pause.
    piece_clock.hold(held);
    if (held) {
        Mix_PauseMusic();
        Mix_Pause(-1);
    } else {
        Mix_ResumeMusic();
        Mix_Resume(-1);
    }
}

MixerMusic::~MixerMusic() { close(); }

bool MixerMusic::open(const std::string& path) {
    if (!audio_ || music_ != nullptr) { return false; }
    music_ = Mix_LoadMUS(path.c_str());
    seconds_.reset();
    if (music_ != nullptr && Mix_GetMusicType(music_) == MUS_MID) {
        const MidiShape shape = read_midi_file(path);
        if (!shape.whole) {
            Mix_FreeMusic(music_);  // broken: silent, as a missing file is
            music_ = nullptr;
            return false;
        }
        seconds_ = shape.seconds;
    }
    if (music_ == nullptr && !soundfont_ && !told_ && is_file(path)) {
        // The file is there, the synthesiser has nothing to play it with: say so once.
        told_ = true;
        std::fprintf(stderr,
                     "sevenchips: no MIDI soundfont (install fluid-soundfont-gm or set SDL_SOUNDFONTS); "
                     "the music is silent\n");
    }
    return music_ != nullptr;
}

// Played once: the game's watchdog restarts it when it has stopped.
bool MixerMusic::play() {
    if (music_ == nullptr || Mix_PlayMusic(music_, 1) != 0) { return false; }
    piece_clock.start(seconds_, frame_rate);
    return true;
}

bool MixerMusic::stop() {
    if (music_ == nullptr) { return false; }
    piece_clock.stop();
    Mix_HaltMusic();
    return true;
}

bool MixerMusic::seek_to_start() {
    if (music_ == nullptr) { return false; }
    Mix_RewindMusic();
    return true;
}

bool MixerMusic::close() {
    if (music_ == nullptr) { return false; }
    piece_clock.stop();
    Mix_HaltMusic();
    Mix_FreeMusic(music_);
    music_ = nullptr;
    return true;
}

std::string MixerMusic::mode() {
    if (music_ == nullptr) { return {}; }
    // The synthesiser plays on, silent, for seconds after the piece's end; a new play halts it.
    return Mix_PlayingMusic() && !piece_clock.over() ? "playing" : "stopped";
}

MixerWaves::~MixerWaves() {
    if (audio_) { Mix_HaltChannel(-1); }
    for (auto& [name, chunk] : cache_) {
        if (chunk != nullptr) { Mix_FreeChunk(chunk); }
    }
}

void MixerWaves::play(const std::string& name) {
    if (!audio_) { return; }
    auto it = cache_.find(name);
    if (it == cache_.end()) { it = cache_.emplace(name, Mix_LoadWAV((name + ".wav").c_str())).first; }
    if (it->second == nullptr) {
        Mix_HaltChannel(kEffectChannel);  // a missing effect is silent, and still cuts off the old
        return;
    }
    Mix_PlayChannel(kEffectChannel, it->second, 0);
}

void MixerWaves::stop() {
    if (audio_) { Mix_HaltChannel(kEffectChannel); }
}

}  // namespace sc
