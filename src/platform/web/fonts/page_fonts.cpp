// The browser has no fontconfig and no fonts of its own: the fonts "installed" are the one
// face the page puts into the program's memory before it starts (see page/page.js).
#include "draw/font_needs.hpp"
#include "platform/fonts/installed_fonts.hpp"

namespace sc {

std::vector<FontFile> installed_fonts() { return {FontFile{"/fonts/face.ttf", 0, true}}; }

std::unique_ptr<FontEngine> open_installed_font(std::string* warning) {
    return FontEngine::create_from(installed_fonts(), game_face_needs(), warning);
}

}  // namespace sc
