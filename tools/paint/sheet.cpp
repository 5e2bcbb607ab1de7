// The tile sheet: ground, track, frame pieces and the robot chips with their masks.
#include <algorithm>
#include <cmath>
#include <functional>

#include "paint.hpp"

namespace paint {

namespace {

constexpr double kPi = 3.14159265358979323846;

// ---------------------------------------------------------------- ground

double hash01(int x, int y, std::uint32_t seed) {
  std::uint32_t h = std::uint32_t(x & 31) * 73856093u ^ std::uint32_t(y & 31) * 19349663u ^ seed * 83492791u;
  h = (h ^ (h >> 15)) * 2246822519u;
  h ^= h >> 13;
  return (h & 0xFFFF) / 65535.0;
}

}  // namespace

// Dark mossy earth, repeating every 32 pixels both ways.
Rgb ground_at(int x, int y) {
  x &= 31;
  y &= 31;
  double n = 0.55 * periodic_noise(x, y, 32, 4, 11) + 0.3 * periodic_noise(x, y, 32, 8, 12) +
             0.15 * periodic_noise(x, y, 32, 16, 13);
  double moss = periodic_noise(x + 7, y + 3, 32, 4, 14);
  Rgb earth = mix(hex(0x2c2a1c), hex(0x4a4428), n);
  Rgb green = mix(hex(0x26361c), hex(0x3e5426), n);
  Rgb c = mix(earth, green, std::clamp((moss - 0.35) * 2.0, 0.0, 1.0));
  double s = hash01(x, y, 5);
  if (s > 0.93) c = shade(c, 1.18);
  else if (s < 0.06) c = shade(c, 0.8);
  return c;
}

// Greener ground for the robot portraits' meadow.
Rgb grass_ground_at(int x, int y) {
  Rgb g = ground_at(x, y);
  double n = periodic_noise(x & 31, y & 31, 32, 8, 21);
  return mix(g, mix(hex(0x2e4a1e), hex(0x4c6e2a), n), 0.55);
}

namespace {

Image ground_tile() {
  Image t(32, 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) t.at(x, y) = ground_at(x, y);
  return t;
}

// ---------------------------------------------------------------- track

constexpr int kRailLeft = 11;  // rail occupies x 11..16 of its cell: a little left of centre

Rgb rail_px(int dx, int y, int variant, Rgb under) {
  double wear = periodic_noise(0, y, 32, 4, 40 + variant);
  switch (dx) {
    case 0: return hex(0x24282c);
    case 1: return mix(hex(0x4c545c), hex(0x58606a), wear);
    case 2: return mix(hex(0x8a94a0), hex(0x9aa4b0), wear);
    case 3: return mix(hex(0xc8d0d8), hex(0xe0e4ea), wear);
    case 4: return mix(hex(0xa8b0bc), hex(0xb4bcc6), wear);
    case 5: return hex(0x1c2024);
    case 6: return shade(under, 0.55);
    case 7: return shade(under, 0.78);
    default: return under;
  }
}

void draw_rail(Image& t, int variant) {
  for (int y = 0; y < 32; ++y)
    for (int dx = 0; dx < 8; ++dx) {
      Rgb& p = t.at(kRailLeft + dx, y);
      p = rail_px(dx, y, variant, p);
    }
}

Image pebble_tile() {
  Canvas c(32, 32);
  c.from(ground_tile());
  Rng rng(1601);
  cairo_t* cr = c.cr;
  // ballast spread over the whole cell, kept a pixel clear of its edges
  for (int i = 0; i < 34; ++i) {
    double r = rng.range(1.9, 2.9), a = rng.range(0, kPi);
    double x = rng.range(1.0 + r, 30.0 - r), y = rng.range(1.0 + r, 29.5 - r);
    double grey = rng.range(0.0, 1.0);
    Rgb base = mix(hex(0x4e4a42), hex(0x847e72), grey);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, a);
    cairo_scale(cr, 1.0, rng.range(0.65, 0.9));
    // shadow, stone, light cap
    cairo_arc(cr, 0.6, 0.9, r, 0, 2 * kPi);
    set_rgb(cr, hex(0x141208), 0.6);
    cairo_fill(cr);
    cairo_arc(cr, 0, 0, r, 0, 2 * kPi);
    set_rgb(cr, base);
    cairo_fill_preserve(cr);
    set_rgb(cr, hex(0x24221c), 0.8);
    cairo_set_line_width(cr, 0.7);
    cairo_stroke(cr);
    cairo_arc(cr, -r * 0.3, -r * 0.3, r * 0.45, 0, 2 * kPi);
    set_rgb(cr, shade(base, 1.25), 0.8);
    cairo_fill(cr);
    cairo_restore(cr);
  }
  return c.image();
}

Rgb wood_at(int x, int y) {
  double grain = periodic_noise(x & 31, y * 5, 32, 4, 70) * 0.6 + periodic_noise(x & 31, y * 9, 32, 8, 71) * 0.4;
  Rgb c = mix(hex(0x5a3a20), hex(0x8c6236), grain);
  if (hash01(x, y, 72) > 0.9) c = shade(c, 0.85);
  return c;
}

constexpr int kSleeperTop = 9, kSleeperBottom = 22;  // inclusive rows of the wood

// A sleeper segment from x0 to x1 (inclusive), with rounded ends where it stops.
void draw_sleeper(Image& t, int x0, int x1, bool end_left, bool end_right) {
  for (int y = kSleeperTop; y <= kSleeperBottom + 2; ++y)
    for (int x = x0; x <= x1; ++x) {
      bool corner_l = end_left && x == x0 && (y == kSleeperTop || y >= kSleeperBottom);
      bool corner_r = end_right && x == x1 && (y == kSleeperTop || y >= kSleeperBottom);
      Rgb& p = t.at(x, y);
      if (y > kSleeperBottom) {  // shadow on the ground below
        if (!(end_right && x >= x1 - 1) && !(end_left && x <= x0)) p = shade(p, y == kSleeperBottom + 1 ? 0.5 : 0.75);
        continue;
      }
      if (corner_l || corner_r) continue;
      Rgb w = wood_at(x, y);
      if (y == kSleeperTop) w = shade(w, 1.22);
      if (y == kSleeperTop + 1) w = shade(w, 1.08);
      if (y == kSleeperBottom) w = shade(w, 0.45);
      if (y == kSleeperBottom - 1) w = shade(w, 0.8);
      if ((end_left && x == x0) || (end_right && x == x1)) w = shade(w, 0.5);
      p = w;
    }
}

// The steel plate and bolts that hold the rail to a sleeper.
void draw_tie_plate(Image& t) {
  for (int y = kSleeperTop + 2; y <= kSleeperBottom - 2; ++y)
    for (int x = kRailLeft - 4; x <= kRailLeft + 9; ++x) {
      bool edge = y == kSleeperTop + 2 || y == kSleeperBottom - 2 || x == kRailLeft - 4 || x == kRailLeft + 9;
      t.at(x, y) = edge ? hex(0x202024) : (y == kSleeperTop + 3 ? hex(0x6a6a70) : hex(0x4a4a50));
    }
  auto bolt = [&t](int cx, int cy) {
    t.at(cx, cy) = hex(0xb8b8c0);
    t.at(cx + 1, cy) = hex(0x8a8a92);
    t.at(cx, cy + 1) = hex(0x8a8a92);
    t.at(cx + 1, cy + 1) = hex(0x303034);
  };
  bolt(kRailLeft - 3, kSleeperTop + 4);
  bolt(kRailLeft - 3, kSleeperBottom - 5);
  bolt(kRailLeft + 7, kSleeperTop + 4);
  bolt(kRailLeft + 7, kSleeperBottom - 5);
}

Image sleeper_tile(int which) {  // 0 left end, 1 middle, 2 right end
  Image t = ground_tile();
  if (which == 0) draw_sleeper(t, kRailLeft - 7, 31, true, false);
  if (which == 1) draw_sleeper(t, 0, 31, false, false);
  if (which == 2) draw_sleeper(t, 0, kRailLeft + 12, false, true);
  if (which != 1) {
    draw_tie_plate(t);
    draw_rail(t, which == 0 ? 0 : 1);
  }
  return t;
}

Image rocks_tile() {
  Canvas c(32, 32);
  c.from(ground_tile());
  cairo_t* cr = c.cr;
  struct Rock {
    double x, y, rx, ry;
    std::uint32_t tint;
  };
  const Rock rocks[] = {{11, 12, 7.5, 6.0, 0x8a8272}, {22, 20, 6.0, 5.0, 0x7a7468}, {9, 23, 4.0, 3.2, 0x948c7c},
                        {23, 8, 3.4, 2.8, 0x847c6e}};
  for (const Rock& r : rocks) {
    Rgb base = hex(r.tint);
    cairo_save(cr);
    cairo_translate(cr, r.x + 1.2, r.y + 1.6);
    cairo_scale(cr, r.rx, r.ry);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_restore(cr);
    set_rgb(cr, hex(0x0c0a06), 0.65);
    cairo_fill(cr);
    // faceted boulder: a lumpy polygon
    cairo_save(cr);
    cairo_translate(cr, r.x, r.y);
    cairo_scale(cr, r.rx, r.ry);
    const double lump[] = {1.0, 0.92, 1.0, 0.86, 0.97, 1.0, 0.9, 0.95};
    for (int k = 0; k < 8; ++k) {
      double a = k * kPi / 4 + 0.2;
      double m = lump[k];
      if (k == 0) cairo_move_to(cr, std::cos(a) * m, std::sin(a) * m);
      else cairo_line_to(cr, std::cos(a) * m, std::sin(a) * m);
    }
    cairo_close_path(cr);
    cairo_restore(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(r.x - r.rx, r.y - r.ry, r.x + r.rx, r.y + r.ry);
    Rgb hi = shade(base, 1.3), lo = shade(base, 0.55);
    cairo_pattern_add_color_stop_rgb(g, 0, hi.r / 255.0, hi.g / 255.0, hi.b / 255.0);
    cairo_pattern_add_color_stop_rgb(g, 1, lo.r / 255.0, lo.g / 255.0, lo.b / 255.0);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    cairo_set_line_width(cr, 1.0);
    set_rgb(cr, hex(0x1e1c16));
    cairo_stroke(cr);
    // a crack
    cairo_move_to(cr, r.x - r.rx * 0.2, r.y - r.ry * 0.5);
    cairo_line_to(cr, r.x + r.rx * 0.1, r.y);
    cairo_line_to(cr, r.x + r.rx * 0.05, r.y + r.ry * 0.45);
    set_rgb(cr, shade(base, 0.5), 0.8);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
  }
  return c.image();
}

void grass_tuft(cairo_t* cr, double x, double y, double size, Rng& rng) {
  for (int b = 0; b < 7; ++b) {
    double a = -kPi / 2 + (b - 3) * 0.32 + rng.range(-0.1, 0.1);
    double len = size * rng.range(0.7, 1.1);
    double tx = x + std::cos(a) * len, ty = y + std::sin(a) * len;
    cairo_move_to(cr, x - 1.2, y);
    cairo_curve_to(cr, x - 0.5, y - len * 0.4, tx - 0.6, ty + 1.5, tx, ty);
    cairo_curve_to(cr, tx + 0.3, ty + 1.5, x + 0.6, y - len * 0.4, x + 1.2, y);
    cairo_close_path(cr);
    double t = rng.uniform();
    set_rgb(cr, mix(hex(0x4e8a2c), hex(0x9ccc52), t));
    cairo_fill(cr);
  }
}

Image grass_tile() {
  Canvas c(32, 32);
  c.from(ground_tile());
  cairo_t* cr = c.cr;
  Rng rng(404);
  const double tufts[][3] = {{9, 14, 9}, {22, 11, 8}, {16, 26, 9}, {26, 27, 6}, {6, 27, 6}};
  for (const auto& t : tufts) {
    cairo_save(cr);
    cairo_translate(cr, t[0], t[1] + 1);
    cairo_scale(cr, 1.0, 0.35);
    cairo_arc(cr, 0, 0, t[2] * 0.6, 0, 2 * kPi);
    cairo_restore(cr);
    set_rgb(cr, hex(0x10180a), 0.55);
    cairo_fill(cr);
    grass_tuft(cr, t[0], t[1], t[2], rng);
  }
  return c.image();
}

Image floor_tile() {
  Image t(32, 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      int plank = y / 8;
      int shift = (plank * 13) & 31;
      int xx = (x + shift) & 31;
      Rgb w = mix(hex(0x8a5a30), hex(0xb88450), periodic_noise(xx, y * 6 + plank * 40, 32, 4, 80 + plank));
      if (y % 8 == 0) w = shade(w, 1.15);
      if (y % 8 == 7) w = hex(0x3a2412);
      if (xx == 0) w = hex(0x4a2e16);
      t.at(x, y) = w;
    }
  return t;
}

// ---------------------------------------------------------------- frame

// Colour of the frame's bands by distance (0..7) from the band's centre line.
Rgb band(int k, bool light) {
  static const std::uint32_t dark[8] = {0xf6dc8c, 0xd0a448, 0x7c5a1c, 0x2a2030, 0xb4bcd4, 0x7c84a4, 0x464c68, 0x101018};
  static const std::uint32_t pale[8] = {0xfff0c8, 0xf0d498, 0xc0a070, 0x8a8090, 0xe0e4f0, 0xbcc2d8, 0x9098b4, 0x505468};
  int i = k < 0 ? 0 : (k > 7 ? 7 : k);
  return hex((light ? pale : dark)[i]);
}

int band_index(double offset) { return int(std::fabs(offset)); }

// The 32x32 block of concentric bands; its quarters are the four corners.
Image frame_corners() {
  Image t(32, 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      double dx = std::fabs(x - 15.5), dy = std::fabs(y - 15.5);
      t.at(x, y) = band(band_index(std::max(dx, dy) - 8.0), false);
    }
  // a rivet where the centre lines turn
  for (int qy = 0; qy < 2; ++qy)
    for (int qx = 0; qx < 2; ++qx) {
      double cx = qx ? 23.5 : 7.5, cy = qy ? 23.5 : 7.5;
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
          double d = std::hypot(x - cx, y - cy);
          if (d < 3.2) t.at(x, y) = d < 2.2 ? (x + y < cx + cy ? hex(0xfff4c0) : hex(0xb08838)) : hex(0x3a2a10);
        }
    }
  return t;
}

// The L: vertical bands down the left half, horizontal bands across the top right.
Image frame_l(bool light) {
  Image t(32, 32, light ? hex(0x8a8070) : hex(0x141418));
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 16; ++x) t.at(x, y) = band(band_index(x - 7.5), light);
  for (int y = 0; y < 16; ++y)
    for (int x = 16; x < 32; ++x) t.at(x, y) = band(band_index(y - 7.5), light);
  return t;
}

// ---------------------------------------------------------------- chips

struct ChipSet {
  Rgb body, light, dark, ray;
};

const ChipSet kOrange{hex(0xf07818), hex(0xffc468), hex(0x6a2400), hex(0xffa030)};
const ChipSet kRed{hex(0xe02030), hex(0xff8890), hex(0x600010), hex(0xff5050)};
const ChipSet kBlue{hex(0x2a6ae8), hex(0x90c8ff), hex(0x0c2060), hex(0x58a0ff)};
const ChipSet kYellow{hex(0xf0cc10), hex(0xfff6a8), hex(0x6a5000), hex(0xffe448)};

using PathFn = std::function<void(cairo_t*)>;

void burst_path(cairo_t* cr, int frame) {
  const int rays = 8;
  double turn = frame ? kPi / rays : 0.0;
  for (int i = 0; i < rays * 2; ++i) {
    double a = -kPi / 2 + turn + i * kPi / rays;
    double r = (i % 2 == 0) ? 15.4 : 10.6;
    double x = 15.5 + std::cos(a) * r, y = 16.0 + std::sin(a) * r;
    if (i == 0) cairo_move_to(cr, x, y);
    else cairo_line_to(cr, x, y);
  }
  cairo_close_path(cr);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 15.5, 16.0, 11.8, 0, 2 * kPi);
}

void triangle_path(cairo_t* cr, int frame, bool up) {
  auto fy = [up](double y) { return up ? y : 32.0 - y; };
  cairo_move_to(cr, 15.5, fy(1.2));
  cairo_line_to(cr, 29.5, fy(22.5));
  cairo_line_to(cr, 1.5, fy(22.5));
  cairo_close_path(cr);
  const double a_dots[][2] = {{7.0, 27.6}, {15.5, 28.2}, {24.0, 27.6}};
  const double b_dots[][2] = {{11.0, 28.6}, {20.0, 28.6}};
  if (frame == 0)
    for (const auto& d : a_dots) {
      cairo_new_sub_path(cr);
      cairo_arc(cr, d[0], fy(d[1]), 3.0, 0, 2 * kPi);
    }
  else
    for (const auto& d : b_dots) {
      cairo_new_sub_path(cr);
      cairo_arc(cr, d[0], fy(d[1]), 3.3, 0, 2 * kPi);
    }
}

// Silhouette of a path at the sheet's scale: the pixels more than half covered.
std::vector<bool> silhouette(const PathFn& path) {
  Canvas c(32, 32);
  path(c.cr);
  cairo_set_fill_rule(c.cr, CAIRO_FILL_RULE_WINDING);
  cairo_set_source_rgb(c.cr, 1, 1, 1);
  cairo_fill(c.cr);
  std::vector<std::uint8_t> a = c.alpha();
  std::vector<bool> s(a.size());
  for (std::size_t i = 0; i < a.size(); ++i) s[i] = a[i] >= 128;
  return s;
}

Image mask_cell(const std::vector<bool>& s) {
  Image t(32, 32);
  for (std::size_t i = 0; i < s.size(); ++i) t.px[i] = s[i] ? kSheetWhite : kBlack;
  return t;
}

// The painting of a chip is kept only inside its silhouette; outside is sheet white.
Image sprite_cell(const std::vector<bool>& s, const std::function<void(cairo_t*)>& draw) {
  Canvas c(32, 32);
  draw(c.cr);
  Image pic = c.image(hex(0x100808));
  Image t(32, 32, kSheetWhite);
  for (std::size_t i = 0; i < s.size(); ++i)
    if (s[i]) t.px[i] = pic.px[i];
  return t;
}

void radial(cairo_t* cr, double cx, double cy, double r, Rgb inner, Rgb outer) {
  cairo_pattern_t* g = cairo_pattern_create_radial(cx - r * 0.35, cy - r * 0.4, r * 0.1, cx, cy, r);
  cairo_pattern_add_color_stop_rgb(g, 0, inner.r / 255.0, inner.g / 255.0, inner.b / 255.0);
  cairo_pattern_add_color_stop_rgb(g, 1, outer.r / 255.0, outer.g / 255.0, outer.b / 255.0);
  cairo_set_source(cr, g);
  cairo_pattern_destroy(g);
}

void draw_burst(cairo_t* cr, int frame, const ChipSet& set) {
  // dark outline: the silhouette itself, then the rays and body inset
  burst_path(cr, frame);
  set_rgb(cr, hex(0x100808));
  cairo_fill(cr);
  const int rays = 8;
  double turn = frame ? kPi / rays : 0.0;
  for (int i = 0; i < rays; ++i) {
    double a = -kPi / 2 + turn + i * 2 * kPi / rays;
    double tip = 13.6;
    double w = kPi / rays * 0.55;
    cairo_move_to(cr, 15.5 + std::cos(a) * tip, 16.0 + std::sin(a) * tip);
    cairo_line_to(cr, 15.5 + std::cos(a + w) * 9.5, 16.0 + std::sin(a + w) * 9.5);
    cairo_line_to(cr, 15.5 + std::cos(a - w) * 9.5, 16.0 + std::sin(a - w) * 9.5);
    cairo_close_path(cr);
    set_rgb(cr, i % 2 ? set.ray : shade(set.ray, 1.2));
    cairo_fill(cr);
  }
  cairo_arc(cr, 15.5, 16.0, 10.2, 0, 2 * kPi);
  radial(cr, 15.5, 16.0, 10.2, set.light, set.body);
  cairo_fill(cr);
  // rim shadow at the lower right
  cairo_arc(cr, 15.5, 16.0, 9.4, 0.1 * kPi, 0.9 * kPi);
  cairo_set_line_width(cr, 1.6);
  set_rgb(cr, set.dark, 0.7);
  cairo_stroke(cr);
  // the pilot's canopy: a dark dome with a glint
  cairo_arc(cr, 15.5, 16.5, 4.6, 0, 2 * kPi);
  set_rgb(cr, hex(0x141020));
  cairo_fill(cr);
  cairo_arc(cr, 15.5, 16.5, 3.4, 0, 2 * kPi);
  radial(cr, 15.5, 16.5, 3.4, hex(0x8098c0), hex(0x203050));
  cairo_fill(cr);
  cairo_arc(cr, 14.0, 15.0, 1.1, 0, 2 * kPi);
  set_rgb(cr, hex(0xf0f0f0));
  cairo_fill(cr);
}

void draw_triangle(cairo_t* cr, int frame, bool up) {
  auto fy = [up](double y) { return up ? y : 32.0 - y; };
  triangle_path(cr, frame, up);
  set_rgb(cr, hex(0x081008));
  cairo_fill(cr);
  // hull
  cairo_move_to(cr, 15.5, fy(4.2));
  cairo_line_to(cr, 27.0, fy(21.0));
  cairo_line_to(cr, 4.0, fy(21.0));
  cairo_close_path(cr);
  cairo_pattern_t* g = cairo_pattern_create_linear(8, fy(4), 24, fy(22));
  cairo_pattern_add_color_stop_rgb(g, 0, 0.70, 1.0, 0.70);
  cairo_pattern_add_color_stop_rgb(g, 0.5, 0.25, 0.80, 0.35);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.08, 0.45, 0.18);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  // a ridge down the middle
  cairo_move_to(cr, 15.5, fy(6.0));
  cairo_line_to(cr, 15.5, fy(19.5));
  cairo_set_line_width(cr, 1.2);
  set_rgb(cr, hex(0x0c3812), 0.8);
  cairo_stroke(cr);
  // canopy
  cairo_arc(cr, 15.5, fy(15.0), 3.2, 0, 2 * kPi);
  set_rgb(cr, hex(0x101820));
  cairo_fill(cr);
  cairo_arc(cr, 15.0, fy(15.0) - 0.6, 1.0, 0, 2 * kPi);
  set_rgb(cr, hex(0xe0f0f0));
  cairo_fill(cr);
  // thruster sparks: hot centres in dark rims
  const double a_dots[][2] = {{7.0, 27.6}, {15.5, 28.2}, {24.0, 27.6}};
  const double b_dots[][2] = {{11.0, 28.6}, {20.0, 28.6}};
  auto spark = [cr](double x, double y, double r) {
    cairo_arc(cr, x, y, r, 0, 2 * kPi);
    radial(cr, x, y, r, hex(0xfff4a0), hex(0xff7010));
    cairo_fill(cr);
  };
  if (frame == 0)
    for (const auto& d : a_dots) spark(d[0], fy(d[1]), 2.0);
  else
    for (const auto& d : b_dots) spark(d[0], fy(d[1]), 2.3);
}

void put(Image& sheet, int tile, const Image& cell) { sheet.blit(cell, (tile % 6) * 32, (tile / 6) * 32); }

}  // namespace

Image paint_tile_sheet() {
  Image sheet(192, 192, kSheetWhite);
  put(sheet, 0, floor_tile());
  put(sheet, 1, frame_corners());
  put(sheet, 2, frame_l(false));
  put(sheet, 3, rocks_tile());
  put(sheet, 4, grass_tile());
  put(sheet, 5, frame_l(true));

  Image rail_a = ground_tile(), rail_b = ground_tile();
  draw_rail(rail_a, 0);
  draw_rail(rail_b, 1);
  put(sheet, 15, rail_a);
  put(sheet, 16, pebble_tile());
  put(sheet, 17, rail_b);
  put(sheet, 21, sleeper_tile(0));
  put(sheet, 22, sleeper_tile(1));
  put(sheet, 23, sleeper_tile(2));
  put(sheet, 28, ground_tile());

  // Nothing but the sheet white may be as light as the sheet white.
  for (Rgb& p : sheet.px)
    if (!(p == kSheetWhite) && p.r + p.g + p.b > 700) p = mix(p, kBlack, 1.0 - 700.0 / (p.r + p.g + p.b));

  const ChipSet* sets[4] = {&kOrange, &kRed, &kBlue, &kYellow};
  const int set_tiles[4] = {6, 12, 18, 24};
  for (int frame = 0; frame < 2; ++frame) {
    auto s = silhouette([frame](cairo_t* cr) { burst_path(cr, frame); });
    put(sheet, 30 + frame, mask_cell(s));
    for (int k = 0; k < 4; ++k)
      put(sheet, set_tiles[k] + frame, sprite_cell(s, [&](cairo_t* cr) { draw_burst(cr, frame, *sets[k]); }));
    for (int dir = 0; dir < 2; ++dir) {
      bool up = dir == 0;
      auto t = silhouette([frame, up](cairo_t* cr) { triangle_path(cr, frame, up); });
      put(sheet, (up ? 32 : 34) + frame, mask_cell(t));
      put(sheet, (up ? 8 : 10) + frame, sprite_cell(t, [frame, up](cairo_t* cr) { draw_triangle(cr, frame, up); }));
    }
  }
  // Chip pictures must never use the sheet white itself inside their silhouettes.
  for (int tile : {6, 7, 8, 9, 10, 11, 12, 13, 18, 19, 24, 25}) {
    int x0 = (tile % 6) * 32, y0 = (tile / 6) * 32;
    int mx = x0, my = 160;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        Rgb& p = sheet.at(x0 + x, y0 + y);
        bool inside = sheet.at(mx + x, my + y) == kSheetWhite;
        if (inside && p.r + p.g + p.b > 700) p = mix(p, kBlack, 1.0 - 700.0 / (p.r + p.g + p.b));
      }
  }
  return sheet;
}

}  // namespace paint
