#include "platform/web/memory_copy.hpp"

#include <cstdint>

// A bulk copy is one instruction that the browser runs out of line, as a call into its own C
// library: worth it for a long copy, several times the copy itself for a short one, and the
// blits and the canvas copy thousands of short rows a tick. The browser program is compiled
// without bulk memory, so every copy comes here as a call to memcpy (the C library's own is
// weak), and only this file, which makes the long ones, is compiled with it. Newer emscripten
// libraries split their memcpy the same way.

#if defined(__clang__)
#define SC_NO_BUILTIN_MEMCPY __attribute__((no_builtin("memcpy")))  // a loop here is not a memcpy call
#else
#define SC_NO_BUILTIN_MEMCPY
#endif

namespace sc {

SC_NO_BUILTIN_MEMCPY void copy_short(unsigned char* to, const unsigned char* from, std::size_t n) {
    for (; n >= 8; n -= 8, to += 8, from += 8) {
        std::uint64_t word;
        __builtin_memcpy(&word, from, 8);  // a known size: a load and a store, not a call
        __builtin_memcpy(to, &word, 8);
    }
    for (; n > 0; --n) { *to++ = *from++; }
}

}  // namespace sc

#if defined(__EMSCRIPTEN__)
extern "C" SC_NO_BUILTIN_MEMCPY void* memcpy(void* to, const void* from, std::size_t n) {
    if (n >= sc::kLongCopy) {
        __builtin_memcpy(to, from, n);  // the bulk instruction
    } else {
        sc::copy_short(static_cast<unsigned char*>(to), static_cast<const unsigned char*>(from), n);
    }
    return to;
}
#endif
