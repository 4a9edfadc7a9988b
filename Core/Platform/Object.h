#pragma once
// A small root object with run-time class records and a byte archive, for
// the library's non-window classes that carry class information. Window
// classes use the toolkit's own run-time classes instead.

#include <cstdio>

#include "Core/Platform/WinTypes.h"

class CObject;
class CArchive;

/// What a class says about itself at run time.
struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;                     ///< 0xFFFF: not serialisable
    CObject* (*m_pfnCreateObject)();    ///< null: not creatable
    const CRuntimeClass* m_pBaseClass;  ///< null for the root

    /// True when this class is base or derives from base.
    bool IsDerivedFrom(const CRuntimeClass* base) const;
};

/// The root of classes with run-time class information.
class CObject {
public:
    virtual const CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = default;
    /// Reads or writes the object; the root has nothing to do.
    virtual void Serialize(CArchive& archive);
    /// Checks the object's invariants; the root has none.
    virtual void AssertValid() const {}
    /// Writes a diagnostic description; the root has nothing to say.
    virtual void Dump() const {}

    /// True when the object's class is cls or derives from it.
    bool IsKindOf(const CRuntimeClass* cls) const;

    static const CRuntimeClass classCObject;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

/// Bytes written to or read from an open file, in one direction.
class CArchive {
public:
    enum Mode { load = 1, store = 0 };
    CArchive(FILE* file, Mode mode) : m_File(file), m_Mode(mode) {}
    bool IsStoring() const { return m_Mode == store; }
    bool IsLoading() const { return m_Mode == load; }
    /// Bytes written; fewer on failure.
    UINT Write(const void* data, UINT count);
    /// Bytes read; fewer at the end or on failure.
    UINT Read(void* data, UINT count);

private:
    FILE* m_File;
    Mode m_Mode;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                             \
public:                                                         \
    static const CRuntimeClass class##class_name;               \
    const CRuntimeClass* GetRuntimeClass() const override;

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                     \
    const CRuntimeClass class_name::class##class_name = {                                  \
        #class_name, static_cast<int>(sizeof(class_name)), 0xFFFF, nullptr,                \
        RUNTIME_CLASS(base_class_name)};                                                   \
    const CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }
