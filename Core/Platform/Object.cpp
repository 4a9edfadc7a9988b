#include "Core/Platform/Object.h"

const CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF,
                                             nullptr, nullptr};

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
    for (const CRuntimeClass* cls = this; cls != nullptr; cls = cls->m_pBaseClass) {
        if (cls == base) return true;
    }
    return false;
}

const CRuntimeClass* CObject::GetRuntimeClass() const { return &classCObject; }

void CObject::Serialize(CArchive&) {}

bool CObject::IsKindOf(const CRuntimeClass* cls) const {
    return GetRuntimeClass()->IsDerivedFrom(cls);
}

UINT CArchive::Write(const void* data, UINT count) {
    if (m_File == nullptr || data == nullptr || !IsStoring()) return 0;
    return static_cast<UINT>(std::fwrite(data, 1, count, m_File));
}

UINT CArchive::Read(void* data, UINT count) {
    if (m_File == nullptr || data == nullptr || !IsLoading()) return 0;
    return static_cast<UINT>(std::fread(data, 1, count, m_File));
}
