// The browser program's memcpy: short copies in the program's own code, long ones as
// WebAssembly's bulk copy instruction.
#pragma once
#include <cstddef>

namespace sc {

// From this many bytes a copy goes to the bulk instruction.
inline constexpr std::size_t kLongCopy = 512;

// Copies `n` bytes (any count; meant for fewer than kLongCopy) without calling memcpy. The
// ranges must not overlap.
void copy_short(unsigned char* to, const unsigned char* from, std::size_t n);

}  // namespace sc
