// Text through FreeType, in a face chosen among the candidates a font lookup gives. A string is rasterised once per
// size and weight into a coverage map; drawing blends the colour through that map.
#include "pixels/font_engine.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_MODULE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace sc {

namespace {

// The usual synthetic oblique slant (about 12 degrees), 16.16 fixed point.
constexpr FT_Fixed kSlant = 0x0366A;

// Reads one code point of UTF-8 at s[i], advancing i. Returns -1 for a bad byte, which
// is then skipped alone so the rest of the string still draws.
long next_code_point(const std::string& s, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned c = byte(i);
    int extra = 0;
    long cp = 0;
    long min = 0;
    if (c < 0x80) {
        ++i;
        return long(c);
    } else if ((c & 0xE0) == 0xC0) {
        extra = 1, cp = c & 0x1F, min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        extra = 2, cp = c & 0x0F, min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
        extra = 3, cp = c & 0x07, min = 0x10000;
    } else {
        ++i;
        return -1;
    }
    if (i + std::size_t(extra) >= s.size()) {  // cut short at the end
        ++i;
        return -1;
    }
    for (int k = 1; k <= extra; ++k) {
        const unsigned b = byte(i + std::size_t(k));
        if ((b & 0xC0) != 0x80) {
            ++i;
            return -1;
        }
        cp = (cp << 6) | long(b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return -1;
    }
    i += std::size_t(extra) + 1;
    return cp;
}

std::vector<long> decode(const std::string& s) {
    std::vector<long> out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const long cp = next_code_point(s, i);
        if (cp >= 0) { out.push_back(cp); }
    }
    return out;
}

// Ink of `colour` over n pixels with the given coverage: each channel becomes
// (under * (255 - a) + colour * a) / 255 rounded to the nearest, which is the colour itself
// at full coverage; pixels without coverage stay as they are. Red and blue share one
// multiplication in 16-bit halves of a word (no sum exceeds 255 * 255 + 127), and x / 255
// is (x + 1 + (x >> 8)) >> 8 for every such sum. Without branches the compiler runs the row
// in vector lanes; where the processor has AVX2 in eight at a time.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
__attribute__((target_clones("avx2", "default")))
#endif
void blend_row(std::uint32_t* dst, const std::uint8_t* cov, int n, std::uint32_t colour) {
    const std::uint32_t crb = colour & 0x00FF00FFu, cg = (colour >> 8) & 255;
    for (int i = 0; i < n; ++i) {
        const std::uint32_t a = cov[i], na = 255 - a, d = dst[i];
        const std::uint32_t rb = (d & 0x00FF00FFu) * na + crb * a + 0x007F007Fu;
        const std::uint32_t rb_out = ((rb + 0x00010001u + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
        const std::uint32_t g = ((d >> 8) & 255) * na + cg * a + 127;
        const std::uint32_t g_out = ((g + 1 + (g >> 8)) >> 8) << 8;
        dst[i] = a == 0 ? d : (rb_out | g_out);
    }
}

// The rendered coverage of one string in one style, placed relative to the line box's
// top-left corner.
struct Rendered {
    int left = 0, top = 0, w = 0, h = 0;
    int advance = 0;
    std::vector<std::uint8_t> coverage;
    // Per row, the columns [begin, end) that carry any ink; drawing skips the rest.
    std::vector<std::int32_t> ink;
};

struct CacheKey {
    std::string text;
    int size64 = 0;  // points in 1/64
    bool bold = false, italic = false;
};

// What a lookup asks for, without copying the text.
struct KeyView {
    std::string_view text;
    int size64 = 0;
    bool bold = false, italic = false;
    KeyView(std::string_view t, int s, bool b, bool i) : text(t), size64(s), bold(b), italic(i) {}
    KeyView(const CacheKey& k) : text(k.text), size64(k.size64), bold(k.bold), italic(k.italic) {}  // NOLINT
    bool operator==(const KeyView&) const = default;
};

struct CacheKeyHash {
    using is_transparent = void;
    std::size_t operator()(const KeyView& k) const {
        std::size_t h = std::hash<std::string_view>()(k.text);
        h ^= std::hash<int>()(k.size64 * 4 + (k.bold ? 2 : 0) + (k.italic ? 1 : 0)) + 0x9e3779b97f4a7c15ull + (h << 6) +
             (h >> 2);
        return h;
    }
};

struct CacheKeyEqual {
    using is_transparent = void;
    bool operator()(const KeyView& a, const KeyView& b) const { return a == b; }
};

// One glyph as the string renderer places it: rendered with the glyph's origin at (0, 0),
// so it is the same wherever it stands in a string and is made once per size and style.
struct Glyph {
    bool loaded = false;  // false: the face could not load it; it is left out, the pen stays
    FT_Pos advance = 0;   // 26.6, emboldening included
    int left = 0, top = 0, w = 0, h = 0;  // the bitmap's offset from the origin and size; w 0: no ink
    std::vector<std::uint8_t> px;
};

struct GlyphKey {
    long code = 0;
    int size64 = 0;
    bool bold = false, italic = false;
    bool operator==(const GlyphKey&) const = default;
};

struct GlyphKeyHash {
    std::size_t operator()(const GlyphKey& k) const {
        return std::hash<long long>()((static_cast<long long>(k.code) << 24) ^ (static_cast<long long>(k.size64) << 2) ^
                                      (k.bold ? 2 : 0) ^ (k.italic ? 1 : 0));
    }
};

// The game draws a few hundred strings over and over; a bound keeps odd uses (ever new
// numbers) from growing the map without end.
constexpr std::size_t kMaxEntries = 4096;
constexpr std::size_t kMaxBytes = 8u << 20;
constexpr std::size_t kMaxGlyphs = 4096;
constexpr std::size_t kMaxGlyphBytes = 4u << 20;

// The FreeType library, shared by the faces tried while choosing and the one kept.
using Library = std::shared_ptr<FT_LibraryRec_>;

class FreeTypeEngine final : public FontEngine {
public:
    FreeTypeEngine(Library lib, FT_Face face, std::string path)
        : lib_(std::move(lib)), face_(face), path_(std::move(path)) {}
    ~FreeTypeEngine() override { FT_Done_Face(face_); }
    FreeTypeEngine(const FreeTypeEngine&) = delete;
    FreeTypeEngine& operator=(const FreeTypeEngine&) = delete;

    void draw(Surface& s, float x, float y, const std::string& text, const TextStyle& style) override;
    int width(const std::string& text, const TextStyle& style) override {
        const Rendered* r = lookup(text, style);
        return r ? r->advance : 0;
    }
    std::string font_path() const override { return path_; }
    // Whether `room.text` drawn where it stands keeps its ink inside its room.
    bool fits(const TextRoom& room) {
        const Rendered* r = lookup(room.text, TextStyle{.FontSize = room.size, .FontBold = room.bold});
        if (r == nullptr || r->w == 0) { return false; }
        int last_column = -1, last_row = -1;
        for (int row = 0; row < r->h; ++row) {
            const std::size_t i = 2 * std::size_t(row);
            if (r->ink[i] < r->ink[i + 1]) {
                last_column = std::max(last_column, r->ink[i + 1] - 1);
                last_row = row;
            }
        }
        return room.x + r->left + last_column <= room.last_x && room.y + r->top + last_row <= room.last_y;
    }
    std::string font_name() const override {
        return std::string(face_->family_name ? face_->family_name : "?") +
               (face_->style_name ? std::string(" ") + face_->style_name : "");
    }

private:
    const Rendered* lookup(const std::string& text, const TextStyle& style);
    Rendered render(const std::vector<long>& cps, int size64, bool bold, bool italic);
    // The glyph of `code` at the size last set on the face, made on first use.
    const Glyph* glyph(long code, int size64, bool bold, bool italic, bool synth_bold, FT_Pos strength);

    Library lib_;
    FT_Face face_;
    std::string path_;
    std::unordered_map<CacheKey, Rendered, CacheKeyHash, CacheKeyEqual> cache_;
    std::size_t cache_bytes_ = 0;
    std::unordered_map<GlyphKey, Glyph, GlyphKeyHash> glyphs_;
    std::size_t glyph_bytes_ = 0;
};

const Rendered* FreeTypeEngine::lookup(const std::string& text, const TextStyle& style) {
    // Sizes outside what any screen text could use are not drawn (and cannot blow up memory).
    if (!std::isfinite(style.FontSize) || style.FontSize <= 0.0f || style.FontSize > 400.0f) { return nullptr; }
    const KeyView wanted(text, int(std::lround(style.FontSize * 64.0f)), style.FontBold, style.FontItalic);
    if (wanted.size64 <= 0) { return nullptr; }
    auto it = cache_.find(wanted);
    if (it != cache_.end()) { return &it->second; }
    CacheKey key{text, wanted.size64, wanted.bold, wanted.italic};
    Rendered r = render(decode(text), key.size64, key.bold, key.italic);
    const std::size_t bytes = r.coverage.size() + r.ink.size() * sizeof(std::int32_t) + text.size() + sizeof(Rendered);
    if (cache_.size() >= kMaxEntries || cache_bytes_ + bytes > kMaxBytes) {
        cache_.clear();
        cache_bytes_ = 0;
    }
    cache_bytes_ += bytes;
    return &cache_.emplace(std::move(key), std::move(r)).first->second;
}

Rendered FreeTypeEngine::render(const std::vector<long>& cps, int size64, bool bold, bool italic) {
    Rendered out;
    if (FT_Set_Char_Size(face_, 0, size64, 96, 96) != 0) { return out; }
    const FT_Size_Metrics& m = face_->size->metrics;
    const int ascender = int((m.ascender + 32) >> 6);
    const bool synth_bold = bold && (face_->style_flags & FT_STYLE_FLAG_BOLD) == 0;
    // Emboldening by a 24th of the em, as the usual synthetic bold does.
    const FT_Pos strength = std::max<FT_Pos>(FT_MulFix(face_->units_per_EM, m.y_scale) / 24, 16);

    struct Piece {
        int x, y;
        const Glyph* g;
    };
    // Cleared only between strings, so the glyphs of this one stay put while it is built.
    if (glyphs_.size() + cps.size() > kMaxGlyphs || glyph_bytes_ > kMaxGlyphBytes) {
        glyphs_.clear();
        glyph_bytes_ = 0;
    }
    std::vector<Piece> pieces;
    FT_Pos pen = 0;  // 26.6
    int min_x = 0, min_y = 0, max_x = 0, max_y = 0;
    bool any = false;
    for (const long cp : cps) {
        if (cp < 0x20 || cp == 0x7F) { continue; }  // control characters have no picture
        const Glyph* g = glyph(cp, size64, bold, italic, synth_bold, strength);
        if (!g->loaded) { continue; }
        if (g->w > 0) {
            const Piece p{int((pen + 32) >> 6) + g->left, ascender - g->top, g};
            if (!any) {
                min_x = p.x, min_y = p.y, max_x = p.x + g->w, max_y = p.y + g->h;
                any = true;
            } else {
                min_x = std::min(min_x, p.x), min_y = std::min(min_y, p.y);
                max_x = std::max(max_x, p.x + g->w), max_y = std::max(max_y, p.y + g->h);
            }
            pieces.push_back(p);
        }
        pen += g->advance;
        if (pen > (FT_Pos(1) << 30)) { break; }  // absurdly long line: nothing more could show
    }
    out.advance = int((pen + 32) >> 6);
    if (!any) { return out; }
    out.left = min_x, out.top = min_y, out.w = max_x - min_x, out.h = max_y - min_y;
    out.coverage.assign(std::size_t(out.w) * std::size_t(out.h), 0);
    for (const Piece& p : pieces) {
        for (int row = 0; row < p.g->h; ++row) {
            std::uint8_t* dst = out.coverage.data() + std::size_t(p.y - min_y + row) * std::size_t(out.w) +
                                std::size_t(p.x - min_x);
            const std::uint8_t* src = p.g->px.data() + std::size_t(row) * std::size_t(p.g->w);
            // Neighbours that overlap (slanted letters) keep the stronger ink.
            for (int col = 0; col < p.g->w; ++col) { dst[col] = std::max(dst[col], src[col]); }
        }
    }
    out.ink.assign(2 * std::size_t(out.h), 0);
    for (int row = 0; row < out.h; ++row) {
        const std::uint8_t* cov = out.coverage.data() + std::size_t(row) * std::size_t(out.w);
        int begin = 0, end = out.w;
        while (begin < end && cov[begin] == 0) { ++begin; }
        while (end > begin && cov[end - 1] == 0) { --end; }
        out.ink[2 * std::size_t(row)] = begin;
        out.ink[2 * std::size_t(row) + 1] = end;
    }
    return out;
}

const Glyph* FreeTypeEngine::glyph(long code, int size64, bool bold, bool italic, bool synth_bold, FT_Pos strength) {
    const GlyphKey key{code, size64, bold, italic};
    if (auto it = glyphs_.find(key); it != glyphs_.end()) { return &it->second; }
    Glyph g;
    const FT_UInt index = FT_Get_Char_Index(face_, FT_ULong(code));
    // A glyph the face lacks is left out rather than drawn as a box: loaded stays false.
    if (index != 0 && FT_Load_Glyph(face_, index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT) == 0) {
        g.loaded = true;
        FT_GlyphSlot slot = face_->glyph;
        g.advance = slot->advance.x;
        if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
            if (synth_bold) {
                FT_Outline_EmboldenXY(&slot->outline, strength, strength);
                // Grow to the right and upwards, so the left edge and the baseline stay put.
                FT_Outline_Translate(&slot->outline, strength / 2, strength / 2);
                g.advance += strength;
            }
            if (italic) {
                FT_Matrix shear{0x10000, kSlant, 0, 0x10000};
                FT_Outline_Transform(&slot->outline, &shear);
            }
        }
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0 && slot->bitmap.pixel_mode == FT_PIXEL_MODE_GRAY &&
            slot->bitmap.width > 0 && slot->bitmap.rows > 0) {
            const FT_Bitmap& b = slot->bitmap;
            g.left = slot->bitmap_left, g.top = slot->bitmap_top, g.w = int(b.width), g.h = int(b.rows);
            g.px.resize(std::size_t(g.w) * std::size_t(g.h));
            for (int row = 0; row < g.h; ++row) {
                const unsigned char* src = b.buffer + std::ptrdiff_t(row) * b.pitch;
                std::copy(src, src + g.w, g.px.begin() + std::ptrdiff_t(row) * g.w);
            }
        }
    }
    glyph_bytes_ += g.px.size() + sizeof(Glyph);
    return &glyphs_.emplace(key, std::move(g)).first->second;
}

void FreeTypeEngine::draw(Surface& s, float x, float y, const std::string& text, const TextStyle& style) {
    if (s.empty() || text.empty() || !std::isfinite(x) || !std::isfinite(y)) { return; }
    if (std::fabs(x) > 1e6f || std::fabs(y) > 1e6f) { return; }
    const Rendered* r = lookup(text, style);
    if (r == nullptr || r->w == 0) { return; }
    const int ox = int(std::lround(x)) + r->left;
    const int oy = int(std::lround(y)) + r->top;
    const int x0 = std::max(0, ox), x1 = std::min(s.width(), ox + r->w);
    const int y0 = std::max(0, oy), y1 = std::min(s.height(), oy + r->h);
    if (x0 >= x1 || y0 >= y1) { return; }
    const std::uint32_t colour = to_pixel(style.ForeColor);
    for (int py = y0; py < y1; ++py) {
        const std::size_t row = std::size_t(py - oy);
        const int begin = std::max(x0, ox + r->ink[2 * row]), end = std::min(x1, ox + r->ink[2 * row + 1]);
        if (begin >= end) { continue; }
        blend_row(s.row(py) + begin, r->coverage.data() + row * std::size_t(r->w) + std::size_t(begin - ox),
                  end - begin, colour);
    }
    s.touch_area(x0, y0, x1 - 1, y1 - 1);
}

// Whether a face has every character of the given strings.
bool covers(FT_Face face, const std::vector<std::string>& strings) {
    for (const std::string& text : strings) {
        for (const long cp : decode(text)) {
            if (FT_Get_Char_Index(face, FT_ULong(cp)) == 0) { return false; }
        }
    }
    return true;
}

FT_Face open_face(FT_Library lib, const std::string& path, int index) {
    FT_Face face = nullptr;
    if (FT_New_Face(lib, path.c_str(), index, &face) != 0) { return nullptr; }
    // Only outline faces can be drawn at every size the game uses.
    if (!FT_IS_SCALABLE(face) || FT_Set_Char_Size(face, 0, 9 * 64, 96, 96) != 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    return face;
}

void add_warning(std::string* warning, const std::string& line) {
    if (warning == nullptr) { return; }
    *warning += warning->empty() ? line : "; " + line.substr(std::string("sevenchips: ").size());
}

}  // namespace

namespace {

int rooms_fitted(FreeTypeEngine& engine, const std::vector<TextRoom>& rooms) {
    int n = 0;
    for (const TextRoom& room : rooms) { n += engine.fits(room); }
    return n;
}

bool same_name(const char* a, const char* b) {
    if (a == nullptr || b == nullptr) { return false; }
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b))) { return false; }
    }
    return *a == *b;
}

// A face that covers the strings asked for, with where it stands in the order of preference.
struct Covering {
    int named = 0;  // its place among the named faces; after them all when it is not named
    std::string family, style;
    FontFile file;
    auto key() const { return std::tie(named, family, style, file.path, file.index); }
};

Covering rank(FT_Face face, const FontFile& file, const std::vector<FaceName>& named) {
    Covering c{int(named.size()), face->family_name ? face->family_name : "", face->style_name ? face->style_name : "",
               file};
    for (int i = 0; i < int(named.size()); ++i) {
        if (same_name(face->family_name, named[i].family.c_str()) &&
            same_name(face->style_name, named[i].style.c_str())) {
            c.named = i;
            break;
        }
    }
    return c;
}

// The faces among `candidates` that the lookup lists for Japanese and that cover the strings
// asked for, in a fixed order: the named ones as `needs` orders them, then the others by
// family, style and file. The order the candidates come in changes nothing.
std::vector<Covering> covering_faces(const Library& lib, const std::vector<FontFile>& candidates,
                                     const FaceNeeds& needs) {
    std::vector<Covering> out;
    for (const FontFile& c : candidates) {
        if (!c.japanese) { continue; }
        FT_Face face = open_face(lib.get(), c.path, c.index);
        if (face == nullptr) { continue; }
        if (covers(face, needs.strings)) { out.push_back(rank(face, c, needs.named)); }
        FT_Done_Face(face);
    }
    std::sort(out.begin(), out.end(), [](const Covering& a, const Covering& b) { return a.key() < b.key(); });
    return out;
}

// Of the covering faces in their order, the first in which every room is kept, else the one
// that keeps most (the first of equals); else, with a warning, the first file that opens at
// all, by its path.
std::unique_ptr<FontEngine> choose_face(const Library& lib, const std::vector<FontFile>& candidates,
                                        const FaceNeeds& needs, std::string* warning) {
    std::unique_ptr<FreeTypeEngine> best;
    int best_fitted = -1;
    for (const Covering& c : covering_faces(lib, candidates, needs)) {
        FT_Face face = open_face(lib.get(), c.file.path, c.file.index);
        if (face == nullptr) { continue; }
        auto engine = std::make_unique<FreeTypeEngine>(lib, face, c.file.path);
        const int fitted = rooms_fitted(*engine, needs.rooms);
        if (fitted == int(needs.rooms.size())) { return engine; }
        if (fitted > best_fitted) {
            best = std::move(engine);
            best_fitted = fitted;
        }
    }
    if (best != nullptr) { return best; }
    add_warning(warning,
                "sevenchips: no font with Japanese glyphs found; install fonts-horai-umefont (or fonts-vlgothic)");
    std::vector<FontFile> by_path = candidates;
    std::sort(by_path.begin(), by_path.end(),
              [](const FontFile& a, const FontFile& b) { return std::tie(a.path, a.index) < std::tie(b.path, b.index); });
    for (const FontFile& c : by_path) {
        if (FT_Face face = open_face(lib.get(), c.path, c.index)) {
            return std::make_unique<FreeTypeEngine>(lib, face, c.path);
        }
    }
    add_warning(warning, "sevenchips: no font at all could be opened; the game runs without text");
    return nullptr;
}

void* ft_alloc(FT_Memory, long size) { return std::malloc(std::size_t(size)); }
void ft_free(FT_Memory, void* block) { std::free(block); }
void* ft_realloc(FT_Memory, long, long size, void* block) { return std::realloc(block, std::size_t(size)); }
FT_MemoryRec_ memory{nullptr, ft_alloc, ft_free, ft_realloc};

// FT_Init_FreeType less its reading of FREETYPE_PROPERTIES, with which the caller's
// environment would change the pixels.
Library start_library() {
    FT_Library lib = nullptr;
    if (FT_New_Library(&memory, &lib) != 0) { return nullptr; }
    FT_Add_Default_Modules(lib);
    return Library(lib, FT_Done_Library);
}

}  // namespace

std::unique_ptr<FontEngine> FontEngine::create_from(const std::vector<FontFile>& files, const FaceNeeds& needs,
                                                    std::string* warning) {
    if (warning) { warning->clear(); }
    const Library lib = start_library();
    if (lib == nullptr) {
        add_warning(warning, "sevenchips: the font library cannot start; the game runs without text");
        return nullptr;
    }
    return choose_face(lib, files, needs, warning);
}

std::unique_ptr<FontEngine> FontEngine::create_from(const std::vector<std::string>& files, const FaceNeeds& needs,
                                                    std::string* warning) {
    std::vector<FontFile> candidates;
    for (const std::string& f : files) { candidates.push_back({f, 0, true}); }
    return create_from(candidates, needs, warning);
}

}  // namespace sc
