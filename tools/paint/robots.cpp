// The enemy robots' portraits, the logo and the signboard.
#include <algorithm>
#include <cmath>

#include "paint.hpp"

namespace paint {

namespace {

constexpr double kPi = 3.14159265358979323846;

void ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
  cairo_restore(cr);
}

void fill_stroke(cairo_t* cr, Rgb fill, Rgb line, double width) {
  set_rgb(cr, fill);
  cairo_fill_preserve(cr);
  set_rgb(cr, line);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

void gloss(cairo_t* cr, double x0, double y0, double x1, double y1, Rgb light, Rgb mid, Rgb dark) {
  cairo_pattern_t* g = cairo_pattern_create_linear(x0, y0, x1, y1);
  cairo_pattern_add_color_stop_rgb(g, 0, light.r / 255.0, light.g / 255.0, light.b / 255.0);
  cairo_pattern_add_color_stop_rgb(g, 0.45, mid.r / 255.0, mid.g / 255.0, mid.b / 255.0);
  cairo_pattern_add_color_stop_rgb(g, 1, dark.r / 255.0, dark.g / 255.0, dark.b / 255.0);
  cairo_set_source(cr, g);
  cairo_pattern_destroy(g);
}

// ------------------------------------------------------------ backdrop: track over grass

void backdrop(Canvas& c, int seed) {
  Image g(c.w, c.h);
  for (int y = 0; y < c.h; ++y)
    for (int x = 0; x < c.w; ++x) g.at(x, y) = grass_ground_at(x + seed * 7, y + seed * 13);
  c.from(g);
  cairo_t* cr = c.cr;
  Rng rng(900 + seed);
  // grass tufts beside the track
  for (int i = 0; i < 14; ++i) {
    double x = rng.uniform() < 0.5 ? rng.range(2, 20) : rng.range(107, 125);
    double y = rng.range(6, 124);
    for (int b = 0; b < 6; ++b) {
      double a = -kPi / 2 + (b - 2.5) * 0.35;
      double len = rng.range(5, 8);
      cairo_move_to(cr, x - 1, y);
      double mx = x + std::cos(a) * len * 0.5, my = y + std::sin(a) * len * 0.5;
      double tx = x + std::cos(a) * len, ty = y + std::sin(a) * len;
      cairo_curve_to(cr, mx - 0.5, my, mx - 0.5, my, tx, ty);
      cairo_curve_to(cr, mx + 0.5, my, mx + 0.5, my, x + 1, y);
      cairo_close_path(cr);
      set_rgb(cr, mix(hex(0x4e8a2c), hex(0x9ccc52), rng.uniform()));
      cairo_fill(cr);
    }
  }
  // sleepers
  for (int k = 0; k < 4; ++k) {
    double y = 8 + k * 32 + (seed % 2) * 12;
    cairo_rectangle(cr, 17, y + 2, 94, 12);
    set_rgb(cr, hex(0x0a0804), 0.5);
    cairo_fill(cr);
    cairo_rectangle(cr, 15, y, 94, 11);
    gloss(cr, 0, y, 0, y + 11, hex(0x9a6c3e), hex(0x7a5230), hex(0x4a2e18));
    cairo_fill_preserve(cr);
    set_rgb(cr, hex(0x2a1a0c));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    for (double gx = 20; gx < 106; gx += 9) {
      cairo_move_to(cr, gx, y + 3 + std::fmod(gx, 3.0));
      cairo_line_to(cr, gx + 6, y + 3 + std::fmod(gx, 3.0));
    }
    set_rgb(cr, hex(0x5a3a20), 0.8);
    cairo_stroke(cr);
  }
  // two rails, the same steel as the field's
  for (double rx : {30.0, 92.0}) {
    const std::uint32_t cols[] = {0x24282c, 0x4c545c, 0x8a94a0, 0xc8d0d8, 0xa8b0bc, 0x1c2024};
    for (int i = 0; i < 6; ++i) {
      cairo_rectangle(cr, rx + i, 0, 1, c.h);
      set_rgb(cr, hex(cols[i]));
      cairo_fill(cr);
    }
    cairo_rectangle(cr, rx + 6, 0, 2, c.h);
    set_rgb(cr, hex(0x000000), 0.35);
    cairo_fill(cr);
  }
}

// ------------------------------------------------------------ beetles

struct Beetle {
  Rgb shell, shell_light, shell_dark, trim, eye;
  int kind;  // 0 rhinoceros, 1 ladybird, 2 stag, 3 scarab, 4 longhorn
};

const Beetle kBeetles[5] = {
    {hex(0x4a2e6a), hex(0xa07ad0), hex(0x180c28), hex(0xe8b838), hex(0xff3020), 0},
    {hex(0xd82828), hex(0xff9a8a), hex(0x5a0808), hex(0x202020), hex(0x60f0ff), 1},
    {hex(0x3a6aa0), hex(0xa8d0f0), hex(0x102038), hex(0xc0c8d0), hex(0xffe040), 2},
    {hex(0x2a8a5a), hex(0xb0f0a0), hex(0x0a3020), hex(0xe8c040), hex(0xff6020), 3},
    {hex(0x8a8a24), hex(0xf0f090), hex(0x303008), hex(0xe86a18), hex(0x40ff80), 4},
};

void leg(cairo_t* cr, double x0, double y0, double x1, double y1, double x2, double y2) {
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  cairo_line_to(cr, x2, y2);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  set_rgb(cr, hex(0x101014));
  cairo_set_line_width(cr, 5.0);
  cairo_stroke_preserve(cr);
  set_rgb(cr, hex(0x8a8e98));
  cairo_set_line_width(cr, 2.2);
  cairo_stroke(cr);
  ellipse(cr, x1, y1, 2.4, 2.4);
  fill_stroke(cr, hex(0xc0c4cc), hex(0x101014), 1.0);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

void rivet(cairo_t* cr, double x, double y) {
  ellipse(cr, x, y, 1.3, 1.3);
  fill_stroke(cr, hex(0xe0e0e8), hex(0x202028), 0.6);
}

void beetle(cairo_t* cr, const Beetle& b) {
  const double cx = 63.5;
  double body_top = 46, body_bottom = 112, half = b.kind == 3 ? 31 : (b.kind == 4 ? 24 : 28);
  // shadow
  ellipse(cr, cx + 4, 82, half + 4, 36);
  set_rgb(cr, hex(0x000000), 0.4);
  cairo_fill(cr);
  // legs, three a side
  for (int side : {-1, 1}) {
    leg(cr, cx + side * 14, 52, cx + side * 34, 44, cx + side * 44, 26);
    leg(cr, cx + side * 16, 68, cx + side * 40, 70, cx + side * 50, 58);
    leg(cr, cx + side * 16, 86, cx + side * 38, 98, cx + side * 46, 118);
  }
  // antennae of the longhorn, swept back over the shell
  if (b.kind == 4)
    for (int side : {-1, 1}) {
      cairo_move_to(cr, cx + side * 6, 24);
      cairo_curve_to(cr, cx + side * 30, 4, cx + side * 56, 20, cx + side * 58, 60);
      set_rgb(cr, hex(0x101010));
      cairo_set_line_width(cr, 3.4);
      cairo_stroke_preserve(cr);
      const double dash[] = {4, 3};
      cairo_set_dash(cr, dash, 2, 0);
      set_rgb(cr, b.trim);
      cairo_set_line_width(cr, 1.8);
      cairo_stroke(cr);
      cairo_set_dash(cr, nullptr, 0, 0);
    }
  // elytra: two glossy wing cases
  for (int side : {-1, 1}) {
    cairo_move_to(cr, cx, body_top);
    cairo_curve_to(cr, cx + side * half * 1.2, body_top, cx + side * half * 1.05, body_bottom - 24, cx + side * 1, body_bottom);
    cairo_close_path(cr);
    gloss(cr, cx + side * half * 0.2, body_top, cx + side * half, body_bottom, b.shell_light, b.shell, b.shell_dark);
    cairo_fill_preserve(cr);
    set_rgb(cr, hex(0x08080c));
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    // a bright sheen
    cairo_move_to(cr, cx + side * half * 0.3, body_top + 8);
    cairo_curve_to(cr, cx + side * half * 0.8, body_top + 10, cx + side * half * 0.85, body_top + 30, cx + side * half * 0.6, body_top + 40);
    set_rgb(cr, hex(0xffffff), 0.45);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    // panel line and rivets
    cairo_move_to(cr, cx + side * 4, body_top + 6);
    cairo_curve_to(cr, cx + side * half * 0.8, body_top + 12, cx + side * half * 0.8, body_bottom - 26, cx + side * 4, body_bottom - 8);
    set_rgb(cr, b.shell_dark, 0.8);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    if (b.kind == 1) {
      const double spots[][3] = {{0.45, 62, 5.5}, {0.6, 84, 6.0}, {0.3, 98, 4.5}};
      for (const auto& s : spots) {
        ellipse(cr, cx + side * half * s[0], s[1], s[2], s[2]);
        set_rgb(cr, hex(0x141414));
        cairo_fill(cr);
      }
    }
    if (b.kind == 4) {
      for (int k = 0; k < 3; ++k) {
        cairo_move_to(cr, cx + side * 3, 62 + k * 14);
        cairo_line_to(cr, cx + side * (half - 2), 58 + k * 14);
      }
      set_rgb(cr, b.trim);
      cairo_set_line_width(cr, 3.0);
      cairo_stroke(cr);
    }
    if (b.kind == 3) {
      for (int k = 0; k < 3; ++k) rivet(cr, cx + side * (half * 0.55), 62 + k * 14);
    } else {
      rivet(cr, cx + side * (half * 0.7), body_top + 18);
    }
  }
  // centre seam
  cairo_move_to(cr, cx, body_top);
  cairo_line_to(cr, cx, body_bottom);
  set_rgb(cr, hex(0x08080c));
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
  // thorax plate
  double tw = half * 0.85;
  cairo_move_to(cr, cx - tw, 50);
  cairo_curve_to(cr, cx - tw, 34, cx - tw * 0.6, 28, cx, 28);
  cairo_curve_to(cr, cx + tw * 0.6, 28, cx + tw, 34, cx + tw, 50);
  cairo_curve_to(cr, cx + tw * 0.5, 54, cx - tw * 0.5, 54, cx - tw, 50);
  cairo_close_path(cr);
  gloss(cr, cx - tw, 28, cx + tw, 54, b.kind == 1 ? hex(0x606060) : b.shell_light, b.kind == 1 ? hex(0x282828) : b.shell,
        hex(0x0c0c10));
  cairo_fill_preserve(cr);
  set_rgb(cr, hex(0x08080c));
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
  cairo_move_to(cr, cx - tw * 0.7, 47);
  cairo_curve_to(cr, cx - tw * 0.3, 50, cx + tw * 0.3, 50, cx + tw * 0.7, 47);
  set_rgb(cr, b.trim);
  cairo_set_line_width(cr, 2.0);
  cairo_stroke(cr);
  // horns and jaws, before the head so the head sits on top of their roots
  if (b.kind == 0) {
    // thoracic horn and the great forked head horn
    cairo_move_to(cr, cx - 7, 34);
    cairo_curve_to(cr, cx - 6, 22, cx - 3, 14, cx, 5);
    cairo_curve_to(cr, cx + 3, 14, cx + 6, 22, cx + 7, 34);
    cairo_close_path(cr);
    gloss(cr, cx - 5, 4, cx + 5, 34, hex(0xfff0a0), b.trim, hex(0x6a4a00));
    cairo_fill_preserve(cr);
    set_rgb(cr, hex(0x100808));
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);
    cairo_move_to(cr, cx, 8);
    cairo_curve_to(cr, cx - 4, 4, cx - 8, 4, cx - 11, 1);
    cairo_move_to(cr, cx, 8);
    cairo_curve_to(cr, cx + 4, 4, cx + 8, 4, cx + 11, 1);
    set_rgb(cr, hex(0x100808));
    cairo_set_line_width(cr, 3.5);
    cairo_stroke_preserve(cr);
    set_rgb(cr, b.trim);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
  }
  if (b.kind == 2)
    for (int side : {-1, 1}) {
      cairo_move_to(cr, cx + side * 7, 27);
      cairo_curve_to(cr, cx + side * 30, 18, cx + side * 26, 2, cx + side * 5, 0);
      cairo_curve_to(cr, cx + side * 18, 7, cx + side * 17, 15, cx + side * 3, 22);
      cairo_close_path(cr);
      gloss(cr, cx, 2, cx + side * 20, 26, hex(0xf0f4ff), b.trim, hex(0x404850));
      cairo_fill_preserve(cr);
      set_rgb(cr, hex(0x08080c));
      cairo_set_line_width(cr, 1.4);
      cairo_stroke(cr);
      cairo_move_to(cr, cx + side * 21, 11);
      cairo_line_to(cr, cx + side * 15, 12);
      cairo_set_line_width(cr, 1.6);
      cairo_stroke(cr);
    }
  // head
  double hw = b.kind == 3 ? 14 : 11;
  ellipse(cr, cx, 27, hw, 8);
  gloss(cr, cx - hw, 19, cx + hw, 35, hex(0x9098a8), hex(0x40444e), hex(0x101014));
  cairo_fill_preserve(cr);
  set_rgb(cr, hex(0x08080c));
  cairo_set_line_width(cr, 1.4);
  cairo_stroke(cr);
  if (b.kind == 3) {
    // the scarab's toothed shovel
    for (int k = -2; k <= 2; ++k) {
      cairo_move_to(cr, cx + k * 5 - 2.5, 21);
      cairo_line_to(cr, cx + k * 5, 15);
      cairo_line_to(cr, cx + k * 5 + 2.5, 21);
    }
    set_rgb(cr, b.trim);
    cairo_fill_preserve(cr);
    set_rgb(cr, hex(0x08080c));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
  // glowing eyes
  for (int side : {-1, 1}) {
    double ex = cx + side * (hw - 4), ey = 26;
    ellipse(cr, ex, ey, 3.6, 3.0);
    set_rgb(cr, b.eye, 0.35);
    cairo_fill(cr);
    ellipse(cr, ex, ey, 2.3, 2.0);
    fill_stroke(cr, b.eye, hex(0x000000), 0.8);
    ellipse(cr, ex - 0.7, ey - 0.6, 0.8, 0.7);
    set_rgb(cr, hex(0xffffff));
    cairo_fill(cr);
  }
  // exhaust at the tail
  for (int side : {-1, 1}) {
    ellipse(cr, cx + side * 7, body_bottom - 4, 3, 2.2);
    fill_stroke(cr, hex(0x303038), hex(0x08080c), 1);
    ellipse(cr, cx + side * 7, body_bottom - 4, 1.6, 1.1);
    set_rgb(cr, hex(0xffa030));
    cairo_fill(cr);
  }
}

// A little burst chip for the logo.
void chip_dot(cairo_t* cr, double x, double y, double r, Rgb col) {
  for (int i = 0; i < 16; ++i) {
    double a = -kPi / 2 + i * kPi / 8;
    double rr = i % 2 == 0 ? r : r * 0.72;
    if (i == 0) cairo_move_to(cr, x + std::cos(a) * rr, y + std::sin(a) * rr);
    else cairo_line_to(cr, x + std::cos(a) * rr, y + std::sin(a) * rr);
  }
  cairo_close_path(cr);
  fill_stroke(cr, col, hex(0x0a0a14), 1.0);
  ellipse(cr, x, y, r * 0.35, r * 0.35);
  set_rgb(cr, hex(0x18203a));
  cairo_fill(cr);
  ellipse(cr, x - r * 0.12, y - r * 0.12, r * 0.12, r * 0.12);
  set_rgb(cr, hex(0xffffff));
  cairo_fill(cr);
}

const std::uint32_t kSeven[7] = {0xe02030, 0xf07818, 0xf0cc10, 0x40c060, 0x2a9ae8, 0x6a5ae0, 0xe868c0};

void text_centre(cairo_t* cr, const char* text, double cx, double baseline) {
  cairo_text_extents_t e;
  cairo_text_extents(cr, text, &e);
  cairo_move_to(cr, cx - e.width / 2 - e.x_bearing, baseline);
  cairo_text_path(cr, text);
}

// The logo in a square of 64 units: a ring of seven chips round a gold 7, on dark blue.
void draw_logo(cairo_t* cr) {
  cairo_rectangle(cr, 0, 0, 64, 64);
  set_rgb(cr, hex(0x141a34));
  cairo_fill(cr);
  cairo_arc(cr, 32, 32, 21, 0, 2 * kPi);
  set_rgb(cr, hex(0x3a4a80));
  cairo_set_line_width(cr, 2.0);
  cairo_stroke(cr);
  for (int i = 0; i < 7; ++i) {
    double a = -kPi / 2 + i * 2 * kPi / 7;
    chip_dot(cr, 32 + std::cos(a) * 21, 32 + std::sin(a) * 21, 7.5, hex(kSeven[i]));
  }
  select_font(cr, "DejaVu Sans", CAIRO_FONT_SLANT_ITALIC, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, 24);
  text_centre(cr, "7", 32, 41);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  set_rgb(cr, hex(0x000000));
  cairo_set_line_width(cr, 3.0);
  cairo_stroke_preserve(cr);
  gloss(cr, 0, 22, 0, 42, hex(0xfff6c0), hex(0xf0c040), hex(0xc07010));
  cairo_fill(cr);
}

}  // namespace

Image paint_robot(int n) {
  Canvas c(127, 127);
  backdrop(c, n);
  beetle(c.cr, kBeetles[n]);
  return c.image();
}

Image paint_logo() {
  Canvas c(64, 64);
  draw_logo(c.cr);
  return c.image();
}

// The web page's icons: the logo drawn afresh at `size` pixels. A maskable one keeps the logo
// within its middle four fifths on the logo's dark blue edge to edge, as a launcher may cut
// the icon down to any shape inside the central circle of that diameter.
Image paint_web_icon(int size, bool maskable) {
  Canvas c(size, size);
  cairo_t* cr = c.cr;
  cairo_rectangle(cr, 0, 0, size, size);
  set_rgb(cr, hex(0x141a34));
  cairo_fill(cr);
  const double k = size / 64.0 * (maskable ? 0.8 : 1.0), at = (size - 64 * k) / 2;
  cairo_translate(cr, at, at);
  cairo_scale(cr, k, k);
  draw_logo(cr);
  return c.image();
}

// The logo redrawn small for the desktop's icons (16, 32 and 48 pixels; the larger ones are
// the logo itself, scaled by whole steps): the same ring of seven chips round a gold 7, its
// lines kept at least a pixel wide and the chips plainer as they shrink.
Image paint_icon(int size) {
  Canvas c(size, size);
  cairo_t* cr = c.cr;
  const double k = size / 64.0, mid = size / 2.0;
  const double ring = size > 16 ? 21 * k : 6.0;
  cairo_rectangle(cr, 0, 0, size, size);
  set_rgb(cr, hex(0x141a34));
  cairo_fill(cr);
  if (size > 16) {
    cairo_arc(cr, mid, mid, ring, 0, 2 * kPi);
    set_rgb(cr, hex(0x3a4a80));
    cairo_set_line_width(cr, std::max(1.0, 2 * k));
    cairo_stroke(cr);
  }
  for (int i = 0; i < 7; ++i) {
    double a = -kPi / 2 + i * 2 * kPi / 7;
    double x = mid + std::cos(a) * ring, y = mid + std::sin(a) * ring;
    if (size >= 48) {
      chip_dot(cr, x, y, 7.5 * k, hex(kSeven[i]));
    } else if (size >= 32) {
      ellipse(cr, x, y, 3.4, 3.4);
      fill_stroke(cr, hex(kSeven[i]), hex(0x0a0a14), 1.0);
    } else {
      ellipse(cr, x, y, 1.5, 1.5);
      set_rgb(cr, hex(kSeven[i]));
      cairo_fill(cr);
    }
  }
  if (size == 16) {
    // Too small for the lettered 7: one set pixel by pixel, a black shadow under a gold one.
    const int rows[8][2] = {{5, 6}, {5, 6}, {9, 2}, {8, 2}, {8, 2}, {7, 2}, {7, 2}, {6, 2}};
    for (int shadow : {1, 0})
      for (int r = 0; r < 8; ++r) {
        cairo_rectangle(cr, rows[r][0] + shadow, 4 + r + shadow, rows[r][1], 1);
        set_rgb(cr, shadow ? hex(0x000000) : mix(hex(0xfff0a0), hex(0xd08020), r / 7.0));
        cairo_fill(cr);
      }
    return c.image();
  }
  select_font(cr, "DejaVu Sans", CAIRO_FONT_SLANT_ITALIC, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, size == 32 ? 15 : 24 * k);  // a bolder 7 among the plain chips
  text_centre(cr, "7", mid, size == 32 ? 21.5 : 41 * k);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  set_rgb(cr, hex(0x000000));
  cairo_set_line_width(cr, std::max(1.5, 3 * k));
  cairo_stroke_preserve(cr);
  gloss(cr, 0, 22 * k, 0, 42 * k, hex(0xfff6c0), hex(0xf0c040), hex(0xc07010));
  cairo_fill(cr);
  return c.image();
}

Image paint_kanban() {
  Canvas c(320, 96);
  cairo_t* cr = c.cr;
  cairo_rectangle(cr, 0, 0, 320, 96);
  set_rgb(cr, hex(0x101428));
  cairo_fill(cr);
  // the board: dark steel with a gold rim and corner bolts
  cairo_rectangle(cr, 6.5, 6.5, 307, 83);
  gloss(cr, 0, 6, 0, 90, hex(0x3a4670), hex(0x222a4a), hex(0x121830));
  cairo_fill_preserve(cr);
  set_rgb(cr, hex(0xd0a448));
  cairo_set_line_width(cr, 3.0);
  cairo_stroke(cr);
  cairo_rectangle(cr, 11.5, 11.5, 297, 73);
  set_rgb(cr, hex(0x7c5a1c));
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
  for (double x : {16.0, 304.0})
    for (double y : {16.0, 80.0}) {
      ellipse(cr, x, y, 2.6, 2.6);
      fill_stroke(cr, hex(0xf6dc8c), hex(0x3a2a10), 1.0);
    }
  select_font(cr, "DejaVu Sans", CAIRO_FONT_SLANT_OBLIQUE, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, 46);
  cairo_text_extents_t e;
  cairo_text_extents(cr, "Seven Chips", &e);
  cairo_set_font_size(cr, 46 * 262 / e.width);  // fit inside the rim
  text_centre(cr, "Seven Chips", 160, 57);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  set_rgb(cr, hex(0x000000));
  cairo_set_line_width(cr, 6.0);
  cairo_stroke_preserve(cr);
  set_rgb(cr, hex(0xc01828));
  cairo_set_line_width(cr, 3.0);
  cairo_stroke_preserve(cr);
  gloss(cr, 0, 22, 0, 60, hex(0xfff8d0), hex(0xf8c838), hex(0xe07010));
  cairo_fill(cr);
  for (int i = 0; i < 7; ++i) chip_dot(cr, 160 + (i - 3) * 22, 74, 6.5, hex(kSeven[i]));
  return c.image();
}

}  // namespace paint
