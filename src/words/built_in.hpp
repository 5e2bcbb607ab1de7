// The compiled catalogues the build puts into the program, one per po/LANG.po.
#pragma once
#include <cstddef>

namespace sc {

struct CatalogueFile {
    const char* name;  // the language: "en"
    const unsigned char* data;
    std::size_t size;
};
// Ends with a row whose name is null.
extern const CatalogueFile kCatalogueFiles[];

}  // namespace sc
