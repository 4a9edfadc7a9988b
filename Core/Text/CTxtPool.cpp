// CTxtPool: blocks that double in size up to a limit, text objects at the
// bottom of each block and their characters at the top.

#include "Core/Text/CTxtPool.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include "Core/Text/CTxt.h"

namespace {

const size_t kFirstBlock = 4096;
// Large enough that a long file needs few blocks (Holds searches them),
// small enough that a block is never a burden of its own.
const size_t kLargestBlock = 1024 * 1024;
// Two terminators, as every text buffer has.
const size_t kTerminators = 2;

// Blocks are told apart by address; pointers into different allocations
// compare reliably only as numbers.
uintptr_t Address(const void* p) { return reinterpret_cast<uintptr_t>(p); }

}  // namespace

bool CTxtPool::NewBlock(size_t need) {
    size_t size = m_NextSize < kFirstBlock ? kFirstBlock : m_NextSize;
    if (size < need) size = need;
    char* begin = static_cast<char*>(std::malloc(size));
    if (begin == nullptr) return false;
    const Block block{begin, begin + size};
    const auto at = std::upper_bound(m_Blocks.begin(), m_Blocks.end(), Address(begin),
                                     [](uintptr_t a, const Block& b) { return a < Address(b.Begin); });
    try {
        m_Blocks.insert(at, block);
    } catch (const std::bad_alloc&) {
        std::free(begin);
        return false;
    }
    m_Low = begin;
    m_High = block.End;
    if (m_NextSize < kLargestBlock) m_NextSize = size * 2 < kLargestBlock ? size * 2 : kLargestBlock;
    return true;
}

CTxt* CTxtPool::Make(const char* p, int n) {
    if (n < 0 || n > INT32_MAX - static_cast<int>(kTerminators)) return nullptr;
    const size_t bytes = static_cast<size_t>(n) + kTerminators;
    const size_t object = sizeof(CTxt);
    // The object's place, rounded up to its alignment.
    auto placeOf = [](char* low) {
        const uintptr_t a = alignof(CTxt);
        return reinterpret_cast<char*>((reinterpret_cast<uintptr_t>(low) + a - 1) & ~(a - 1));
    };
    if (m_Low == nullptr || m_High < placeOf(m_Low) ||
        static_cast<size_t>(m_High - placeOf(m_Low)) < object + bytes) {
        if (!NewBlock(object + bytes + alignof(CTxt))) return nullptr;
    }
    char* place = placeOf(m_Low);
    m_Low = place + object;
    m_High -= bytes;
    char* chars = m_High;
    if (n > 0) std::memcpy(chars, p, static_cast<size_t>(n));
    chars[n] = '\0';
    chars[n + 1] = '\0';
    return new (place) CTxt(chars, n, static_cast<int>(bytes));
}

bool CTxtPool::Holds(const void* p) const {
    const uintptr_t at = Address(p);
    const auto next = std::upper_bound(m_Blocks.begin(), m_Blocks.end(), at,
                                       [](uintptr_t a, const Block& b) { return a < Address(b.Begin); });
    return next != m_Blocks.begin() && at < Address((next - 1)->End);
}

void CTxtPool::Destroy(CTxt* text) { text->~CTxt(); }

void CTxtPool::Clear() {
    for (const Block& b : m_Blocks) std::free(b.Begin);
    m_Blocks.clear();
    m_NextSize = 0;
    m_Low = m_High = nullptr;
}
