// sevenchips-paint ROOT [--contact FILE] [--field FILE]
// Paints every picture, the music and the sound effects of the game into
// ROOT/assets, the desktop's and the web page's icons into ROOT/data/icons, and optionally a
// contact sheet of all the pictures and a mock of the battle screen laid from them.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "paint.hpp"

namespace {

struct Picture {
  std::string name;
  paint::Image image;
};

// Every picture at 1x and 3x, left to right in rows on a mid grey.
paint::Image contact_sheet(const std::vector<Picture>& pictures) {
  const int width = 1800, gap = 12;
  int x = gap, y = gap, row_h = 0;
  struct Place {
    const paint::Image* img;
    int f, x, y;
  };
  std::vector<Place> places;
  for (int f : {1, 3})
    for (const Picture& p : pictures) {
      int w = p.image.w * f, h = p.image.h * f;
      if (x + w + gap > width) {
        x = gap;
        y += row_h + gap;
        row_h = 0;
      }
      places.push_back({&p.image, f, x, y});
      x += w + gap;
      row_h = std::max(row_h, h);
    }
  paint::Image sheet(width, y + row_h + gap, {96, 96, 104});
  for (const Place& p : places) sheet.blit(p.img->scaled(p.f), p.x, p.y);
  return sheet;
}

// A mock of the battle screen laid from the sheet as the game lays it: ground,
// rock and grass clusters, two tracks, the frame, shaded panels, faces, an enemy
// and a few chips drawn through their masks. For checking the art together.
paint::Image field_mock(const paint::Image& sheet, const std::vector<Picture>& all) {
  paint::Image f(768, 576);
  auto put = [&](int col, int row, int t) { f.blit(sheet.crop((t % 6) * 32, (t / 6) * 32, 32, 32), col * 32, row * 32); };
  auto put_small = [&](int col, int row, int t) {
    f.blit(sheet.crop((t % 12) * 16, (t / 12) * 16, 16, 16), col * 16, row * 16);
  };
  paint::Rng rng(2024);
  for (int c = 0; c < 24; ++c)
    for (int r = 0; r < 18; ++r) put(c, r, 28);
  const int passes[4][5] = {{9, 3, 3, 1, 16}, {9, 3, 4, 20, 14}, {6, 4, 5, 1, 16}, {6, 4, 5, 19, 14}};
  for (const auto& p : passes)
    for (int k = 0; k < p[0]; ++k) {
      int a = rng.below(p[2]) + p[3], b = rng.below(p[4]) + (p[3] >= 19 ? 2 : 1);
      for (int d = -1; d <= 1; ++d) {
        put(a + d, b, p[1]);
        put(a, b + d, p[1]);
      }
    }
  for (int r = 0; r < 18; ++r)
    for (int left : {6, 12}) {
      put(left, r, 15);
      put(left + 5, r, 17);
      for (int c = left + 1; c < left + 5; ++c) {
        put(c, r, 28);
        if (rng.uniform() * 10 < 6) put(c, r, 16);
      }
    }
  for (int r = 2; r < 18; r += 3)
    for (int left : {6, 12}) {
      put(left, r, 21);
      put(left + 5, r, 23);
      for (int c = left + 1; c < left + 5; ++c) put(c, r, 22);
    }
  for (int i = 1; i < 47; ++i) put_small(i, 0, 5), put_small(i, 35, 5);
  for (int i = 1; i < 35; ++i) put_small(0, i, 4), put_small(47, i, 4);
  put_small(0, 0, 2), put_small(47, 0, 3), put_small(0, 35, 14), put_small(47, 35, 15);
  const int panels[4][4] = {{32, 32, 160, 224}, {608, 32, 736, 224}, {32, 240, 160, 304}, {608, 240, 736, 304}};
  for (const auto& p : panels) {
    for (int y = p[1]; y <= p[3]; ++y)
      for (int x = p[0]; x <= p[2]; ++x)
        if ((y - p[1]) % 2 == 0 || (x - p[0]) % 2 == 0) f.at(x, y) = {90, 30, 40};
    for (int k = 0; k < 6; ++k) {
      paint::Rgb g{std::uint8_t(50 * k), std::uint8_t(50 * k), std::uint8_t(50 * k)};
      for (int x = p[0] + k; x <= p[2] - k; ++x) f.at(x, p[1] + k) = g, f.at(x, p[3] - k) = g;
      for (int y = p[1] + k; y <= p[3] - k; ++y) f.at(p[0] + k, y) = g, f.at(p[2] - k, y) = g;
    }
  }
  for (int i = 0; i < 7; ++i) f.blit(all[1 + (i == 4 ? 21 : 3 * i + (i == 2 ? 1 : i == 5 ? 2 : 0))].image, 51 + 96 * i, 451);
  f.blit(all[23 + 1].image, 321, 33);
  // chips: OR the mask, then AND the sprite
  const int modes[7] = {0, 1, 2, 3, 4, 1, 2};
  const int mode_y[6] = {64, 32, 96, 128, 128, 128};
  for (int i = 0; i < 7; ++i) {
    int pose = i == 5 ? 1 : (i == 6 ? 2 : 0);
    int sx = (pose == 0 ? 0 : pose == 1 ? 64 : 128) + (i % 2) * 32;
    int sy = pose == 0 ? mode_y[modes[i]] : 32;
    int px = 224 + 48 * i, py = 170 + 55 * modes[i] - (pose ? 20 : 0);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        paint::Rgb& d = f.at(px + x, py + y);
        paint::Rgb m = sheet.at(sx + x, 160 + y), s = sheet.at(sx + x, sy + y);
        d = {std::uint8_t((d.r | m.r) & s.r), std::uint8_t((d.g | m.g) & s.g), std::uint8_t((d.b | m.b) & s.b)};
      }
  }
  return f;
}

}  // namespace

int main(int argc, char** argv) {
  std::string root, contact, field;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--contact") == 0 && i + 1 < argc) contact = argv[++i];
    else if (std::strcmp(argv[i], "--field") == 0 && i + 1 < argc) field = argv[++i];
    else if (root.empty()) root = argv[i];
    else {
      std::fprintf(stderr, "usage: %s ROOT [--contact FILE] [--field FILE]\n", argv[0]);
      return 2;
    }
  }
  if (root.empty()) {
    std::fprintf(stderr, "usage: %s ROOT [--contact FILE] [--field FILE]\n", argv[0]);
    return 2;
  }
  namespace fs = std::filesystem;
  fs::path assets = fs::path(root) / "assets";
  for (const char* sub : {"pictures", "bg", "se"}) fs::create_directories(assets / sub);
  std::string pics = (assets / "pictures").string() + "/";

  bool ok = true;
  std::vector<Picture> all;

  paint::Image sheet = paint::paint_tile_sheet();
  std::vector<paint::Rgb> palette;
  std::vector<std::uint8_t> index;
  paint::quantise(sheet, 256, {paint::kSheetWhite, paint::kBlack}, palette, index);
  ok &= paint::write_png_palette(pics + "chip.png", sheet, palette, index);
  for (std::size_t i = 0; i < index.size(); ++i) sheet.px[i] = palette[index[i]];
  all.push_back({"chip", sheet});

  for (int n = 0; n < 22; ++n) {
    char name[16];
    std::snprintf(name, sizeof name, "face%02d", n);
    all.push_back({name, paint::paint_face(n)});
  }
  for (int n = 0; n < 5; ++n) all.push_back({"robo" + std::to_string(n), paint::paint_robot(n)});
  const paint::Image logo = paint::paint_logo();
  all.push_back({"logo", logo});
  all.push_back({"kanban", paint::paint_kanban()});
  // A picture with words has one of its own in each other language the game speaks.
  fs::create_directories(assets / "pictures/en");
  all.push_back({"en/face21", paint::paint_face(21, "en")});
  for (std::size_t i = 1; i < all.size(); ++i) ok &= paint::write_png_rgb(pics + all[i].name + ".png", all[i].image);

  // The desktop's icons: the logo drawn again small, and scaled up by whole steps.
  for (int size : {16, 32, 48, 64, 128, 256}) {
    std::string dim = std::to_string(size) + "x" + std::to_string(size);
    fs::path dir = fs::path(root) / "data/icons/hicolor" / dim / "apps";
    fs::create_directories(dir);
    paint::Image icon = size < 64 ? paint::paint_icon(size) : logo.scaled(size / 64);
    ok &= paint::write_png_rgb((dir / "sevenchips.png").string(), icon);
  }
  // The web page's icons, for a phone's home screen: plain, and maskable for launchers that
  // cut icons to their own shape.
  fs::create_directories(fs::path(root) / "data/icons/web");
  for (int size : {192, 512})
    for (bool maskable : {false, true}) {
      std::string name = std::string("sevenchips-") + (maskable ? "maskable-" : "") + std::to_string(size) + ".png";
      ok &= paint::write_png_rgb((fs::path(root) / "data/icons/web" / name).string(), paint::paint_web_icon(size, maskable));
    }

  ok &= paint::write_music((assets / "bg").string());
  ok &= paint::write_sounds((assets / "se").string());

  if (!contact.empty()) {
    fs::path cp(contact);
    if (cp.has_parent_path()) fs::create_directories(cp.parent_path());
    ok &= paint::write_png_rgb(contact, contact_sheet(all));
  }
  if (!field.empty()) ok &= paint::write_png_rgb(field, field_mock(sheet, all));
  if (!ok) {
    std::fprintf(stderr, "sevenchips-paint: could not write every file under %s\n", assets.string().c_str());
    return 1;
  }
  return 0;
}
