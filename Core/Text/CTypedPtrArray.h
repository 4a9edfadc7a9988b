#pragma once
// A typed view of a pointer array: the same slots, handed out as TYPE
// pointers, so callers need no casts. It owns the slots, not what they
// point to, exactly as its base does.

template <class BASE, class TYPE>
class CTypedPtrArray : public BASE {
public:
    TYPE GetAt(int i) const { return static_cast<TYPE>(BASE::GetAt(i)); }
    TYPE& ElementAt(int i) { return reinterpret_cast<TYPE&>(BASE::ElementAt(i)); }
    void SetAt(int i, TYPE p) { BASE::SetAt(i, p); }
    void SetAtGrow(int i, TYPE p) { BASE::SetAtGrow(i, p); }
    int Add(TYPE p) { return BASE::Add(p); }
    void InsertAt(int i, TYPE p, int count = 1) { BASE::InsertAt(i, p, count); }
    TYPE operator[](int i) const { return GetAt(i); }
};
