// The game's face among the fonts installed on this machine, found through fontconfig.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "pixels/font_engine.hpp"

namespace sc {

// Every scalable face fontconfig knows, best first for Japanese sans-serif text.
std::vector<FontFile> installed_fonts();

// Opens the best installed face for the game (or the file named by SEVENCHIPS_FONT). A
// problem (no Japanese font, no font at all) is put into `warning` as one line for standard
// error; the engine is null only when no font at all could be opened.
std::unique_ptr<FontEngine> open_installed_font(std::string* warning);

}  // namespace sc
