// Renders UTF-8 text onto surfaces with a font that covers Japanese, found through
// fontconfig (or the file named by SEVENCHIPS_FONT). Each distinct string and style is
// rasterised once and reused.
#pragma once
#include <memory>
#include <string>
#include <vector>

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
    // The font file in use, and its face's family and style ("VL PGothic regular").
    virtual std::string font_path() const = 0;
    virtual std::string font_name() const = 0;

    // Opens the best font on this machine. A problem (no Japanese font, no font at all) is
    // put into `warning` as one line for standard error; the engine is null only when no
    // font at all could be opened.
    static std::unique_ptr<FontEngine> create(std::string* warning);
    // The same choice among the given font files, in the order given (as fontconfig's).
    static std::unique_ptr<FontEngine> create_from(const std::vector<std::string>& files, std::string* warning);
};

}  // namespace sc
