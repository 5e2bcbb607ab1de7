#include "draw/font_engine.hpp"

namespace sc {

std::unique_ptr<FontEngine> FontEngine::create(std::string* warning) {
    if (warning) { *warning = "sevenchips: text drawing is not built yet"; }
    return nullptr;
}

}  // namespace sc
