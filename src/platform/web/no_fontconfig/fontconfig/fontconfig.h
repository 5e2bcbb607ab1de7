/* The browser has no fontconfig and no system fonts: the page names its one face itself.
   This stands in for the library's header so the font engine's lookup finds nothing there
   (FcInitLoadConfigAndFonts gives no configuration; nothing else is then called). */
#pragma once
typedef unsigned char FcChar8;
typedef int FcBool;
typedef struct FcConfig FcConfig;
typedef struct FcPattern FcPattern;
typedef struct FcLangSet FcLangSet;
typedef struct { int nfont; int sfont; FcPattern** fonts; } FcFontSet;
typedef enum { FcResultMatch, FcResultNoMatch } FcResult;
typedef enum { FcMatchPattern } FcMatchKind;
typedef enum { FcLangEqual, FcLangDifferentTerritory, FcLangDifferentLang } FcLangResult;
#define FcTrue 1
#define FcFalse 0
#define FC_SCALABLE "scalable"
#define FC_FILE "file"
#define FC_INDEX "index"
#define FC_LANG "lang"
static inline FcConfig* FcInitLoadConfigAndFonts(void) { return 0; }
static inline FcPattern* FcNameParse(const FcChar8*) { return 0; }
static inline FcBool FcPatternAddBool(FcPattern*, const char*, FcBool) { return FcFalse; }
static inline FcBool FcConfigSubstitute(FcConfig*, FcPattern*, FcMatchKind) { return FcFalse; }
static inline void FcDefaultSubstitute(FcPattern*) {}
static inline FcFontSet* FcFontSort(FcConfig*, FcPattern*, FcBool, void*, FcResult*) { return 0; }
static inline FcResult FcPatternGetString(const FcPattern*, const char*, int, FcChar8**) { return FcResultNoMatch; }
static inline FcResult FcPatternGetInteger(const FcPattern*, const char*, int, int*) { return FcResultNoMatch; }
static inline FcResult FcPatternGetLangSet(const FcPattern*, const char*, int, FcLangSet**) { return FcResultNoMatch; }
static inline FcLangResult FcLangSetHasLang(const FcLangSet*, const FcChar8*) { return FcLangDifferentLang; }
static inline void FcFontSetDestroy(FcFontSet*) {}
static inline void FcPatternDestroy(FcPattern*) {}
static inline void FcConfigDestroy(FcConfig*) {}
