// Shared pieces of the painter: pixel images, a fixed-seed noise source,
// cairo helpers and the PNG writers.
#pragma once

#include <cairo.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace paint {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// The sheet's white: the lightest colour of the tile sheet, used around sprites
// and inside masks.
inline constexpr Rgb kSheetWhite{255, 248, 255};
inline constexpr Rgb kBlack{0, 0, 0};

struct Image {
  int w = 0, h = 0;
  std::vector<Rgb> px;
  Image() = default;
  Image(int width, int height, Rgb fill = {}) : w(width), h(height), px(std::size_t(width) * height, fill) {}
  Rgb& at(int x, int y) { return px[std::size_t(y) * w + x]; }
  const Rgb& at(int x, int y) const { return px[std::size_t(y) * w + x]; }
  void blit(const Image& src, int dx, int dy);
  Image crop(int x, int y, int cw, int ch) const;
  Image scaled(int factor) const;  // nearest neighbour
};

// A small deterministic generator (xorshift-style) so every run paints the same.
class Rng {
 public:
  explicit Rng(std::uint64_t seed) : s_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
  std::uint64_t next() {
    s_ ^= s_ >> 12;
    s_ ^= s_ << 25;
    s_ ^= s_ >> 27;
    return s_ * 0x2545F4914F6CDD1Dull;
  }
  double uniform() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
  double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
  int below(int n) { return int(uniform() * n); }

 private:
  std::uint64_t s_;
};

// Value noise that repeats every `period` pixels in both directions, so a texture
// made from it tiles without seams.
double periodic_noise(double x, double y, int period, int cells, std::uint32_t seed);

// Cairo surfaces and conversions.
struct Canvas {
  cairo_surface_t* surface = nullptr;
  cairo_t* cr = nullptr;
  int w = 0, h = 0;
  Canvas(int width, int height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  // The drawing flattened onto a background colour.
  Image image(Rgb under = {}) const;
  // Coverage (alpha 0..255) of each pixel.
  std::vector<std::uint8_t> alpha() const;
  void from(const Image& img);
};

void set_rgb(cairo_t* cr, Rgb c, double a = 1.0);
// A font by family, hinted lightly whatever the fontconfig set-up says (outlines drawn from
// text take the hinting: another set-up would paint other pixels).
void select_font(cairo_t* cr, const char* family, cairo_font_slant_t slant, cairo_font_weight_t weight);
Rgb mix(Rgb a, Rgb b, double t);
Rgb shade(Rgb c, double f);  // f < 1 darker, > 1 lighter
Rgb hex(std::uint32_t v);

bool write_png_rgb(const std::string& path, const Image& img);
bool write_png_palette(const std::string& path, const Image& img, const std::vector<Rgb>& palette,
                       const std::vector<std::uint8_t>& index);
// Reduces an image to at most `colours` entries by median cut; colours listed in
// `keep` are entered exactly and only pixels of exactly that colour map to them.
void quantise(const Image& img, int colours, const std::vector<Rgb>& keep, std::vector<Rgb>& palette,
              std::vector<std::uint8_t>& index);

// The artwork.
Image paint_tile_sheet();
// Faces 0 to 20 are the pilots'; 21, the knocked-out panel, carries words: in Japanese, the
// game's own language, or in "en".
Image paint_face(int n, const std::string& language = "ja");
Image paint_robot(int n);
Image paint_logo();
Image paint_icon(int size);  // the logo redrawn at 16, 32 or 48 pixels
Image paint_web_icon(int size, bool maskable);  // the logo drawn at any size, for the web page
Image paint_kanban();
// Ground texture and track colours shared by the sheet and the portraits.
Rgb ground_at(int x, int y);
Rgb grass_ground_at(int x, int y);

// Music and sounds: each returns false when a file could not be written.
bool write_music(const std::string& dir);
bool write_sounds(const std::string& dir);

}  // namespace paint
