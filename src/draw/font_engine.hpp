// Renders UTF-8 text onto surfaces with a font that covers Japanese, found through
// fontconfig (or the file named by SEVENCHIPS_FONT). Each distinct string and style is
// rasterised once and reused.
#pragma once
#include <memory>
#include <string>

#include "draw/surface.hpp"

namespace sc {

class FontEngine {
public:
    virtual ~FontEngine() = default;
    // Draws `text` with the top-left of its line box at (x, y), in the style's size (points
    // at 96 dpi), bold, italic and colour; only glyph pixels change.
    virtual void draw(Surface& s, float x, float y, const std::string& text, const TextStyle& style) = 0;
    // Advance width in pixels of `text` in `style` (for tests and layout checks).
    virtual int width(const std::string& text, const TextStyle& style) = 0;
    // The font file in use.
    virtual std::string font_path() const = 0;

    // Opens the best font on this machine. A problem (no Japanese font, no font at all) is
    // put into `warning` as one line for standard error; the engine is null only when no
    // font at all could be opened.
    static std::unique_ptr<FontEngine> create(std::string* warning);
};

}  // namespace sc
