// Renders UTF-8 text onto surfaces with FreeType, in a face chosen among given font files
// by a fixed order of preference, whatever order they come in. Each distinct string and style is rasterised once and
// reused. Finding the installed files is the platform's business (a web build has no
// fontconfig).
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "pixels/surface.hpp"

namespace sc {

// A face in a font file, as a font lookup lists it.
struct FontFile {
    std::string path;
    int index = 0;          // the face within a collection
    bool japanese = true;   // the lookup says the face covers Japanese
};

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

    // The best of the given faces for the game: of those that cover the game's strings, named
    // families first ("Ume P Gothic" regular before all), then the others by family and file;
    // the first in which the tightest texts fit. A problem (no Japanese face, no face at all)
    // is put into `warning` as one line for standard error; the engine is null only when no
    // face at all could be opened.
    static std::unique_ptr<FontEngine> create_from(const std::vector<FontFile>& files, std::string* warning);
    // The same for plain files of one face each.
    static std::unique_ptr<FontEngine> create_from(const std::vector<std::string>& files, std::string* warning);
};

}  // namespace sc
