// The seven pilots' faces (normal, asleep, in danger) and the out-of-action panel.
#include <algorithm>
#include <cmath>
#include <vector>

#include "paint.hpp"

namespace paint {

namespace {

constexpr double kPi = 3.14159265358979323846;

enum class Mood { Normal, Asleep, Danger };
enum class Hair { TwinTails, LongStraight, Short, Headband, Spiky, Bob };

struct Pilot {
  Hair hair;
  Rgb hair_col, hair_dark, eye_col, suit, suit_trim, ground;
  double eye_h;  // eye height in pixels
  bool blush, lipstick;
};

const Pilot kPilots[7] = {
    {Hair::TwinTails, hex(0xf486b8), hex(0xa8306c), hex(0x2f74e0), hex(0xc8465e), hex(0xf6f0f0), hex(0xfbe8f0), 12.5, true, false},
    {Hair::LongStraight, hex(0x3cae6c), hex(0x16583a), hex(0xc06018), hex(0x34466e), hex(0xd8c070), hex(0xe4f2e6), 9.5, false, true},
    {Hair::Short, hex(0x2e2e40), hex(0x0e0e16), hex(0x6a4028), hex(0x3a72b4), hex(0xe8ecf4), hex(0xe2eaf6), 11.0, false, false},
    {Hair::Headband, hex(0x8c5428), hex(0x4a2a10), hex(0x2a6a44), hex(0x4e7e3a), hex(0xe8d8a0), hex(0xf4ecdc), 10.5, false, false},
    {Hair::Spiky, hex(0xf6c83a), hex(0xa07410), hex(0xc83420), hex(0x34343e), hex(0xd84030), hex(0xece6f6), 10.5, false, false},
    {Hair::Short, hex(0xc8864a), hex(0x6a3a14), hex(0x201810), hex(0x6a8ab0), hex(0xf0f0f0), hex(0xe4f4f4), 12.0, false, false},
    {Hair::Bob, hex(0xf48a2a), hex(0xa04808), hex(0x22a05c), hex(0x7250b4), hex(0xf2e8ff), hex(0xfff0dc), 12.0, true, false},
};

const Rgb kSkin = hex(0xffe4d0), kSkinShade = hex(0xf2bca2), kSkinLine = hex(0x9a5848);
const Rgb kInk = hex(0x24161c);

void rgb(cairo_t* cr, Rgb c, double a = 1.0) { set_rgb(cr, c, a); }

void fill_stroke(cairo_t* cr, Rgb fill, Rgb line, double width) {
  rgb(cr, fill);
  cairo_fill_preserve(cr);
  rgb(cr, line);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

void ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
  cairo_restore(cr);
}

void linear(cairo_t* cr, double x0, double y0, double x1, double y1, Rgb a, Rgb b) {
  cairo_pattern_t* g = cairo_pattern_create_linear(x0, y0, x1, y1);
  cairo_pattern_add_color_stop_rgb(g, 0, a.r / 255.0, a.g / 255.0, a.b / 255.0);
  cairo_pattern_add_color_stop_rgb(g, 1, b.r / 255.0, b.g / 255.0, b.b / 255.0);
  cairo_set_source(cr, g);
  cairo_pattern_destroy(g);
}

// ------------------------------------------------------------ body

void shoulders(cairo_t* cr, const Pilot& p) {
  // neck
  cairo_rectangle(cr, 38.5, 54, 13, 18);
  rgb(cr, kSkin);
  cairo_fill(cr);
  cairo_move_to(cr, 38.5, 58);
  cairo_curve_to(cr, 42, 63, 48, 63, 51.5, 58);
  cairo_line_to(cr, 51.5, 54);
  cairo_line_to(cr, 38.5, 54);
  cairo_close_path(cr);
  rgb(cr, kSkinShade);
  cairo_fill(cr);
  cairo_move_to(cr, 38.5, 55);
  cairo_line_to(cr, 38.5, 70);
  cairo_move_to(cr, 51.5, 55);
  cairo_line_to(cr, 51.5, 70);
  rgb(cr, kSkinLine);
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
  // pilot suit
  cairo_move_to(cr, 0, 91);
  cairo_line_to(cr, 2, 82);
  cairo_curve_to(cr, 6, 72, 24, 69, 37, 67);
  cairo_line_to(cr, 53, 67);
  cairo_curve_to(cr, 66, 69, 84, 72, 88, 82);
  cairo_line_to(cr, 90, 91);
  cairo_close_path(cr);
  fill_stroke(cr, p.suit, shade(p.suit, 0.45), 1.2);
  // high collar
  cairo_move_to(cr, 35, 66.5);
  cairo_curve_to(cr, 38, 72, 52, 72, 55, 66.5);
  cairo_line_to(cr, 53, 65);
  cairo_curve_to(cr, 50, 68, 40, 68, 37, 65);
  cairo_close_path(cr);
  fill_stroke(cr, p.suit_trim, shade(p.suit, 0.45), 1.0);
  // a shoulder seam, soft, well away from the label rows' middle
  cairo_move_to(cr, 6, 76);
  cairo_curve_to(cr, 10, 73, 16, 72, 20, 72);
  cairo_move_to(cr, 84, 76);
  cairo_curve_to(cr, 80, 73, 74, 72, 70, 72);
  rgb(cr, p.suit_trim, 0.8);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
}

// ------------------------------------------------------------ head

void face_path(cairo_t* cr) {
  cairo_move_to(cr, 25, 34);
  cairo_curve_to(cr, 25, 46, 30, 56, 45, 63.5);
  cairo_curve_to(cr, 60, 56, 65, 46, 65, 34);
  cairo_arc_negative(cr, 45, 34, 20, 0, -kPi);
  cairo_close_path(cr);
}

void head(cairo_t* cr) {
  // ears
  ellipse(cr, 25, 44, 3.2, 5.0);
  fill_stroke(cr, kSkin, kSkinLine, 1.0);
  ellipse(cr, 65, 44, 3.2, 5.0);
  fill_stroke(cr, kSkin, kSkinLine, 1.0);
  face_path(cr);
  linear(cr, 0, 30, 0, 64, kSkin, shade(kSkin, 0.97));
  cairo_fill_preserve(cr);
  rgb(cr, kSkinLine);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
}

// An open eye; `side` is -1 for the eye on the left of the picture, +1 on the right.
void open_eye(cairo_t* cr, double cx, double cy, double h, Rgb iris, int side) {
  double w = 12.0;
  double l = cx - w / 2, r = cx + w / 2;
  double outer = side < 0 ? l : r;
  (void)outer;
  auto sclera = [&] {
    cairo_move_to(cr, l, cy - h * 0.18 + (side < 0 ? 0.8 : -0.6));
    cairo_curve_to(cr, l + 2, cy - h * 0.55, r - 2, cy - h * 0.55, r, cy - h * 0.18 + (side < 0 ? -0.6 : 0.8));
    cairo_curve_to(cr, r - 1, cy + h * 0.5, l + 1, cy + h * 0.5, l, cy - h * 0.18 + (side < 0 ? 0.8 : -0.6));
    cairo_close_path(cr);
  };
  sclera();
  rgb(cr, hex(0xfcfcff));
  cairo_fill(cr);
  cairo_save(cr);
  sclera();
  cairo_clip(cr);
  double ix = cx - side * 0.6, iy = cy + h * 0.05;
  ellipse(cr, ix, iy, 4.3, h * 0.5);
  linear(cr, 0, iy - h * 0.5, 0, iy + h * 0.5, shade(iris, 0.35), shade(iris, 1.35));
  cairo_fill(cr);
  ellipse(cr, ix, iy - 0.3, 2.2, h * 0.28);
  rgb(cr, shade(iris, 0.18));
  cairo_fill(cr);
  // the upper lid's shadow on the eyeball
  cairo_rectangle(cr, l, cy - h * 0.6, w, h * 0.22);
  rgb(cr, shade(iris, 0.3), 0.35);
  cairo_fill(cr);
  ellipse(cr, ix - 1.5, iy - h * 0.2, 1.7, 1.9);
  rgb(cr, hex(0xffffff));
  cairo_fill(cr);
  ellipse(cr, ix + 1.6, iy + h * 0.25, 0.9, 0.9);
  rgb(cr, hex(0xffffff), 0.9);
  cairo_fill(cr);
  cairo_restore(cr);
  // upper lash line, heavier at the outer corner, with a flick
  cairo_move_to(cr, l - (side < 0 ? 1.2 : 0), cy - h * 0.18 + (side < 0 ? 1.2 : -0.6));
  cairo_curve_to(cr, l + 2, cy - h * 0.58, r - 2, cy - h * 0.58, r + (side > 0 ? 1.2 : 0), cy - h * 0.18 + (side < 0 ? -0.6 : 1.2));
  rgb(cr, kInk);
  cairo_set_line_width(cr, 2.2);
  cairo_stroke(cr);
  double fx = side < 0 ? l - 0.8 : r + 0.8;
  cairo_move_to(cr, fx, cy - h * 0.12);
  cairo_line_to(cr, fx + side * 2.2, cy - h * 0.3);
  cairo_set_line_width(cr, 1.4);
  cairo_stroke(cr);
  // lower lash
  cairo_move_to(cr, cx - side * 1.5, cy + h * 0.47);
  cairo_line_to(cr, cx + side * 4.5, cy + h * 0.36);
  rgb(cr, kInk, 0.7);
  cairo_set_line_width(cr, 0.9);
  cairo_stroke(cr);
}

void closed_eye(cairo_t* cr, double cx, double cy, int side) {
  cairo_move_to(cr, cx - 6, cy + 0.5);
  cairo_curve_to(cr, cx - 3, cy + 4.2, cx + 3, cy + 4.2, cx + 6, cy + 0.5);
  rgb(cr, kInk);
  cairo_set_line_width(cr, 1.9);
  cairo_stroke(cr);
  double ox = side < 0 ? cx - 6 : cx + 6;
  cairo_move_to(cr, ox, cy + 0.8);
  cairo_line_to(cr, ox + side * 1.6, cy + 2.2);
  cairo_move_to(cr, cx + side * 3.2, cy + 3.0);
  cairo_line_to(cr, cx + side * 4.0, cy + 4.8);
  cairo_set_line_width(cr, 1.1);
  cairo_stroke(cr);
}

// Squeezed shut in pain: > and <.
void pained_eye(cairo_t* cr, double cx, double cy, int side) {
  double tipx = cx - side * 4.5;  // the point aims at the nose
  double backx = cx + side * 5.5;
  cairo_move_to(cr, backx, cy - 4.5);
  cairo_line_to(cr, tipx, cy + 0.2);
  cairo_line_to(cr, backx, cy + 4.0);
  rgb(cr, kInk);
  cairo_set_line_width(cr, 2.3);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  // a tear at the outer corner
  double tx = cx + side * 6.5, ty = cy + 4.5;
  cairo_move_to(cr, tx, ty - 2.5);
  cairo_curve_to(cr, tx + 2.2, ty + 0.5, tx + 1.8, ty + 3, tx, ty + 3);
  cairo_curve_to(cr, tx - 1.8, ty + 3, tx - 2.2, ty + 0.5, tx, ty - 2.5);
  fill_stroke(cr, hex(0xa8d8ff), hex(0x3a78c0), 0.8);
}

void brows(cairo_t* cr, Mood mood, Rgb col, double y) {
  for (int side : {-1, 1}) {
    double cx = 45 + side * 10.5;
    double inner_y = y, outer_y = y;
    if (mood == Mood::Danger) {
      inner_y = y - 3.5;
      outer_y = y + 1.2;
    }
    if (mood == Mood::Asleep) {
      inner_y = y + 1.0;
      outer_y = y + 1.5;
    }
    double ix = cx - side * 5.5, ox = cx + side * 6.0;
    cairo_move_to(cr, ix, inner_y);
    cairo_curve_to(cr, ix + side * 3, inner_y - 2.2, ox - side * 3, outer_y - 2.6, ox, outer_y);
    rgb(cr, col);
    cairo_set_line_width(cr, 1.8);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  }
}

void mouth(cairo_t* cr, Mood mood, const Pilot& p) {
  if (mood == Mood::Normal) {
    if (p.lipstick) {
      cairo_move_to(cr, 41, 57.5);
      cairo_curve_to(cr, 43, 59.5, 47, 59.5, 49, 57.5);
      cairo_curve_to(cr, 47, 58.3, 43, 58.3, 41, 57.5);
      fill_stroke(cr, hex(0xc83050), hex(0x8a1830), 1.0);
    } else if (p.blush) {
      // open smile
      cairo_move_to(cr, 41, 56.5);
      cairo_curve_to(cr, 42, 61.5, 48, 61.5, 49, 56.5);
      cairo_close_path(cr);
      fill_stroke(cr, hex(0xb83444), kInk, 1.1);
      ellipse(cr, 45, 59.3, 2.4, 1.1);
      rgb(cr, hex(0xf47c84));
      cairo_fill(cr);
    } else {
      cairo_move_to(cr, 41.5, 57);
      cairo_curve_to(cr, 43, 59.4, 47, 59.4, 48.5, 57);
      rgb(cr, kInk);
      cairo_set_line_width(cr, 1.3);
      cairo_stroke(cr);
    }
  } else if (mood == Mood::Asleep) {
    ellipse(cr, 45.5, 58.2, 1.8, 1.3);
    fill_stroke(cr, hex(0xb85058), kInk, 1.0);
  } else {
    // mouth open in a cry of pain, upper teeth showing
    auto shape = [cr] {
      cairo_move_to(cr, 39.5, 56.2);
      cairo_curve_to(cr, 42, 55.0, 48, 55.0, 50.5, 56.2);
      cairo_curve_to(cr, 50, 60.5, 47.5, 62.0, 45, 62.0);
      cairo_curve_to(cr, 42.5, 62.0, 40, 60.5, 39.5, 56.2);
      cairo_close_path(cr);
    };
    shape();
    rgb(cr, hex(0x7a1424));
    cairo_fill(cr);
    cairo_save(cr);
    shape();
    cairo_clip(cr);
    cairo_rectangle(cr, 38, 54, 14, 3.3);
    rgb(cr, hex(0xfafafa));
    cairo_fill(cr);
    ellipse(cr, 45, 62, 3.2, 1.8);
    rgb(cr, hex(0xe86070));
    cairo_fill(cr);
    cairo_restore(cr);
    shape();
    rgb(cr, kInk);
    cairo_set_line_width(cr, 1.1);
    cairo_stroke(cr);
  }
}

void nose(cairo_t* cr) {
  cairo_move_to(cr, 45.5, 51.5);
  cairo_line_to(cr, 44.5, 53.8);
  cairo_line_to(cr, 46, 54);
  rgb(cr, kSkinLine, 0.8);
  cairo_set_line_width(cr, 0.9);
  cairo_stroke(cr);
}

void cheeks(cairo_t* cr, Mood mood, bool blush) {
  if (blush || mood == Mood::Asleep) {
    for (int side : {-1, 1}) {
      ellipse(cr, 45 + side * 12.5, 53.5, 4.0, 2.0);
      rgb(cr, hex(0xff8a9a), 0.45);
      cairo_fill(cr);
      for (int k = 0; k < 3; ++k) {
        double x = 45 + side * 12.5 - 2 + k * 2;
        cairo_move_to(cr, x + 0.8, 52.4);
        cairo_line_to(cr, x - 0.4, 54.6);
      }
      rgb(cr, hex(0xe05a70), 0.6);
      cairo_set_line_width(cr, 0.7);
      cairo_stroke(cr);
    }
  }
  if (mood == Mood::Danger) {
    // a scratch plaster on the cheek
    cairo_save(cr);
    cairo_translate(cr, 58, 55);
    cairo_rotate(cr, -0.5);
    cairo_rectangle(cr, -4.5, -1.6, 9, 3.2);
    fill_stroke(cr, hex(0xf4d8b0), hex(0xa87850), 0.8);
    cairo_rectangle(cr, -1.5, -1.6, 3, 3.2);
    rgb(cr, hex(0xe0c090));
    cairo_fill(cr);
    cairo_restore(cr);
  }
}

void sweat(cairo_t* cr, double x, double y) {
  cairo_move_to(cr, x, y - 5);
  cairo_curve_to(cr, x + 3.5, y, x + 3, y + 4, x, y + 4);
  cairo_curve_to(cr, x - 3, y + 4, x - 3.5, y, x, y - 5);
  fill_stroke(cr, hex(0xb8e4ff), hex(0x3a78c0), 1.0);
  ellipse(cr, x - 1, y + 1.5, 0.9, 1.2);
  rgb(cr, hex(0xffffff));
  cairo_fill(cr);
}

// ------------------------------------------------------------ hair

struct Pt {
  double x, y;
};

// Front hair: over the crown from (x_left, y_side) to (x_right, y_side), then back
// along a lower edge of strand tips and notches given from right to left.
void bangs_path(cairo_t* cr, double radius, double cy, const std::vector<Pt>& edge) {
  cairo_arc(cr, 45, cy, radius, kPi, 2 * kPi);
  Pt prev{45 + radius, cy};
  for (const Pt& q : edge) {
    double mx = (prev.x + q.x) / 2;
    double top = std::min(prev.y, q.y);
    cairo_curve_to(cr, mx + (prev.x - q.x) * 0.15, top - 0.5, mx, top, q.x, q.y);
    prev = q;
  }
  cairo_close_path(cr);
}

void hair_shine(cairo_t* cr, double cy, double r, Rgb col) {
  cairo_arc(cr, 45, cy, r, kPi * 1.12, kPi * 1.38);
  cairo_move_to(cr, 45 + r * std::cos(kPi * 1.55), cy + r * std::sin(kPi * 1.55));
  cairo_arc(cr, 45, cy, r, kPi * 1.55, kPi * 1.8);
  rgb(cr, shade(col, 1.45), 0.85);
  cairo_set_line_width(cr, 2.4);
  cairo_stroke(cr);
}

void strands(cairo_t* cr, Rgb dark, const std::vector<std::array<double, 4>>& lines) {
  for (const auto& l : lines) {
    cairo_move_to(cr, l[0], l[1]);
    cairo_curve_to(cr, l[0], (l[1] + l[3]) / 2, l[2], (l[1] + l[3]) / 2, l[2], l[3]);
  }
  rgb(cr, dark, 0.6);
  cairo_set_line_width(cr, 0.9);
  cairo_stroke(cr);
}

void back_hair(cairo_t* cr, const Pilot& p) {
  switch (p.hair) {
    case Hair::TwinTails:
      cairo_move_to(cr, 45, 9);
      cairo_curve_to(cr, 70, 9, 70, 34, 68, 50);
      cairo_curve_to(cr, 66, 56, 60, 57, 56, 57);
      cairo_line_to(cr, 34, 57);
      cairo_curve_to(cr, 30, 57, 24, 56, 22, 50);
      cairo_curve_to(cr, 20, 34, 20, 9, 45, 9);
      fill_stroke(cr, shade(p.hair_col, 0.85), p.hair_dark, 1.2);
      for (int side : {-1, 1}) {
        double x = 45 + side * 22;
        cairo_move_to(cr, x, 22);
        cairo_curve_to(cr, x + side * 18, 22, x + side * 20, 48, x + side * 14, 66);
        cairo_curve_to(cr, x + side * 12, 70, x + side * 8, 70, x + side * 9, 64);
        cairo_curve_to(cr, x + side * 12, 50, x + side * 6, 36, x - side * 1, 30);
        cairo_close_path(cr);
        fill_stroke(cr, p.hair_col, p.hair_dark, 1.2);
        cairo_move_to(cr, x + side * 5, 30);
        cairo_curve_to(cr, x + side * 13, 40, x + side * 14, 52, x + side * 12, 62);
        rgb(cr, shade(p.hair_col, 1.35), 0.8);
        cairo_set_line_width(cr, 1.6);
        cairo_stroke(cr);
      }
      break;
    case Hair::LongStraight:
      cairo_move_to(cr, 45, 9);
      cairo_curve_to(cr, 72, 9, 72, 40, 74, 80);
      cairo_line_to(cr, 62, 80);
      cairo_line_to(cr, 58, 60);
      cairo_line_to(cr, 32, 60);
      cairo_line_to(cr, 28, 80);
      cairo_line_to(cr, 16, 80);
      cairo_curve_to(cr, 18, 40, 18, 9, 45, 9);
      cairo_close_path(cr);
      fill_stroke(cr, shade(p.hair_col, 0.8), p.hair_dark, 1.2);
      break;
    case Hair::Bob:
      cairo_move_to(cr, 45, 9);
      cairo_curve_to(cr, 72, 9, 71, 40, 70, 55);
      cairo_curve_to(cr, 72, 60, 68, 62, 64, 60);
      cairo_line_to(cr, 26, 60);
      cairo_curve_to(cr, 22, 62, 18, 60, 20, 55);
      cairo_curve_to(cr, 19, 40, 18, 9, 45, 9);
      cairo_close_path(cr);
      fill_stroke(cr, shade(p.hair_col, 0.85), p.hair_dark, 1.2);
      break;
    default:
      break;
  }
}

void front_hair(cairo_t* cr, const Pilot& p, Mood mood) {
  (void)mood;
  Rgb c = p.hair_col, d = p.hair_dark;
  switch (p.hair) {
    case Hair::TwinTails: {
      bangs_path(cr, 22.5, 33, {{66, 46}, {62, 32}, {58, 38}, {53, 27}, {48, 36}, {44, 26}, {39, 35}, {34, 27}, {29, 37}, {27, 31}, {24, 46}});
      fill_stroke(cr, c, d, 1.2);
      hair_shine(cr, 33, 17, c);
      strands(cr, d, {{{40, 14, 38, 30}}, {{52, 14, 55, 28}}});
      // hair ties
      for (int side : {-1, 1}) {
        ellipse(cr, 45 + side * 22, 23, 3.2, 3.2);
        fill_stroke(cr, hex(0xffd040), hex(0x9a6a00), 1.0);
      }
      break;
    }
    case Hair::LongStraight: {
      // side-swept fringe from a parting on the left
      cairo_move_to(cr, 22, 56);
      cairo_curve_to(cr, 18, 36, 22, 12, 40, 10.5);
      cairo_curve_to(cr, 60, 9, 70, 22, 68, 56);
      cairo_curve_to(cr, 66, 44, 64, 38, 62, 34);
      cairo_curve_to(cr, 56, 34, 46, 30, 38, 24);
      cairo_curve_to(cr, 37, 30, 34, 33, 30, 35);
      cairo_curve_to(cr, 28, 40, 27, 48, 22, 56);
      cairo_close_path(cr);
      fill_stroke(cr, c, d, 1.2);
      hair_shine(cr, 33, 18, c);
      strands(cr, d, {{{38, 12, 56, 32}}, {{32, 16, 26, 44}}, {{60, 18, 66, 46}}});
      // earring
      ellipse(cr, 65, 50.5, 1.4, 1.4);
      fill_stroke(cr, hex(0xffe060), hex(0x8a6a00), 0.8);
      break;
    }
    case Hair::Short: {
      bangs_path(cr, 22.5, 34, {{66, 42}, {64, 30}, {59, 35}, {56, 25}, {51, 33}, {46, 24}, {42, 33}, {37, 25}, {33, 33}, {29, 27}, {26, 36}, {24, 42}});
      fill_stroke(cr, c, d, 1.2);
      hair_shine(cr, 34, 17, c);
      // a cowlick on the crown
      cairo_move_to(cr, 48, 12);
      cairo_curve_to(cr, 52, 6, 58, 6, 60, 7);
      cairo_curve_to(cr, 56, 8, 54, 11, 53, 13);
      fill_stroke(cr, c, d, 1.0);
      break;
    }
    case Hair::Headband: {
      // spiky crown above the band
      cairo_move_to(cr, 23, 34);
      const Pt crown[] = {{20, 24}, {27, 20}, {25, 10}, {34, 14}, {38, 4}, {44, 12}, {52, 3}, {54, 13}, {64, 8}, {62, 18}, {71, 20}, {67, 27}, {67, 34}};
      for (const Pt& q : crown) cairo_line_to(cr, q.x, q.y);
      cairo_close_path(cr);
      cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
      fill_stroke(cr, c, d, 1.2);
      hair_shine(cr, 32, 15, c);
      // the band and its knot tails
      cairo_move_to(cr, 23.5, 28);
      cairo_curve_to(cr, 32, 21, 58, 21, 66.5, 28);
      cairo_line_to(cr, 66, 34);
      cairo_curve_to(cr, 58, 27.5, 32, 27.5, 24, 34);
      cairo_close_path(cr);
      fill_stroke(cr, hex(0xe02a2a), hex(0x701010), 1.1);
      cairo_move_to(cr, 28, 26.5);
      cairo_curve_to(cr, 36, 23, 54, 23, 62, 26.5);
      rgb(cr, hex(0xff8a7a), 0.9);
      cairo_set_line_width(cr, 1.0);
      cairo_stroke(cr);
      cairo_move_to(cr, 24, 30);
      cairo_curve_to(cr, 16, 28, 12, 32, 6, 30);
      cairo_line_to(cr, 9, 35);
      cairo_curve_to(cr, 14, 36, 18, 33, 24, 33);
      cairo_close_path(cr);
      cairo_move_to(cr, 24, 32);
      cairo_curve_to(cr, 18, 36, 14, 42, 9, 44);
      cairo_line_to(cr, 14, 46);
      cairo_curve_to(cr, 18, 42, 21, 37, 25, 34);
      cairo_close_path(cr);
      fill_stroke(cr, hex(0xe02a2a), hex(0x701010), 1.0);
      // plate on the band
      cairo_rectangle(cr, 40, 23.5, 10, 4.5);
      fill_stroke(cr, hex(0xd0d4dc), hex(0x505460), 0.9);
      // a few locks below the band
      cairo_move_to(cr, 30, 31);
      cairo_line_to(cr, 33, 37);
      cairo_line_to(cr, 36, 30);
      cairo_move_to(cr, 52, 29);
      cairo_line_to(cr, 56, 36);
      cairo_line_to(cr, 59, 30);
      cairo_close_path(cr);
      fill_stroke(cr, c, d, 0.9);
      break;
    }
    case Hair::Spiky: {
      cairo_move_to(cr, 24, 40);
      const Pt spikes[] = {{14, 34}, {21, 28}, {8, 18}, {24, 18}, {18, 4}, {33, 12}, {36, -2}, {44, 10}, {54, -2}, {56, 11},
                           {72, 2}, {67, 16}, {82, 16}, {70, 26}, {77, 34}, {66, 38}};
      for (const Pt& q : spikes) cairo_line_to(cr, q.x, q.y);
      cairo_line_to(cr, 66, 40);
      cairo_line_to(cr, 62, 31);
      cairo_line_to(cr, 58, 37);
      cairo_line_to(cr, 53, 28);
      cairo_line_to(cr, 48, 36);
      cairo_line_to(cr, 44, 27);
      cairo_line_to(cr, 39, 35);
      cairo_line_to(cr, 34, 28);
      cairo_line_to(cr, 29, 37);
      cairo_close_path(cr);
      cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
      fill_stroke(cr, c, d, 1.2);
      strands(cr, d, {{{30, 16, 26, 24}}, {{44, 12, 44, 22}}, {{58, 14, 62, 22}}});
      hair_shine(cr, 34, 16, c);
      break;
    }
    case Hair::Bob: {
      bangs_path(cr, 23, 33, {{69, 56}, {65, 40}, {61, 30}, {56, 35}, {52, 27}, {47, 34}, {42, 26}, {37, 33}, {33, 27}, {29, 36}, {25, 40}, {21, 56}});
      fill_stroke(cr, c, d, 1.2);
      hair_shine(cr, 33, 17, c);
      strands(cr, d, {{{28, 20, 23, 48}}, {{62, 20, 67, 48}}});
      // ribbon on the left
      cairo_move_to(cr, 28, 16);
      cairo_line_to(cr, 18, 9);
      cairo_line_to(cr, 19, 22);
      cairo_close_path(cr);
      cairo_move_to(cr, 28, 16);
      cairo_line_to(cr, 36, 6);
      cairo_line_to(cr, 39, 18);
      cairo_close_path(cr);
      fill_stroke(cr, hex(0x38c8a0), hex(0x106048), 1.0);
      ellipse(cr, 28, 16, 2.6, 2.6);
      fill_stroke(cr, hex(0x70e8c0), hex(0x106048), 1.0);
      break;
    }
  }
}

// ------------------------------------------------------------ the animal

void animal(cairo_t* cr, const Pilot& p, Mood mood) {
  Rgb fur = p.hair_col, dark = p.hair_dark, cream = hex(0xfaecd2);
  // body: a fluffy chest
  cairo_move_to(cr, 4, 91);
  cairo_curve_to(cr, 8, 72, 24, 56, 45, 56);
  cairo_curve_to(cr, 66, 56, 82, 72, 86, 91);
  cairo_close_path(cr);
  fill_stroke(cr, fur, dark, 1.2);
  cairo_move_to(cr, 32, 91);
  cairo_curve_to(cr, 32, 76, 38, 66, 45, 66);
  cairo_curve_to(cr, 52, 66, 58, 76, 58, 91);
  rgb(cr, cream);
  cairo_fill(cr);
  // scarf
  cairo_move_to(cr, 26, 60);
  cairo_curve_to(cr, 34, 68, 56, 68, 64, 60);
  cairo_line_to(cr, 65, 65);
  cairo_curve_to(cr, 56, 73, 34, 73, 25, 65);
  cairo_close_path(cr);
  fill_stroke(cr, p.suit, shade(p.suit, 0.45), 1.0);
  // ears
  for (int side : {-1, 1}) {
    cairo_move_to(cr, 45 + side * 10, 18);
    cairo_line_to(cr, 45 + side * 27, 1);
    cairo_line_to(cr, 45 + side * 25, 28);
    cairo_close_path(cr);
    fill_stroke(cr, fur, dark, 1.2);
    cairo_move_to(cr, 45 + side * 14, 18);
    cairo_line_to(cr, 45 + side * 24, 7);
    cairo_line_to(cr, 45 + side * 23, 24);
    cairo_close_path(cr);
    rgb(cr, hex(0xf0a8a0));
    cairo_fill(cr);
  }
  // furry head: a ring of tufts
  const int tufts = 14;
  auto ring = [](double a, double r) { return Pt{45 + std::cos(a) * r * 1.05, 40 + std::sin(a) * r * 0.9}; };
  for (int i = 0; i < tufts; ++i) {
    double a0 = 2 * kPi * i / tufts, a1 = 2 * kPi * (i + 1) / tufts;
    Pt v0 = ring(a0, 23.5), v1 = ring(a1, 23.5);
    Pt c0 = ring(a0 + (a1 - a0) * 0.15, 28.5), c1 = ring(a0 + (a1 - a0) * 0.75, 28.0);
    if (i == 0) cairo_move_to(cr, v0.x, v0.y);
    cairo_curve_to(cr, c0.x, c0.y, c1.x, c1.y, v1.x, v1.y);
  }
  cairo_close_path(cr);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  fill_stroke(cr, fur, dark, 1.2);
  // lighter mask and muzzle
  ellipse(cr, 45, 50, 15, 11);
  rgb(cr, cream);
  cairo_fill(cr);
  for (int side : {-1, 1}) {
    ellipse(cr, 45 + side * 12, 43, 8, 7);
    rgb(cr, cream);
    cairo_fill(cr);
  }
  // forehead stripe
  cairo_move_to(cr, 41, 16);
  cairo_curve_to(cr, 43, 24, 47, 24, 49, 16);
  rgb(cr, dark, 0.55);
  cairo_fill(cr);
  // eyes
  for (int side : {-1, 1}) {
    double cx = 45 + side * 11, cy = 41;
    if (mood == Mood::Normal) {
      ellipse(cr, cx, cy, 5.0, 6.0);
      rgb(cr, hex(0x1a1210));
      cairo_fill(cr);
      ellipse(cr, cx - 1.6, cy - 2.2, 1.9, 2.1);
      rgb(cr, hex(0xffffff));
      cairo_fill(cr);
      ellipse(cr, cx + 1.8, cy + 2.4, 0.9, 0.9);
      cairo_fill(cr);
    } else if (mood == Mood::Asleep) {
      closed_eye(cr, cx, cy - 1, side);
    } else {
      pained_eye(cr, cx, cy, side);
    }
  }
  brows(cr, mood, dark, 31);
  // nose and mouth
  cairo_move_to(cr, 41.5, 47);
  cairo_curve_to(cr, 43, 45.5, 47, 45.5, 48.5, 47);
  cairo_curve_to(cr, 47.5, 49.5, 46, 50.5, 45, 50.5);
  cairo_curve_to(cr, 44, 50.5, 42.5, 49.5, 41.5, 47);
  fill_stroke(cr, hex(0x2a1a1a), hex(0x100808), 0.8);
  if (mood == Mood::Danger) {
    cairo_move_to(cr, 38.5, 57);
    cairo_curve_to(cr, 41, 52.5, 49, 52.5, 51.5, 57);
    cairo_curve_to(cr, 48, 55.5, 42, 55.5, 38.5, 57);
    fill_stroke(cr, hex(0xfafafa), kInk, 1.1);
  } else {
    cairo_move_to(cr, 45, 50.5);
    cairo_line_to(cr, 45, 53);
    cairo_move_to(cr, 40, 52);
    cairo_curve_to(cr, 41.5, 55, 44, 55, 45, 53);
    cairo_curve_to(cr, 46, 55, 48.5, 55, 50, 52);
    rgb(cr, kInk);
    cairo_set_line_width(cr, 1.1);
    cairo_stroke(cr);
  }
  // whiskers
  for (int side : {-1, 1})
    for (int k = 0; k < 3; ++k) {
      cairo_move_to(cr, 45 + side * 9, 50 + k * 1.8);
      cairo_line_to(cr, 45 + side * 21, 47 + k * 3.5);
    }
  rgb(cr, dark, 0.7);
  cairo_set_line_width(cr, 0.7);
  cairo_stroke(cr);
  if (mood == Mood::Asleep || mood == Mood::Normal) {
    for (int side : {-1, 1}) {
      ellipse(cr, 45 + side * 15, 50, 3, 1.6);
      rgb(cr, hex(0xff8a9a), 0.4);
      cairo_fill(cr);
    }
  }
  if (mood == Mood::Danger) sweat(cr, 70, 30);
}

Image pilot_face(int pilot, Mood mood) {
  const Pilot& p = kPilots[pilot];
  Canvas c(90, 90);
  cairo_t* cr = c.cr;
  // light ground with a soft glow behind the head
  cairo_rectangle(cr, 0, 0, 90, 90);
  rgb(cr, p.ground);
  cairo_fill(cr);
  ellipse(cr, 45, 34, 40, 34);
  rgb(cr, shade(p.ground, 1.5), 0.6);
  cairo_fill(cr);
  if (mood == Mood::Danger) {
    // a pale red flush over the ground
    cairo_rectangle(cr, 0, 0, 90, 66);
    linear(cr, 0, 0, 0, 66, hex(0xffb0b0), p.ground);
    cairo_paint_with_alpha(cr, 0.0);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, 66);
    cairo_pattern_add_color_stop_rgba(g, 0, 1.0, 0.55, 0.55, 0.55);
    cairo_pattern_add_color_stop_rgba(g, 1, 1.0, 0.55, 0.55, 0.0);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
  }
  if (p.hair == Hair::Short && pilot == 5) {
    animal(cr, p, mood);
    return c.image();
  }
  back_hair(cr, p);
  shoulders(cr, p);
  head(cr);
  double eye_y = 45;
  for (int side : {-1, 1}) {
    double cx = 45 + side * 10;
    if (mood == Mood::Normal) open_eye(cr, cx, eye_y, p.eye_h, p.eye_col, side);
    else if (mood == Mood::Asleep) closed_eye(cr, cx, eye_y, side);
    else pained_eye(cr, cx, eye_y, side);
  }
  cheeks(cr, mood, p.blush);
  nose(cr);
  mouth(cr, mood, p);
  front_hair(cr, p, mood);
  brows(cr, mood, p.hair_dark, 36.5);
  if (mood == Mood::Danger) sweat(cr, 68, 34);
  return c.image();
}

// The panel's words, a line or two, in each language the game speaks: the game's own and English.
// A line wider than `widest` is narrowed to it.
struct Words {
  const char* family;
  cairo_font_weight_t weight;
  double size, first_y, line_gap, widest;
  std::vector<const char*> lines;
};
const Words kOutOfAction{"VL Gothic", CAIRO_FONT_WEIGHT_NORMAL, 33, 40, 36, 90, {"戦闘", "不能"}};
const Words kOutOfActionEn{"DejaVu Sans", CAIRO_FONT_WEIGHT_BOLD, 34, 48, 0, 68, {"DOWN"}};

Image out_of_action(const Words& words) {
  Canvas c(90, 90);
  cairo_t* cr = c.cr;
  cairo_rectangle(cr, 0, 0, 90, 90);
  linear(cr, 0, 0, 0, 90, hex(0x2a1418), hex(0x0c0608));
  cairo_fill(cr);
  // diagonal hazard stripes, faint
  for (int k = -90; k < 180; k += 12) {
    cairo_move_to(cr, k, 0);
    cairo_line_to(cr, k + 6, 0);
    cairo_line_to(cr, k - 84, 90);
    cairo_line_to(cr, k - 90, 90);
    cairo_close_path(cr);
  }
  rgb(cr, hex(0x3a1c20), 0.6);
  cairo_fill(cr);
  cairo_rectangle(cr, 3.5, 3.5, 83, 83);
  rgb(cr, hex(0x8a2830));
  cairo_set_line_width(cr, 2.0);
  cairo_stroke(cr);
  cairo_rectangle(cr, 6.5, 6.5, 77, 77);
  rgb(cr, hex(0x401418));
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
  select_font(cr, words.family, CAIRO_FONT_SLANT_NORMAL, words.weight);
  cairo_set_font_size(cr, words.size);
  for (std::size_t i = 0; i < words.lines.size(); ++i) {
    const char* line = words.lines[i];
    cairo_text_extents_t e;
    cairo_text_extents(cr, line, &e);
    const double narrow = std::min(1.0, words.widest / e.width);
    double x = 45 - (e.width / 2 + e.x_bearing) * narrow, y = words.first_y + double(i) * words.line_gap - (e.height / 2 + e.y_bearing) - 1;
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, narrow, 1.0);
    cairo_move_to(cr, 0, 0);
    cairo_text_path(cr, line);
    cairo_restore(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    rgb(cr, hex(0x000000));
    cairo_set_line_width(cr, 4.0);
    cairo_stroke_preserve(cr);
    linear(cr, 0, y - 28, 0, y, hex(0xff8070), hex(0xd01820));
    cairo_fill_preserve(cr);
    rgb(cr, hex(0xffd0c0));
    cairo_set_line_width(cr, 0.6);
    cairo_stroke(cr);
  }
  return c.image();
}

}  // namespace

Image paint_face(int n, const std::string& language) {
  if (n >= 21) return out_of_action(language == "en" ? kOutOfActionEn : kOutOfAction);
  return pilot_face(n / 3, Mood(n % 3));
}

}  // namespace paint
