#pragma once
// The growable array of untyped pointers under every list of the library. It
// owns its slots, never what they point to. SetSize reserves room and does
// not change the number of elements, except that SetSize(0) empties the
// array and releases its storage.

#include "Core/Platform/Object.h"

class SPtrArray : public CObject {
    DECLARE_DYNAMIC(SPtrArray)

public:
    /// No storage, size 0, growth automatic, first allocation 10 slots.
    SPtrArray();
    /// Releases the storage; the pointed-to objects are untouched.
    ~SPtrArray() override;
    SPtrArray(const SPtrArray&) = delete;
    SPtrArray& operator=(const SPtrArray&) = delete;

    /// Forgets the storage without releasing it (it was handed on through GetRawData).
    void DropData();

    /// Sets the growth step (unless -1) and the first allocation (when above 0).
    void SetSizeInit(int initialCapacity, int growBy);
    /// The growth step (0: automatic).
    int GetGrowBy() const { return m_growBy; }
    /// Reserves room for n slots (0: empties and releases); 0, or -1 when memory is refused.
    int SetSize(int n);
    /// Shrinks the storage to exactly the elements in use.
    void FreeExtra();
    /// SetSize(0).
    void RemoveAll();

    int GetSize() const { return m_size; }
    int GetUpperBound() const { return m_size - 1; }
    /// The element at i (null outside 0..size-1).
    void* GetAt(int i) const;
    /// Stores p at i (ignored outside 0..size-1).
    void SetAt(int i, void* p);
    /// The slot at i; unchecked, the caller keeps 0 <= i < size.
    void*& ElementAt(int i) { return m_data[i]; }
    void*& operator[](int i) { return ElementAt(i); }
    void* operator[](int i) const { return GetAt(i); }
    /// The storage (null when none).
    void* const* GetData() const { return m_data; }
    void** GetRawData() { return m_data; }

    /// Appends p; returns its index (the old size).
    int Add(void* p);
    /// Stores p at i, growing the storage and the size as needed.
    void SetAtGrow(int i, void* p);
    /// Inserts count copies of p before index i.
    void InsertAt(int i, void* p, int count = 1);
    /// Inserts all elements of other before index i.
    void InsertAt(int i, SPtrArray* other);
    /// Removes count elements from i (a range past the end stops at the end).
    void RemoveAt(int i, int count = 1);
    /// Appends other's elements; returns the index of the first (the old size).
    int Append(const SPtrArray& other);
    /// Becomes a copy of other's elements.
    void Copy(const SPtrArray& other);

    /// Index of the first element equal to p; -1 when none.
    int GetPtrIndex(void* p) const;
    /// Sorts with qsort; cmp receives pointers to two slots.
    void Sort(int (*cmp)(const void*, const void*));
    /// Writes the elements in sorted order into target, leaving this array unchanged.
    void SortInto(int (*cmp)(const void*, const void*), SPtrArray* target) const;

    /// Index of the first slot holding the float v; -1 when none.
    int FltFind(float v) const;
    /// Adds v when not present: its index, else -1.
    int FltAddIfNew(float v);
    /// The float at i; 1e9 outside 0..size-1.
    float FltGetAt(int i) const;
    /// Sorts the floats ascending; the size, or 0 when fewer than 2.
    int FltSort();

private:
    bool Ensure(int n);

    void** m_data = nullptr;
    int m_size = 0;
    int m_capacity = 0;
    int m_growBy = 0;
    int m_initialCapacity = 10;
};
