// Checks of the game's painted assets: the tile sheet's layout rules, the frame
// and field tiles joining without seams, the pictures' sizes, the sound effects'
// format and levels, and the music's structure and length.
#include <png.h>
#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string kRoot = SEVENCHIPS_SOURCE_DIR;
const std::string kAssets = kRoot + "/assets";

struct Rgb {
  int r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
  int lum() const { return 299 * r + 587 * g + 114 * b; }
};
int diff(const Rgb& a, const Rgb& b) { return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b); }

const Rgb kWhite{255, 248, 255};
const Rgb kBlack{0, 0, 0};

struct Png {
  bool ok = false;
  int w = 0, h = 0, colour_type = -1, bit_depth = 0;
  std::vector<Rgb> palette;
  std::vector<int> index;  // palette index per pixel (palette images only)
  std::vector<Rgb> px;
  const Rgb& at(int x, int y) const { return px[std::size_t(y) * w + x]; }
};

// GCC 12 takes the setjmp error path for a second fclose of the same file; it is not.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuse-after-free"
#endif
Png read_png(const std::string& path) {
  Png out;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return out;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(f);
    return Png{};
  }
  png_init_io(png, f);
  png_read_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  out.w = int(png_get_image_width(png, info));
  out.h = int(png_get_image_height(png, info));
  out.colour_type = png_get_color_type(png, info);
  out.bit_depth = png_get_bit_depth(png, info);
  png_bytepp rows = png_get_rows(png, info);
  if (out.colour_type == PNG_COLOR_TYPE_PALETTE && out.bit_depth == 8) {
    png_colorp plte = nullptr;
    int n = 0;
    png_get_PLTE(png, info, &plte, &n);
    for (int i = 0; i < n; ++i) out.palette.push_back({plte[i].red, plte[i].green, plte[i].blue});
    for (int y = 0; y < out.h; ++y)
      for (int x = 0; x < out.w; ++x) {
        int k = rows[y][x];
        out.index.push_back(k);
        out.px.push_back(k < n ? out.palette[k] : Rgb{-1, -1, -1});
      }
    out.ok = true;
  } else if ((out.colour_type == PNG_COLOR_TYPE_RGB || out.colour_type == PNG_COLOR_TYPE_RGBA) && out.bit_depth == 8) {
    int step = out.colour_type == PNG_COLOR_TYPE_RGB ? 3 : 4;
    for (int y = 0; y < out.h; ++y)
      for (int x = 0; x < out.w; ++x) out.px.push_back({rows[y][x * step], rows[y][x * step + 1], rows[y][x * step + 2]});
    out.ok = true;
  }
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(f);
  return out;
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

const Png& sheet() {
  static const Png p = read_png(kAssets + "/pictures/chip.png");
  return p;
}

// A 32x32 cell of the sheet by tile number, or a 16x16 one by small-tile number.
struct Cell {
  int x0, y0, size;
  Rgb at(int x, int y) const { return sheet().at(x0 + x, y0 + y); }
};
Cell tile(int n) { return {(n % 6) * 32, (n / 6) * 32, 32}; }
Cell small(int n) { return {(n % 12) * 16, (n / 12) * 16, 16}; }

// ------------------------------------------------------------------ pictures

TEST(Pictures, EveryPictureHasItsSize) {
  struct Want {
    std::string name;
    int w, h;
  };
  std::vector<Want> want{{"chip", 192, 192}, {"logo", 64, 64}, {"kanban", 320, 96}};
  for (int i = 0; i < 22; ++i) {
    char n[16];
    std::snprintf(n, sizeof n, "face%02d", i);
    want.push_back({n, 90, 90});
  }
  for (int i = 0; i < 5; ++i) want.push_back({"robo" + std::to_string(i), 127, 127});
  for (const Want& w : want) {
    Png p = read_png(kAssets + "/pictures/" + w.name + ".png");
    ASSERT_TRUE(p.ok) << w.name;
    EXPECT_EQ(p.w, w.w) << w.name;
    EXPECT_EQ(p.h, w.h) << w.name;
  }
}

TEST(Pictures, EachFaceIsItsOwnPicture) {
  std::vector<Png> faces;
  for (int i = 0; i < 22; ++i) {
    char n[64];
    std::snprintf(n, sizeof n, "/pictures/face%02d.png", i);
    faces.push_back(read_png(kAssets + n));
    ASSERT_TRUE(faces.back().ok) << i;
  }
  for (int i = 0; i < 22; ++i)
    for (int j = i + 1; j < 22; ++j) EXPECT_NE(faces[i].px, faces[j].px) << "faces " << i << " and " << j;
  // within one pilot the three expressions differ around the eyes (rows 35..60)
  for (int p = 0; p < 7; ++p)
    for (int a = 0; a < 3; ++a)
      for (int b = a + 1; b < 3; ++b) {
        int changed = 0;
        for (int y = 35; y < 60; ++y)
          for (int x = 20; x < 70; ++x) changed += diff(faces[3 * p + a].at(x, y), faces[3 * p + b].at(x, y)) > 60;
        EXPECT_GT(changed, 40) << "pilot " << p << " expressions " << a << " and " << b;
      }
  // the out-of-action panel is dark; the pilots' faces are on a light ground
  auto mean_lum = [](const Png& p) {
    double s = 0;
    for (const Rgb& c : p.px) s += c.lum() / 1000.0;
    return s / double(p.px.size());
  };
  EXPECT_LT(mean_lum(faces[21]), 80.0);
  for (int i = 0; i < 21; ++i) EXPECT_GT(faces[i].at(2, 2).lum() / 1000, 200) << "ground of face " << i;
}

// ------------------------------------------------------------------ tile sheet

TEST(TileSheet, IsAnEightBitPaletteWhoseLightestColourIsTheSheetWhite) {
  const Png& p = sheet();
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(p.colour_type, PNG_COLOR_TYPE_PALETTE);
  EXPECT_EQ(p.bit_depth, 8);
  ASSERT_LE(p.palette.size(), 256u);
  std::set<int> used(p.index.begin(), p.index.end());
  int lightest = -1;
  for (int k : used) {
    ASSERT_LT(k, int(p.palette.size()));
    if (lightest < 0 || p.palette[k].lum() > p.palette[lightest].lum()) lightest = k;
  }
  EXPECT_EQ(p.palette[lightest], kWhite);
  // and it is strictly the lightest: no other used entry ties with it
  for (int k : used) {
    if (k != lightest) {
      EXPECT_LT(p.palette[k].lum(), kWhite.lum()) << "palette entry " << k;
    }
  }
}

TEST(TileSheet, EmptyCellsAreSheetWhite) {
  for (int n : {14, 20, 26, 27, 29})
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) ASSERT_EQ(tile(n).at(x, y), kWhite) << "tile " << n << " at " << x << "," << y;
}

TEST(TileSheet, MasksHoldOnlyWhiteAndBlack) {
  for (int n = 30; n <= 35; ++n) {
    int white = 0;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        Rgb c = tile(n).at(x, y);
        ASSERT_TRUE(c == kWhite || c == kBlack) << "mask " << n << " at " << x << "," << y;
        white += c == kWhite;
      }
    // a chip silhouette, neither empty nor the whole cell
    EXPECT_GT(white, 200) << "mask " << n;
    EXPECT_LT(white, 32 * 32 - 100) << "mask " << n;
  }
}

// Drawing a sprite by OR-ing its mask and then AND-ing it must leave the
// background exactly where the mask is black: the sprite is sheet white there and
// nowhere else.
TEST(TileSheet, EveryMaskIsTheSilhouetteOfTheSpritesThatUseIt) {
  const std::map<int, std::vector<int>> uses{{30, {6, 12, 18, 24}}, {31, {7, 13, 19, 25}}, {32, {8}},
                                             {33, {9}},             {34, {10}},            {35, {11}}};
  for (const auto& [mask, sprites] : uses)
    for (int s : sprites)
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
          bool outside = tile(mask).at(x, y) == kBlack;
          bool white = tile(s).at(x, y) == kWhite;
          ASSERT_EQ(outside, white) << "sprite " << s << " vs mask " << mask << " at " << x << "," << y;
        }
  // the mask lies 160 pixels below its sprite's first frame in the same column
  for (int s : {6, 8, 10}) EXPECT_EQ(tile(s).x0, tile(s + 24).x0);
}

TEST(TileSheet, ChipFramesAAndBDiffer) {
  for (int a : {6, 8, 10, 12, 18, 24, 30, 32, 34}) {
    int changed = 0;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) changed += !(tile(a).at(x, y) == tile(a + 1).at(x, y));
    EXPECT_GT(changed, 30) << "tiles " << a << " and " << a + 1;
  }
}

TEST(TileSheet, TheFourColourSetsOfTheRoundChipAreDistinct) {
  auto centre_ring = [](int n) {  // mean colour of a ring around the canopy
    long r = 0, g = 0, b = 0, k = 0;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        double d = std::hypot(x - 15.5, y - 16.0);
        if (d > 6 && d < 9) {
          Rgb c = tile(n).at(x, y);
          r += c.r, g += c.g, b += c.b, ++k;
        }
      }
    return Rgb{int(r / k), int(g / k), int(b / k)};
  };
  std::vector<int> sets{6, 12, 18, 24};
  for (std::size_t i = 0; i < sets.size(); ++i)
    for (std::size_t j = i + 1; j < sets.size(); ++j)
      EXPECT_GT(diff(centre_ring(sets[i]), centre_ring(sets[j])), 80) << sets[i] << " vs " << sets[j];
}

// Seams of the field. Across a join, each line of pixels (a row for a side-by-side
// join, a column for a stacked one) may step no more than it already steps inside
// either tile along that same line, with a little slack; and on average the step
// across the join must be like the steps just beside it, within the three lines
// nearest the edge on either side.
struct Seam {
  double mean_step, mean_inside;
  int worst_excess;
};

Seam side_by_side(const Cell& a, const Cell& b) {
  int n = a.size;
  double seam = 0, inside = 0;
  int inside_count = 0, worst = 0;
  for (int y = 0; y < n; ++y) {
    int step = diff(a.at(n - 1, y), b.at(0, y));
    int line_max = 0;
    for (int x = 0; x + 1 < n; ++x) {
      int da = diff(a.at(x, y), a.at(x + 1, y)), db = diff(b.at(x, y), b.at(x + 1, y));
      line_max = std::max({line_max, da, db});
      if (x >= n - 4) inside += da, ++inside_count;
      if (x < 3) inside += db, ++inside_count;
    }
    seam += step;
    worst = std::max(worst, step - line_max);
  }
  return {seam / n, inside / inside_count, worst};
}

Seam stacked(const Cell& a, const Cell& b) {
  int n = a.size;
  double seam = 0, inside = 0;
  int inside_count = 0, worst = 0;
  for (int x = 0; x < n; ++x) {
    int step = diff(a.at(x, n - 1), b.at(x, 0));
    int line_max = 0;
    for (int y = 0; y + 1 < n; ++y) {
      int da = diff(a.at(x, y), a.at(x, y + 1)), db = diff(b.at(x, y), b.at(x, y + 1));
      line_max = std::max({line_max, da, db});
      if (y >= n - 4) inside += da, ++inside_count;
      if (y < 3) inside += db, ++inside_count;
    }
    seam += step;
    worst = std::max(worst, step - line_max);
  }
  return {seam / n, inside / inside_count, worst};
}

void expect_seamless(const Seam& s, const std::string& what) {
  EXPECT_LE(s.worst_excess, 32) << what;
  EXPECT_LE(s.mean_step, 1.5 * s.mean_inside + 2.0) << what << ": seam " << s.mean_step << " inside " << s.mean_inside;
}

TEST(TileSheet, FieldTilesJoinWithoutSeams) {
  // side by side, as the field lays them: ground, rails, bed, sleepers, rocks and grass
  const std::vector<std::pair<int, int>> across{
      {28, 28}, {28, 15}, {15, 28}, {15, 16}, {16, 16}, {16, 28}, {28, 16}, {16, 17}, {28, 17}, {17, 15},
      {17, 28}, {28, 21}, {21, 22}, {22, 22}, {22, 23}, {23, 21}, {23, 28}, {3, 3},   {3, 28},  {28, 3},
      {4, 4},   {4, 28},  {28, 4},  {3, 4},   {4, 3}};
  for (auto [l, r] : across) expect_seamless(side_by_side(tile(l), tile(r)), std::to_string(l) + "|" + std::to_string(r));
  const std::vector<std::pair<int, int>> down{
      {28, 28}, {15, 15}, {15, 21}, {21, 15}, {17, 17}, {17, 23}, {23, 17}, {16, 16}, {16, 22}, {22, 16},
      {28, 22}, {22, 28}, {16, 28}, {28, 16}, {3, 3},   {3, 28},  {28, 3},  {4, 4},   {4, 28},  {28, 4}};
  for (auto [t, b] : down) expect_seamless(stacked(tile(t), tile(b)), std::to_string(t) + "/" + std::to_string(b));
}

TEST(TileSheet, RailsRunStraightALittleLeftOfTheCellCentre) {
  auto rail_column = [](int n, int y) {  // the brightest pixel of a row is the rail's head
    int best = 0;
    for (int x = 0; x < 32; ++x)
      if (tile(n).at(x, y).lum() > tile(n).at(best, y).lum()) best = x;
    return best;
  };
  int x = rail_column(15, 0);
  EXPECT_GE(x, 8);
  EXPECT_LT(x, 16);
  for (int n : {15, 17, 21, 23})
    for (int y = 0; y < 32; ++y) ASSERT_EQ(rail_column(n, y), x) << "tile " << n << " row " << y;
}

// The frame pieces: tile 5 along the top and bottom, tile 4 down the sides, and
// the corners 2, 3, 14, 15. Their bands must meet pixel for pixel.
TEST(TileSheet, FrameBandsLineUpExactlyAtEveryJoin) {
  auto same_column = [](const Cell& a, int ax, const Cell& b, int bx, const std::string& what) {
    for (int y = 0; y < 16; ++y) ASSERT_EQ(a.at(ax, y), b.at(bx, y)) << what << " row " << y;
  };
  auto same_row = [](const Cell& a, int ay, const Cell& b, int by, const std::string& what) {
    for (int x = 0; x < 16; ++x) ASSERT_EQ(a.at(x, ay), b.at(x, by)) << what << " column " << x;
  };
  Cell tl = small(2), tr = small(3), bl = small(14), br = small(15), vert = small(4), horiz = small(5);
  same_column(horiz, 15, horiz, 0, "top edge repeating");
  same_column(tl, 15, horiz, 0, "top-left corner into the top edge");
  same_column(horiz, 15, tr, 0, "top edge into the top-right corner");
  same_column(bl, 15, horiz, 0, "bottom-left corner into the bottom edge");
  same_column(horiz, 15, br, 0, "bottom edge into the bottom-right corner");
  same_row(vert, 15, vert, 0, "side edge repeating");
  same_row(tl, 15, vert, 0, "top-left corner into the left edge");
  same_row(vert, 15, bl, 0, "left edge into the bottom-left corner");
  same_row(tr, 15, vert, 0, "top-right corner into the right edge");
  same_row(vert, 15, br, 0, "right edge into the bottom-right corner");
  // one tile serves both top and bottom (and both sides): the bands are mirror-symmetric
  for (int k = 0; k < 16; ++k) {
    same_row(horiz, k, horiz, 15 - k, "horizontal edge symmetry");
    same_column(vert, k, vert, 15 - k, "vertical edge symmetry");
  }
  // and the bands really are bands: the edge pieces are not one flat colour
  std::set<int> colours;
  for (int y = 0; y < 16; ++y) colours.insert(horiz.at(0, y).lum());
  EXPECT_GE(colours.size(), 4u);
}

// ------------------------------------------------------------------ sounds

struct Wav {
  bool ok = false;
  int format = 0, channels = 0, rate = 0, bits = 0;
  std::vector<std::int16_t> samples;
};

std::uint32_t le32(const std::vector<unsigned char>& b, std::size_t i) {
  return b[i] | (b[i + 1] << 8) | (b[i + 2] << 16) | (std::uint32_t(b[i + 3]) << 24);
}
std::uint16_t le16(const std::vector<unsigned char>& b, std::size_t i) { return std::uint16_t(b[i] | (b[i + 1] << 8)); }

std::vector<unsigned char> slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Wav read_wav(const std::string& path) {
  Wav w;
  auto b = slurp(path);
  if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" || std::string(b.begin() + 8, b.begin() + 12) != "WAVE")
    return w;
  bool fmt = false;
  for (std::size_t i = 12; i + 8 <= b.size();) {
    std::string id(b.begin() + long(i), b.begin() + long(i) + 4);
    std::uint32_t len = le32(b, i + 4);
    if (i + 8 + len > b.size()) return w;
    if (id == "fmt ") {
      w.format = le16(b, i + 8);
      w.channels = le16(b, i + 10);
      w.rate = int(le32(b, i + 12));
      w.bits = le16(b, i + 22);
      fmt = true;
    } else if (id == "data") {
      for (std::uint32_t k = 0; k + 1 < len; k += 2) w.samples.push_back(std::int16_t(le16(b, i + 8 + k)));
    }
    i += 8 + len + (len & 1);
  }
  w.ok = fmt && !w.samples.empty();
  return w;
}

TEST(Sounds, EffectsAreShortMonoPcmWithCleanEndsAndHeadroom) {
  for (int n = 1; n <= 10; ++n) {
    std::string name = "se" + std::to_string(n);
    Wav w = read_wav(kAssets + "/se/" + name + ".wav");
    ASSERT_TRUE(w.ok) << name;
    EXPECT_EQ(w.format, 1) << name;
    EXPECT_EQ(w.channels, 1) << name;
    EXPECT_TRUE(w.rate == 22050 || w.rate == 44100) << name << " " << w.rate;
    EXPECT_EQ(w.bits, 16) << name;
    double seconds = double(w.samples.size()) / w.rate;
    double limit = (n == 5 || n == 10) ? 1.6 : 0.8;
    EXPECT_LE(seconds, limit) << name;
    EXPECT_GE(seconds, 0.03) << name;
    // starts and ends at silence, no clicks
    EXPECT_LE(std::abs(w.samples.front()), 64) << name;
    EXPECT_LE(std::abs(w.samples.back()), 64) << name;
    int peak = 0;
    for (std::int16_t s : w.samples) peak = std::max(peak, std::abs(int(s)));
    double dbfs = 20 * std::log10(peak / 32768.0);
    EXPECT_LT(dbfs, -0.5) << name;
    EXPECT_GT(dbfs, -4.0) << name;
    // the first and last millisecond stay well below the peak
    std::size_t ms = std::size_t(w.rate / 1000);
    for (std::size_t i = 0; i < ms; ++i) {
      EXPECT_LT(std::abs(int(w.samples[i])), peak / 2) << name << " start";
      EXPECT_LT(std::abs(int(w.samples[w.samples.size() - 1 - i])), peak / 2) << name << " end";
    }
  }
}

class Mixer : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_EQ(Mix_OpenAudio(22050, AUDIO_S16SYS, 1, 1024), 0) << Mix_GetError();
  }
  void TearDown() override {
    Mix_CloseAudio();
    SDL_Quit();
  }
};

TEST_F(Mixer, EveryEffectLoads) {
  for (int n = 1; n <= 10; ++n) {
    std::string path = kAssets + "/se/se" + std::to_string(n) + ".wav";
    Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
    EXPECT_NE(chunk, nullptr) << path << ": " << Mix_GetError();
    if (chunk) Mix_FreeChunk(chunk);
  }
}

TEST_F(Mixer, BattleMusicLoads) {
  std::string path = kAssets + "/bg/bg1.mid";
  Mix_Music* music = Mix_LoadMUS(path.c_str());
  if (!music) GTEST_SKIP() << "this SDL_mixer cannot play MIDI here (" << Mix_GetError() << ")";
  EXPECT_EQ(Mix_GetMusicType(music), MUS_MID);
  Mix_FreeMusic(music);
}

// ------------------------------------------------------------------ music

struct Midi {
  bool ok = false;
  int format = -1, tracks = 0, division = 0;
  std::vector<std::pair<long, long>> tempos;  // tick, microseconds a beat
  std::set<int> program_channels, note_channels, all_off_channels;
  long end_tick = 0;
  int hanging = 0;  // note-ons never released
  long last_note_off = 0;
};

Midi read_midi(const std::string& path) {
  Midi m;
  auto b = slurp(path);
  auto be32 = [&b](std::size_t i) { return (std::uint32_t(b[i]) << 24) | (b[i + 1] << 16) | (b[i + 2] << 8) | b[i + 3]; };
  auto be16 = [&b](std::size_t i) { return (b[i] << 8) | b[i + 1]; };
  if (b.size() < 14 || std::string(b.begin(), b.begin() + 4) != "MThd") return m;
  m.format = be16(8);
  m.tracks = be16(10);
  m.division = be16(12);
  std::size_t i = 8 + be32(4);
  int parsed = 0;
  while (i + 8 <= b.size()) {
    std::size_t len = be32(i + 4), p = i + 8, end = p + len;
    if (std::string(b.begin() + long(i), b.begin() + long(i) + 4) != "MTrk" || end > b.size()) return m;
    long tick = 0;
    int status = 0;
    bool ended = false;
    std::map<std::pair<int, int>, int> sounding;
    auto varlen = [&b, &p, end]() {
      long v = 0;
      while (p < end) {
        int c = b[p++];
        v = (v << 7) | (c & 0x7F);
        if (!(c & 0x80)) break;
      }
      return v;
    };
    while (p < end && !ended) {
      tick += varlen();
      if (b[p] & 0x80) status = b[p++];
      if (status == 0xFF) {
        int type = b[p++];
        long l = varlen();
        if (type == 0x51 && l == 3) m.tempos.push_back({tick, (b[p] << 16) | (b[p + 1] << 8) | b[p + 2]});
        if (type == 0x2F) ended = true;
        p += std::size_t(l);
        status = 0;
      } else if (status == 0xF0 || status == 0xF7) {
        p += std::size_t(varlen());
        status = 0;
      } else {
        int kind = status & 0xF0, ch = status & 0x0F;
        int d1 = b[p++], d2 = (kind == 0xC0 || kind == 0xD0) ? 0 : b[p++];
        if (kind == 0x90 && d2 > 0) {
          m.note_channels.insert(ch);
          ++sounding[{ch, d1}];
        } else if (kind == 0x80 || (kind == 0x90 && d2 == 0)) {
          if (sounding[{ch, d1}] > 0) --sounding[{ch, d1}];
          m.last_note_off = std::max(m.last_note_off, tick);
        } else if (kind == 0xC0) {
          m.program_channels.insert(ch);
        } else if (kind == 0xB0 && d1 == 123) {
          m.all_off_channels.insert(ch);
        }
      }
    }
    if (!ended) return m;
    for (auto& [key, n] : sounding) m.hanging += n;
    m.end_tick = std::max(m.end_tick, tick);
    ++parsed;
    i = end;
  }
  m.ok = parsed == m.tracks;
  return m;
}

double seconds_at(const Midi& m, long tick) {
  std::vector<std::pair<long, long>> t = m.tempos;
  std::sort(t.begin(), t.end());
  double s = 0;
  long at = 0, tempo = 500000;
  for (auto [when, us] : t) {
    if (when >= tick) break;
    s += double(when - at) * tempo / 1e6 / m.division;
    at = when;
    tempo = us;
  }
  return s + double(tick - at) * tempo / 1e6 / m.division;
}

TEST(Music, BattleThemeIsAFormatOneSongOfOneToTwoMinutesThatEndsCleanly) {
  Midi m = read_midi(kAssets + "/bg/bg1.mid");
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(m.format, 1);
  EXPECT_GE(m.tracks, 4);
  ASSERT_FALSE(m.tempos.empty());
  EXPECT_EQ(m.tempos.front().first, 0);
  EXPECT_TRUE(m.note_channels.count(9)) << "no drums on channel 10";
  // melody, harmony and bass: at least three pitched channels, each with its instrument chosen
  std::set<int> pitched = m.note_channels;
  pitched.erase(9);
  EXPECT_GE(pitched.size(), 3u);
  for (int ch : pitched) EXPECT_TRUE(m.program_channels.count(ch)) << "no program change on channel " << ch + 1;
  double length = seconds_at(m, m.end_tick);
  EXPECT_GE(length, 60.0);
  EXPECT_LE(length, 120.0);
  // every note is released, and everything is silenced at the very end
  EXPECT_EQ(m.hanging, 0);
  EXPECT_LE(m.last_note_off, m.end_tick);
  for (int ch : m.note_channels) EXPECT_TRUE(m.all_off_channels.count(ch)) << "no all-notes-off on channel " << ch + 1;
}

TEST(Music, CalmPieceParsesAndIsShorter) {
  Midi calm = read_midi(kAssets + "/bg/bg0.mid"), battle = read_midi(kAssets + "/bg/bg1.mid");
  ASSERT_TRUE(calm.ok);
  ASSERT_TRUE(battle.ok);
  EXPECT_EQ(calm.hanging, 0);
  EXPECT_LT(seconds_at(calm, calm.end_tick), seconds_at(battle, battle.end_tick));
  EXPECT_GT(seconds_at(calm, calm.end_tick), 10.0);
}

// ------------------------------------------------------------------ the painter

// The committed assets are exactly what the painter makes, so painting is
// deterministic and nobody edited a generated file by hand.
TEST(Painter, RepaintsTheCommittedAssetsByteForByte) {
#ifndef SEVENCHIPS_BUILD_DIR
  GTEST_SKIP() << "no build folder given";
#else
  namespace fs = std::filesystem;
  fs::path painter = fs::path(SEVENCHIPS_BUILD_DIR) / "tools/paint/sevenchips-paint";
  if (!fs::exists(painter)) GTEST_SKIP() << painter << " is not built";
  fs::path out = fs::temp_directory_path() / ("sevenchips-paint-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  fs::remove_all(out);
  std::string cmd = painter.string() + " " + out.string();
  ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
  int compared = 0;
  for (const auto& e : fs::recursive_directory_iterator(out / "assets")) {
    if (!e.is_regular_file()) continue;
    fs::path rel = fs::relative(e.path(), out);
    EXPECT_EQ(slurp(e.path().string()), slurp((fs::path(kRoot) / rel).string())) << rel;
    ++compared;
  }
  EXPECT_EQ(compared, 1 + 22 + 5 + 2 + 2 + 10);
  fs::remove_all(out);
#endif
}

}  // namespace
