// The game's face among the fonts installed on this machine, found through fontconfig.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "pixels/font_engine.hpp"

namespace sc {

// Every scalable face fontconfig knows, in no particular order.
std::vector<FontFile> installed_fonts();

// Opens the best installed face for the game, chosen as FontEngine::create_from chooses: the
// same face on every machine with the same fonts, whatever the environment. A problem (no
// Japanese font, no font at all) is put into `warning` as one line for standard error; the
// engine is null only when no font at all could be opened.
std::unique_ptr<FontEngine> open_installed_font(std::string* warning);

}  // namespace sc
