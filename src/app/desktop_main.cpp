// sevenchips: the game in a desktop window.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "core/event_loop.hpp"
#include "draw/font_engine.hpp"
#include "platform/desktop/desktop_platform.hpp"
#include "shell/game.hpp"

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "--version") == 0) {
            std::printf("Seven Chips 1.0 — arrows choose and move pilots, Escape quits, F11 fullscreen.\n");
            return 0;
        }
    }
    sc::DesktopPlatform platform;
    if (!platform.ok()) {
        std::fprintf(stderr, "sevenchips: %s\n", platform.error().c_str());
        return 1;
    }
    std::string warning;
    std::unique_ptr<sc::FontEngine> fonts = sc::FontEngine::create(&warning);
    if (!warning.empty()) { std::fprintf(stderr, "%s\n", warning.c_str()); }
    auto game = std::make_unique<sc::Game>(platform);
    game->fonts = fonts.get();
    sc::EventLoop loop(*game, platform);
    loop.start();
    platform.set_icon(game->RogoP);
    loop.run();
    return 0;
}
