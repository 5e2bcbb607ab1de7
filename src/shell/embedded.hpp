// The pictures built into the program.
#pragma once
#include <cstddef>

namespace sc {

struct EmbeddedFile {
    const char* name;
    const unsigned char* data;
    std::size_t size;
};
// Ends with a row whose name is null.
extern const EmbeddedFile kEmbeddedFiles[];

const EmbeddedFile* find_embedded(const char* name);

}  // namespace sc
