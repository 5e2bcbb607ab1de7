// The fonts fontconfig knows, handed to the pixels' font engine to choose among.
#include "platform/fonts/installed_fonts.hpp"

#include <fontconfig/fontconfig.h>

namespace sc {

std::vector<FontFile> installed_fonts() {
    std::vector<FontFile> out;
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (config == nullptr) { return out; }
    // A plain list rather than fontconfig's sort: the engine puts the faces in its own order,
    // so neither the configuration's preferences nor the order of the font folders count.
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FILE, FC_INDEX, FC_LANG, nullptr);
    if (pattern != nullptr && objects != nullptr) {
        FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
        if (FcFontSet* set = FcFontList(config, pattern, objects)) {
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
    }
    if (objects != nullptr) { FcObjectSetDestroy(objects); }
    if (pattern != nullptr) { FcPatternDestroy(pattern); }
    FcConfigDestroy(config);
    return out;
}

std::unique_ptr<FontEngine> open_installed_font(std::string* warning) {
    return FontEngine::create_from(installed_fonts(), warning);
}

}  // namespace sc
