// sevenchips: the game in a desktop window.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "core/event_loop.hpp"
#include "draw/font_engine.hpp"
#include "platform/desktop/desktop_platform.hpp"
#include "shell/game.hpp"

namespace {

constexpr char kHelp[] =
    "usage: sevenchips\n"
    "A real-time battle game: send seven pilots between five command rows.\n"
    "  Left / Right   select a pilot\n"
    "  Up / Down      send the selected pilot one row up or down\n"
    "  Escape         quit (after the game: silence the music)\n"
    "  Enter          quit, once the game has ended\n"
    "  F11            fullscreen on / off\n"
    "  click          quit at once\n";

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::puts("sevenchips 1.0.0");
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
    loop.start();  // Form_Load: the pictures are loaded now
    platform.set_icon(game->RogoP);
    loop.run();
    return 0;
}
