// The browser program's short copy, built here natively: every count through the word loop and
// its tail, at every alignment of both ends, copies exactly its bytes and nothing beside them.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/web/memory_copy.hpp"

namespace sc {
namespace {

TEST(MemoryCopy, CopiesExactlyItsBytesAtEveryCountAndAlignment) {
    constexpr std::size_t kRoom = kLongCopy + 64;
    std::vector<unsigned char> from(kRoom), to(kRoom);
    for (std::size_t i = 0; i < kRoom; ++i) { from[i] = static_cast<unsigned char>(i * 7 + 1); }
    int faults = 0;
    for (std::size_t n = 0; n < kLongCopy + 20; ++n) {
        for (std::size_t from_at = 0; from_at < 8; ++from_at) {
            for (std::size_t to_at : {std::size_t(0), std::size_t(3), std::size_t(5), std::size_t(8)}) {
                std::fill(to.begin(), to.end(), 0xEE);
                copy_short(to.data() + to_at, from.data() + from_at, n);
                for (std::size_t i = 0; i < kRoom; ++i) {
                    const bool inside = i >= to_at && i < to_at + n;
                    const unsigned char want = inside ? from[from_at + i - to_at] : 0xEE;
                    if (to[i] != want && ++faults <= 5) {
                        ADD_FAILURE() << "count " << n << " from +" << from_at << " to +" << to_at << ": byte " << i;
                    }
                }
            }
        }
    }
    EXPECT_EQ(faults, 0);
}

}  // namespace
}  // namespace sc
