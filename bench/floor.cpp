// The floor under the game's CPU and memory figures: what any program showing the game's
// window and playing its music must spend, with nothing of the game. It sets up the window,
// the renderer and the mixer with the desktop platform's own functions (the same hints, the
// same renderer choice, the same audio format and soundfont), shows a 768 x 576 streaming texture
// that changes 10 times a second, and plays bg/bg1.mid, restarting it when it has ended as
// the game's watchdog does every 3 s.
//
// usage: floor --music bg/bg1.mid [--seconds N]
// Prints "floor: ready" on standard error once the first frame is up and the music plays.
#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/desktop/desktop_platform.hpp"
#include "platform/common/sdl_audio.hpp"

namespace {

constexpr int kWidth = 768, kHeight = 576;

}  // namespace

int main(int argc, char** argv) {
    const char* music_path = nullptr;
    double seconds = 0;  // 0: until closed or killed
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--music") == 0) { music_path = argv[i + 1]; }
        if (std::strcmp(argv[i], "--seconds") == 0) { seconds = std::atof(argv[i + 1]); }
    }
    if (music_path == nullptr) {
        std::fprintf(stderr, "usage: floor --music FILE.mid [--seconds N]\n");
        return 2;
    }
    sc::set_window_hints();
    SDL_SetHint(SDL_HINT_APP_NAME, "floor");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "floor: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Window* window = SDL_CreateWindow("floor", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 800, 600,
                                          SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_HIDDEN);
    SDL_Renderer* renderer = window ? sc::make_renderer(window) : nullptr;
    SDL_Texture* texture = renderer ? SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                                        kWidth, kHeight)
                                    : nullptr;
    if (texture == nullptr) {
        std::fprintf(stderr, "floor: %s\n", SDL_GetError());
        return 1;
    }
    SDL_ShowWindow(window);
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);

    sc::choose_soundfont();
    std::string problem;
    const bool audio = sc::open_mixer(problem);
    Mix_Music* music = audio ? Mix_LoadMUS(music_path) : nullptr;
    if (music != nullptr) { Mix_PlayMusic(music, 1); }
    if (music == nullptr) {
        std::fprintf(stderr, "floor: the music does not play (%s)\n", audio ? Mix_GetError() : problem.c_str());
    }

    std::vector<std::uint32_t> pixels(std::size_t(kWidth) * kHeight, 0x203040);
    const Uint32 start = SDL_GetTicks();
    Uint32 next_frame = start, next_watch = start + 3000;
    bool ready = false, closed = false;
    for (int shown = 0; !closed;) {
        const Uint32 now = SDL_GetTicks();
        if (seconds > 0 && now - start >= Uint32(seconds * 1000)) { break; }
        if (std::int32_t(now - next_frame) >= 0) {
            // A band that moves every frame: the texture really changes each time.
            const int band = (shown++ * 8) % kHeight;
            for (int y = band; y < std::min(kHeight, band + 8); ++y) {
                std::uint32_t* row = pixels.data() + std::size_t(y) * kWidth;
                for (int x = 0; x < kWidth; ++x) { row[x] ^= 0x00FFFFFFu; }
            }
            SDL_UpdateTexture(texture, nullptr, pixels.data(), kWidth * 4);
            SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
            SDL_RenderClear(renderer);
            const SDL_Rect dst{16, 12, kWidth, kHeight};
            SDL_RenderCopy(renderer, texture, nullptr, &dst);
            SDL_RenderPresent(renderer);
            next_frame += 100;
            if (!ready) {
                std::fprintf(stderr, "floor: ready\n");
                ready = true;
            }
        }
        if (std::int32_t(now - next_watch) >= 0) {
            if (music != nullptr && !Mix_PlayingMusic()) {
                Mix_RewindMusic();
                Mix_PlayMusic(music, 1);
            }
            next_watch += 3000;
        }
        const std::int32_t wait = std::int32_t(next_frame - SDL_GetTicks());
        SDL_Event e;
        if (wait > 0 && SDL_WaitEventTimeout(&e, wait)) {
            do {
                closed = closed || e.type == SDL_QUIT;
            } while (SDL_PollEvent(&e));
        }
    }
    if (music != nullptr) {
        Mix_HaltMusic();
        Mix_FreeMusic(music);
    }
    if (audio) { sc::close_mixer(); }
    SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
