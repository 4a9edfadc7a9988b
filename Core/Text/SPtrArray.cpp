#include "Core/Text/SPtrArray.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

IMPLEMENT_DYNAMIC(SPtrArray, CObject)

namespace {

const int kInitialCapacity = 10;
const float kMissingFloat = 1e9f;

void** AllocSlots(int n) { return static_cast<void**>(std::calloc(static_cast<size_t>(n), sizeof(void*))); }

// A float's 32 bits live in the low half of the slot.
void* FloatToSlot(float v) {
    uint32_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    return reinterpret_cast<void*>(static_cast<uintptr_t>(bits));
}

float SlotToFloat(const void* slot) {
    const uint32_t bits = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(slot));
    float v = 0;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

int CompareFloatSlots(const void* a, const void* b) {
    const float x = SlotToFloat(*static_cast<void* const*>(a));
    const float y = SlotToFloat(*static_cast<void* const*>(b));
    return x < y ? -1 : x > y ? 1 : 0;
}

}  // namespace

SPtrArray::SPtrArray() = default;

SPtrArray::~SPtrArray() { std::free(m_data); }

void SPtrArray::DropData() {
    m_data = nullptr;
    m_size = m_capacity = m_growBy = 0;
    m_initialCapacity = kInitialCapacity;
}

void SPtrArray::SetSizeInit(int initialCapacity, int growBy) {
    if (growBy != -1) m_growBy = growBy;
    if (initialCapacity > 0) m_initialCapacity = initialCapacity;
}

int SPtrArray::SetSize(int n) {
    if (n < 0) return -1;
    if (n == 0) {
        std::free(m_data);
        m_data = nullptr;
        m_size = m_capacity = 0;
        return 0;
    }
    if (m_data == nullptr) {
        if (m_initialCapacity < n) m_initialCapacity = n;
        m_data = AllocSlots(m_initialCapacity);
        if (m_data == nullptr) return -1;
        m_size = 0;
        m_capacity = m_initialCapacity;
        return 0;
    }
    if (n <= m_capacity) return 0;
    int step = m_growBy;
    if (step <= 0) {
        step = m_capacity / 4;
        if (step < 4) step = 4;
        if (step > 1024) step = 1024;
    }
    const int64_t grown = static_cast<int64_t>(m_capacity) + step;
    const int capacity = grown > n ? static_cast<int>(grown > INT32_MAX ? INT32_MAX : grown) : n;
    void** slots = AllocSlots(capacity);
    if (slots == nullptr) return -1;
    std::memcpy(slots, m_data, static_cast<size_t>(m_capacity) * sizeof(void*));
    std::free(m_data);
    m_data = slots;
    m_capacity = capacity;
    return 0;
}

void SPtrArray::FreeExtra() {
    if (m_size == m_capacity) return;
    void** slots = nullptr;
    if (m_size > 0) {
        slots = AllocSlots(m_size);
        if (slots == nullptr) return;  // keeping the larger storage is harmless
        std::memcpy(slots, m_data, static_cast<size_t>(m_size) * sizeof(void*));
    }
    std::free(m_data);
    m_data = slots;
    m_capacity = m_size;
}

void SPtrArray::RemoveAll() { SetSize(0); }

void* SPtrArray::GetAt(int i) const { return i >= 0 && i < m_size ? m_data[i] : nullptr; }

void SPtrArray::SetAt(int i, void* p) {
    if (i >= 0 && i < m_size) m_data[i] = p;
}

bool SPtrArray::Ensure(int n) { return n <= m_capacity || SetSize(n) == 0; }

int SPtrArray::Add(void* p) {
    const int index = m_size;
    SetAtGrow(index, p);
    return index;
}

void SPtrArray::SetAtGrow(int i, void* p) {
    if (i < 0 || i == INT32_MAX) return;
    if (i >= m_capacity && SetSize(i + 1) != 0) return;
    m_data[i] = p;
    if (i + 1 > m_size) m_size = i + 1;
}

void SPtrArray::InsertAt(int i, void* p, int count) {
    if (i < 0 || count < 1 || count > INT32_MAX - (i > m_size ? i : m_size)) return;
    // An index past the size inserts there, as SetAtGrow would; room for that first.
    const int end = (i > m_size ? i : m_size) + count;
    if (i >= m_capacity) {
        if (SetSize(i + count) != 0) return;
    } else {
        if (!Ensure(end)) return;
        if (i < m_size) {
            std::memmove(m_data + i + count, m_data + i,
                         static_cast<size_t>(m_size - i) * sizeof(void*));
            m_size += count;
        }
    }
    for (int k = 0; k < count; ++k) m_data[i + k] = p;
    if (i + count > m_size) m_size = i + count;
}

void SPtrArray::InsertAt(int i, SPtrArray* other) {
    if (other == nullptr || other->m_size == 0) return;
    // Copied first: other may be this very array.
    const std::vector<void*> items(other->m_data, other->m_data + other->m_size);
    InsertAt(i, nullptr, static_cast<int>(items.size()));
    if (i < 0 || i + static_cast<int>(items.size()) > m_size) return;
    std::memcpy(m_data + i, items.data(), items.size() * sizeof(void*));
}

void SPtrArray::RemoveAt(int i, int count) {
    if (i < 0 || i >= m_size || count < 1) return;
    if (count > m_size - i) count = m_size - i;
    std::memmove(m_data + i, m_data + i + count,
                 static_cast<size_t>(m_size - i - count) * sizeof(void*));
    m_size -= count;
}

int SPtrArray::Append(const SPtrArray& other) {
    const int first = m_size;
    if (other.m_size == 0) return first;
    const std::vector<void*> items(other.m_data, other.m_data + other.m_size);
    if (!Ensure(m_size + other.m_size)) return first;
    std::memcpy(m_data + m_size, items.data(), items.size() * sizeof(void*));
    m_size += static_cast<int>(items.size());
    return first;
}

void SPtrArray::Copy(const SPtrArray& other) {
    if (&other == this) return;
    if (other.m_size == 0) {
        m_size = 0;
        return;
    }
    if (!Ensure(other.m_size)) return;
    std::memcpy(m_data, other.m_data, static_cast<size_t>(other.m_size) * sizeof(void*));
    m_size = other.m_size;
}

int SPtrArray::GetPtrIndex(void* p) const {
    for (int i = 0; i < m_size; ++i) {
        if (m_data[i] == p) return i;
    }
    return -1;
}

void SPtrArray::Sort(int (*cmp)(const void*, const void*)) {
    if (m_size < 2 || cmp == nullptr) return;
    std::vector<void*> scratch(m_data, m_data + m_size);
    std::qsort(scratch.data(), scratch.size(), sizeof(void*), cmp);
    std::memcpy(m_data, scratch.data(), scratch.size() * sizeof(void*));
}

void SPtrArray::SortInto(int (*cmp)(const void*, const void*), SPtrArray* target) const {
    if (m_size < 2 || cmp == nullptr || target == nullptr || target == this) return;
    if (target->m_size != m_size) {
        target->RemoveAll();
        target->SetSizeInit(m_size, m_size);
        target->SetAtGrow(m_size - 1, nullptr);
        if (target->m_size != m_size) return;  // memory refused
    }
    std::memcpy(target->m_data, m_data, static_cast<size_t>(m_size) * sizeof(void*));
    std::qsort(target->m_data, static_cast<size_t>(m_size), sizeof(void*), cmp);
}

int SPtrArray::FltFind(float v) const {
    for (int i = 0; i < m_size; ++i) {
        if (SlotToFloat(m_data[i]) == v) return i;
    }
    return -1;
}

int SPtrArray::FltAddIfNew(float v) {
    if (FltFind(v) >= 0) return -1;
    return Add(FloatToSlot(v));
}

float SPtrArray::FltGetAt(int i) const {
    return i >= 0 && i < m_size ? SlotToFloat(m_data[i]) : kMissingFloat;
}

int SPtrArray::FltSort() {
    if (m_size < 2) return 0;
    Sort(CompareFloatSlots);
    return m_size;
}
