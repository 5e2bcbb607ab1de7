// The fonts fontconfig knows, handed to the pixels' font engine to choose among.
#include "platform/fonts/installed_fonts.hpp"

#include <fontconfig/fontconfig.h>

#include <cstdlib>

namespace sc {

std::vector<FontFile> installed_fonts() {
    std::vector<FontFile> out;
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
                FcLangSet* langs = nullptr;
                const bool japanese = FcPatternGetLangSet(set->fonts[i], FC_LANG, 0, &langs) == FcResultMatch &&
                                      FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>("ja")) == FcLangEqual;
                out.push_back({reinterpret_cast<const char*>(file), index, japanese});
            }
            FcFontSetDestroy(set);
        }
        FcPatternDestroy(pattern);
    }
    FcConfigDestroy(config);
    return out;
}

std::unique_ptr<FontEngine> open_installed_font(std::string* warning) {
    if (warning) { warning->clear(); }
    // A font file named by the user (or a test) wins when it can be read.
    if (const char* pinned = std::getenv("SEVENCHIPS_FONT"); pinned != nullptr && *pinned != '\0') {
        if (auto engine = FontEngine::open_file(pinned, warning)) { return engine; }
        if (warning) {
            *warning = std::string("sevenchips: SEVENCHIPS_FONT ") + pinned +
                       " cannot be opened as a font; looking for an installed one";
        }
    }
    return FontEngine::create_from(installed_fonts(), warning);
}

}  // namespace sc
