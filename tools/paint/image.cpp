// Pixel images, noise, cairo glue and the PNG writers of the painter.
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "paint.hpp"

namespace paint {

void Image::blit(const Image& src, int dx, int dy) {
  for (int y = 0; y < src.h; ++y)
    for (int x = 0; x < src.w; ++x) {
      int tx = dx + x, ty = dy + y;
      if (tx >= 0 && ty >= 0 && tx < w && ty < h) at(tx, ty) = src.at(x, y);
    }
}

Image Image::crop(int x0, int y0, int cw, int ch) const {
  Image out(cw, ch);
  for (int y = 0; y < ch; ++y)
    for (int x = 0; x < cw; ++x) out.at(x, y) = at(x0 + x, y0 + y);
  return out;
}

Image Image::scaled(int f) const {
  Image out(w * f, h * f);
  for (int y = 0; y < out.h; ++y)
    for (int x = 0; x < out.w; ++x) out.at(x, y) = at(x / f, y / f);
  return out;
}

static double lattice(int ix, int iy, std::uint32_t seed) {
  std::uint32_t h = std::uint32_t(ix) * 374761393u + std::uint32_t(iy) * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return (h & 0xFFFFFF) / double(0xFFFFFF);
}

double periodic_noise(double x, double y, int period, int cells, std::uint32_t seed) {
  double fx = x * cells / period, fy = y * cells / period;
  int x0 = int(std::floor(fx)), y0 = int(std::floor(fy));
  double tx = fx - x0, ty = fy - y0;
  auto wrap = [cells](int v) { return ((v % cells) + cells) % cells; };
  auto smooth = [](double t) { return t * t * (3 - 2 * t); };
  double a = lattice(wrap(x0), wrap(y0), seed), b = lattice(wrap(x0 + 1), wrap(y0), seed);
  double c = lattice(wrap(x0), wrap(y0 + 1), seed), d = lattice(wrap(x0 + 1), wrap(y0 + 1), seed);
  double sx = smooth(tx), sy = smooth(ty);
  return (a * (1 - sx) + b * sx) * (1 - sy) + (c * (1 - sx) + d * sx) * sy;
}

Canvas::Canvas(int width, int height) : w(width), h(height) {
  surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cr = cairo_create(surface);
}

Canvas::~Canvas() {
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

Image Canvas::image(Rgb under) const {
  cairo_surface_flush(surface);
  Image out(w, h);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      std::uint32_t p = *reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4);
      int a = p >> 24, r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
      auto ch = [a](int src, int bg) { return std::uint8_t(std::clamp(src + (bg * (255 - a) + 127) / 255, 0, 255)); };
      out.at(x, y) = {ch(r, under.r), ch(g, under.g), ch(b, under.b)};
    }
  return out;
}

std::vector<std::uint8_t> Canvas::alpha() const {
  cairo_surface_flush(surface);
  std::vector<std::uint8_t> out(std::size_t(w) * h);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      out[std::size_t(y) * w + x] = std::uint8_t(*reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4) >> 24);
  return out;
}

void Canvas::from(const Image& img) {
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < h && y < img.h; ++y)
    for (int x = 0; x < w && x < img.w; ++x) {
      Rgb c = img.at(x, y);
      *reinterpret_cast<std::uint32_t*>(data + y * stride + x * 4) = 0xFF000000u | (c.r << 16) | (c.g << 8) | c.b;
    }
  cairo_surface_mark_dirty(surface);
}

void set_rgb(cairo_t* cr, Rgb c, double a) { cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, a); }

void select_font(cairo_t* cr, const char* family, cairo_font_slant_t slant, cairo_font_weight_t weight) {
  cairo_select_font_face(cr, family, slant, weight);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

Rgb mix(Rgb a, Rgb b, double t) {
  auto m = [t](int x, int y) { return std::uint8_t(std::clamp(int(std::lround(x + (y - x) * t)), 0, 255)); };
  return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

Rgb shade(Rgb c, double f) {
  if (f <= 1.0) return mix({0, 0, 0}, c, f);
  return mix(c, {255, 255, 255}, f - 1.0);
}

Rgb hex(std::uint32_t v) { return {std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)}; }

namespace {

struct PngFile {
  FILE* f = nullptr;
  png_structp png = nullptr;
  png_infop info = nullptr;
  explicit PngFile(const std::string& path) {
    f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    info = png ? png_create_info_struct(png) : nullptr;
  }
  ~PngFile() {
    if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
    if (f) std::fclose(f);
  }
  bool ok() const { return f && png && info; }
};

bool write_rows(PngFile& p, int w, int h, int colour_type, const std::vector<png_color>* palette,
                std::vector<std::uint8_t>& bytes, int bytes_per_pixel) {
  if (setjmp(png_jmpbuf(p.png))) return false;
  png_init_io(p.png, p.f);
  png_set_compression_level(p.png, 9);
  png_set_IHDR(p.png, p.info, w, h, 8, colour_type, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (palette) png_set_PLTE(p.png, p.info, palette->data(), int(palette->size()));
  png_write_info(p.png, p.info);
  for (int y = 0; y < h; ++y) png_write_row(p.png, bytes.data() + std::size_t(y) * w * bytes_per_pixel);
  png_write_end(p.png, nullptr);
  return true;
}

}  // namespace

bool write_png_rgb(const std::string& path, const Image& img) {
  PngFile p(path);
  if (!p.ok()) return false;
  std::vector<std::uint8_t> bytes;
  bytes.reserve(img.px.size() * 3);
  for (const Rgb& c : img.px) {
    bytes.push_back(c.r);
    bytes.push_back(c.g);
    bytes.push_back(c.b);
  }
  return write_rows(p, img.w, img.h, PNG_COLOR_TYPE_RGB, nullptr, bytes, 3);
}

bool write_png_palette(const std::string& path, const Image& img, const std::vector<Rgb>& palette,
                       const std::vector<std::uint8_t>& index) {
  PngFile p(path);
  if (!p.ok()) return false;
  std::vector<png_color> plte;
  for (const Rgb& c : palette) plte.push_back({c.r, c.g, c.b});
  std::vector<std::uint8_t> bytes(index);
  return write_rows(p, img.w, img.h, PNG_COLOR_TYPE_PALETTE, &plte, bytes, 1);
}

namespace {

struct Entry {
  Rgb c;
  int count;
};

int channel(const Rgb& c, int k) { return k == 0 ? c.r : k == 1 ? c.g : c.b; }

}  // namespace

void quantise(const Image& img, int colours, const std::vector<Rgb>& keep, std::vector<Rgb>& palette,
              std::vector<std::uint8_t>& index) {
  auto is_kept = [&keep](const Rgb& c) { return std::find(keep.begin(), keep.end(), c) != keep.end(); };
  std::map<std::uint32_t, int> histogram;
  for (const Rgb& c : img.px)
    if (!is_kept(c)) ++histogram[(c.r << 16) | (c.g << 8) | c.b];
  std::vector<Entry> entries;
  for (auto [key, n] : histogram) entries.push_back({hex(key), n});

  palette = keep;
  int room = colours - int(keep.size());
  if (int(entries.size()) <= room) {
    for (const Entry& e : entries) palette.push_back(e.c);
  } else {
    // Median cut: split the box with the widest weighted spread until there is no room left.
    std::vector<std::vector<Entry>> boxes{entries};
    while (int(boxes.size()) < room) {
      int best = -1, best_channel = 0;
      double best_score = 0;
      for (int i = 0; i < int(boxes.size()); ++i) {
        if (boxes[i].size() < 2) continue;
        long total = 0;
        for (const Entry& e : boxes[i]) total += e.count;
        for (int k = 0; k < 3; ++k) {
          int lo = 255, hi = 0;
          for (const Entry& e : boxes[i]) {
            lo = std::min(lo, channel(e.c, k));
            hi = std::max(hi, channel(e.c, k));
          }
          double score = double(hi - lo) * std::sqrt(double(total));
          if (score > best_score) {
            best_score = score;
            best = i;
            best_channel = k;
          }
        }
      }
      if (best < 0) break;
      std::vector<Entry> box = std::move(boxes[best]);
      std::stable_sort(box.begin(), box.end(), [best_channel](const Entry& a, const Entry& b) {
        return channel(a.c, best_channel) < channel(b.c, best_channel);
      });
      long total = 0;
      for (const Entry& e : box) total += e.count;
      long run = 0;
      std::size_t cut = 1;
      for (std::size_t i = 0; i + 1 < box.size(); ++i) {
        run += box[i].count;
        cut = i + 1;
        if (run * 2 >= total) break;
      }
      boxes[best] = std::vector<Entry>(box.begin(), box.begin() + long(cut));
      boxes.push_back(std::vector<Entry>(box.begin() + long(cut), box.end()));
    }
    for (const auto& box : boxes) {
      double r = 0, g = 0, b = 0, n = 0;
      for (const Entry& e : box) {
        r += e.c.r * double(e.count);
        g += e.c.g * double(e.count);
        b += e.c.b * double(e.count);
        n += e.count;
      }
      palette.push_back({std::uint8_t(std::lround(r / n)), std::uint8_t(std::lround(g / n)), std::uint8_t(std::lround(b / n))});
    }
  }

  std::map<std::uint32_t, std::uint8_t> cache;
  index.assign(img.px.size(), 0);
  for (std::size_t i = 0; i < img.px.size(); ++i) {
    const Rgb& c = img.px[i];
    std::uint32_t key = (c.r << 16) | (c.g << 8) | c.b;
    auto hit = cache.find(key);
    if (hit != cache.end()) {
      index[i] = hit->second;
      continue;
    }
    int chosen = 0;
    auto kept = std::find(keep.begin(), keep.end(), c);
    if (kept != keep.end()) {
      chosen = int(kept - keep.begin());
    } else {
      long best = -1;
      for (int p = int(keep.size()); p < int(palette.size()); ++p) {
        long dr = c.r - palette[p].r, dg = c.g - palette[p].g, db = c.b - palette[p].b;
        long d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (best < 0 || d < best) {
          best = d;
          chosen = p;
        }
      }
    }
    cache[key] = std::uint8_t(chosen);
    index[i] = std::uint8_t(chosen);
  }
}

}  // namespace paint
