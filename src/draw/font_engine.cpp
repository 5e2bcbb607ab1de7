// Text through FreeType, with the face found by fontconfig. A string is rasterised once per
// size and weight into a coverage map; drawing blends the colour through that map.
#include "draw/font_engine.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <unordered_map>
#include <vector>

namespace sc {

namespace {

// What the game prints: a face that lacks any of these cannot show the game.
constexpr const char* kGameSample =
    "チキンゲーム戦闘不能レベルアップ！おやすみ～う～ん…リトル-９Ｃ・typeＰ鼓舞自然治癒子守歌"
    "Enterキーを押してください"
    "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz!-";

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

bool readable_file(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return f.good() && f.peek() != std::ifstream::traits_type::eof();
}

// The rendered coverage of one string in one style, placed relative to the line box's
// top-left corner.
struct Rendered {
    int left = 0, top = 0, w = 0, h = 0;
    int advance = 0;
    std::vector<std::uint8_t> coverage;
};

struct CacheKey {
    std::string text;
    int size64 = 0;  // points in 1/64
    bool bold = false, italic = false;
    bool operator==(const CacheKey&) const = default;
};

struct CacheKeyHash {
    std::size_t operator()(const CacheKey& k) const {
        std::size_t h = std::hash<std::string>()(k.text);
        h ^= std::hash<int>()(k.size64 * 4 + (k.bold ? 2 : 0) + (k.italic ? 1 : 0)) + 0x9e3779b97f4a7c15ull + (h << 6) +
             (h >> 2);
        return h;
    }
};

// The game draws a few hundred strings over and over; a bound keeps odd uses (ever new
// numbers) from growing the map without end.
constexpr std::size_t kMaxEntries = 4096;
constexpr std::size_t kMaxBytes = 8u << 20;

class FreeTypeEngine final : public FontEngine {
public:
    FreeTypeEngine(FT_Library lib, FT_Face face, std::string path) : lib_(lib), face_(face), path_(std::move(path)) {}
    ~FreeTypeEngine() override {
        FT_Done_Face(face_);
        FT_Done_FreeType(lib_);
    }
    FreeTypeEngine(const FreeTypeEngine&) = delete;
    FreeTypeEngine& operator=(const FreeTypeEngine&) = delete;

    void draw(Surface& s, float x, float y, const std::string& text, const TextStyle& style) override;
    int width(const std::string& text, const TextStyle& style) override {
        const Rendered* r = lookup(text, style);
        return r ? r->advance : 0;
    }
    std::string font_path() const override { return path_; }

private:
    const Rendered* lookup(const std::string& text, const TextStyle& style);
    Rendered render(const std::vector<long>& cps, int size64, bool bold, bool italic);

    FT_Library lib_;
    FT_Face face_;
    std::string path_;
    std::unordered_map<CacheKey, Rendered, CacheKeyHash> cache_;
    std::size_t cache_bytes_ = 0;
};

const Rendered* FreeTypeEngine::lookup(const std::string& text, const TextStyle& style) {
    // Sizes outside what any screen text could use are not drawn (and cannot blow up memory).
    if (!std::isfinite(style.FontSize) || style.FontSize <= 0.0f || style.FontSize > 400.0f) { return nullptr; }
    CacheKey key{text, int(std::lround(style.FontSize * 64.0f)), style.FontBold, style.FontItalic};
    if (key.size64 <= 0) { return nullptr; }
    auto it = cache_.find(key);
    if (it != cache_.end()) { return &it->second; }
    Rendered r = render(decode(text), key.size64, key.bold, key.italic);
    const std::size_t bytes = r.coverage.size() + text.size() + sizeof(Rendered);
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
        int x, y, w, h;
        std::vector<std::uint8_t> px;
    };
    std::vector<Piece> pieces;
    FT_Pos pen = 0;  // 26.6
    int min_x = 0, min_y = 0, max_x = 0, max_y = 0;
    bool any = false;
    for (const long cp : cps) {
        if (cp < 0x20 || cp == 0x7F) { continue; }  // control characters have no picture
        const FT_UInt index = FT_Get_Char_Index(face_, FT_ULong(cp));
        if (index == 0) { continue; }  // this face lacks it: leave it out rather than draw a box
        if (FT_Load_Glyph(face_, index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT) != 0) { continue; }
        FT_GlyphSlot slot = face_->glyph;
        FT_Pos advance = slot->advance.x;
        if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
            if (synth_bold) {
                FT_Outline_EmboldenXY(&slot->outline, strength, strength);
                // Grow to the right and upwards, so the left edge and the baseline stay put.
                FT_Outline_Translate(&slot->outline, strength / 2, strength / 2);
                advance += strength;
            }
            if (italic) {
                FT_Matrix shear{0x10000, kSlant, 0, 0x10000};
                FT_Outline_Transform(&slot->outline, &shear);
            }
        }
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0 && slot->bitmap.pixel_mode == FT_PIXEL_MODE_GRAY &&
            slot->bitmap.width > 0 && slot->bitmap.rows > 0) {
            const FT_Bitmap& b = slot->bitmap;
            Piece p{int((pen + 32) >> 6) + slot->bitmap_left, ascender - slot->bitmap_top, int(b.width), int(b.rows), {}};
            p.px.resize(std::size_t(p.w) * std::size_t(p.h));
            for (int row = 0; row < p.h; ++row) {
                const unsigned char* src = b.buffer + std::ptrdiff_t(row) * b.pitch;
                std::copy(src, src + p.w, p.px.begin() + std::ptrdiff_t(row) * p.w);
            }
            if (!any) {
                min_x = p.x, min_y = p.y, max_x = p.x + p.w, max_y = p.y + p.h;
                any = true;
            } else {
                min_x = std::min(min_x, p.x), min_y = std::min(min_y, p.y);
                max_x = std::max(max_x, p.x + p.w), max_y = std::max(max_y, p.y + p.h);
            }
            pieces.push_back(std::move(p));
        }
        pen += advance;
        if (pen > (FT_Pos(1) << 30)) { break; }  // absurdly long line: nothing more could show
    }
    out.advance = int((pen + 32) >> 6);
    if (!any) { return out; }
    out.left = min_x, out.top = min_y, out.w = max_x - min_x, out.h = max_y - min_y;
    out.coverage.assign(std::size_t(out.w) * std::size_t(out.h), 0);
    for (const Piece& p : pieces) {
        for (int row = 0; row < p.h; ++row) {
            std::uint8_t* dst = out.coverage.data() + std::size_t(p.y - min_y + row) * std::size_t(out.w) +
                                std::size_t(p.x - min_x);
            const std::uint8_t* src = p.px.data() + std::size_t(row) * std::size_t(p.w);
            // Neighbours that overlap (slanted letters) keep the stronger ink.
            for (int col = 0; col < p.w; ++col) { dst[col] = std::max(dst[col], src[col]); }
        }
    }
    return out;
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
    const std::uint32_t cr = (colour >> 16) & 255, cg = (colour >> 8) & 255, cb = colour & 255;
    for (int py = y0; py < y1; ++py) {
        std::uint32_t* dst = s.row(py);
        const std::uint8_t* cov = r->coverage.data() + std::size_t(py - oy) * std::size_t(r->w);
        for (int px = x0; px < x1; ++px) {
            const std::uint32_t a = cov[px - ox];
            if (a == 0) { continue; }
            if (a == 255) {
                dst[px] = colour;
                continue;
            }
            const std::uint32_t d = dst[px];
            const auto mix = [a](std::uint32_t under, std::uint32_t over) {
                return (under * (255 - a) + over * a + 127) / 255;
            };
            dst[px] = (mix((d >> 16) & 255, cr) << 16) | (mix((d >> 8) & 255, cg) << 8) | mix(d & 255, cb);
        }
    }
    s.touch();
}

// How many of the sample's characters a face lacks.
int missing_glyphs(FT_Face face) {
    int missing = 0;
    for (const long cp : decode(kGameSample)) { missing += FT_Get_Char_Index(face, FT_ULong(cp)) == 0; }
    return missing;
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

struct Candidate {
    std::string path;
    int index = 0;
};

// Every font fontconfig knows, best first for Japanese sans-serif text.
std::vector<Candidate> fontconfig_candidates() {
    std::vector<Candidate> out;
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (config == nullptr) { return out; }
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif:lang=ja"));
    if (pattern != nullptr) {
        FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
        FcConfigSubstitute(config, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcFontSet* set = FcFontSort(config, pattern, FcFalse, nullptr, &result);
        if (set != nullptr) {
            for (int i = 0; i < set->nfont; ++i) {
                FcChar8* file = nullptr;
                int index = 0;
                if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) != FcResultMatch || file == nullptr) {
                    continue;
                }
                if (FcPatternGetInteger(set->fonts[i], FC_INDEX, 0, &index) != FcResultMatch) { index = 0; }
                out.push_back({reinterpret_cast<const char*>(file), index});
            }
            FcFontSetDestroy(set);
        }
        FcPatternDestroy(pattern);
    }
    FcConfigDestroy(config);
    return out;
}

void add_warning(std::string* warning, const std::string& line) {
    if (warning == nullptr) { return; }
    *warning += warning->empty() ? line : "; " + line.substr(std::string("sevenchips: ").size());
}

}  // namespace

std::unique_ptr<FontEngine> FontEngine::create(std::string* warning) {
    if (warning) { warning->clear(); }
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) {
        add_warning(warning, "sevenchips: the font library cannot start; the game runs without text");
        return nullptr;
    }
    const auto engine = [&](FT_Face face, const std::string& path) {
        return std::unique_ptr<FontEngine>(new FreeTypeEngine(lib, face, path));
    };

    // A font file named by the user (or a test) wins when it can be read.
    if (const char* pinned = std::getenv("SEVENCHIPS_FONT"); pinned != nullptr && *pinned != '\0') {
        FT_Face face = readable_file(pinned) ? open_face(lib, pinned, 0) : nullptr;
        if (face != nullptr) {
            if (missing_glyphs(face) > 0) {
                add_warning(warning, std::string("sevenchips: the font ") + pinned +
                                         " lacks some of the game's Japanese glyphs");
            }
            return engine(face, pinned);
        }
        add_warning(warning, std::string("sevenchips: SEVENCHIPS_FONT ") + pinned +
                                 " cannot be opened as a font; looking for an installed one");
    }

    const std::vector<Candidate> candidates = fontconfig_candidates();
    for (const Candidate& c : candidates) {
        FT_Face face = open_face(lib, c.path, c.index);
        if (face == nullptr) { continue; }
        if (missing_glyphs(face) == 0) { return engine(face, c.path); }
        FT_Done_Face(face);
    }
    add_warning(warning,
                "sevenchips: no font with Japanese glyphs found; install fonts-vlgothic (or fonts-ipafont-gothic)");
    for (const Candidate& c : candidates) {
        if (FT_Face face = open_face(lib, c.path, c.index)) { return engine(face, c.path); }
    }
    add_warning(warning, "sevenchips: no font at all could be opened; the game runs without text");
    FT_Done_FreeType(lib);
    return nullptr;
}

}  // namespace sc
