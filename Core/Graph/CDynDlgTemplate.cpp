#include "Core/Graph/CDynDlgTemplate.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "Core/Graph/TemplateBytes.h"
#include "Core/Graph/WideText.h"
#include "Core/System/Log.h"

using zam::graph::ArchiveReader;
using zam::graph::ArchiveWriter;
using zam::graph::PutU16;
using zam::graph::PutU32;
using zam::graph::WideFromNarrow;

namespace {

// Strings of this many units or more are refused: nothing a dialog shows
// needs them, and it keeps every size well inside the template's 16-bit world.
constexpr size_t kMaxUnits = 32767;
constexpr int32_t kMaxStringBytes = static_cast<int32_t>((kMaxUnits + 1) * 2);

size_t RoundUp4(size_t n) { return (n + 3) & ~size_t(3); }

int32_t ByteSize(const std::u16string& s) { return static_cast<int32_t>((s.size() + 1) * 2); }

uint8_t* PutString(uint8_t* dest, const std::u16string& s) {
    for (char16_t c : s) dest = PutU16(dest, c);
    return PutU16(dest, 0);
}

std::u16string FromWide(const char16_t* text) { return text ? std::u16string(text) : std::u16string(); }

// The header's 18 bytes, as both the block and the archive carry them.
void PutDialogHeader(uint8_t* p, const CDynDlgTemplate& t) {
    p = PutU32(p, t.Style);
    p = PutU32(p, t.ExStyle);
    p = PutU16(p, t.ItemCount);
    p = PutU16(p, static_cast<uint16_t>(t.x));
    p = PutU16(p, static_cast<uint16_t>(t.y));
    p = PutU16(p, static_cast<uint16_t>(t.cx));
    PutU16(p, static_cast<uint16_t>(t.cy));
}

void PutItemHeader(uint8_t* p, const CDynDlgTemplate::CDlgItemTempl& item) {
    p = PutU32(p, item.Style);
    p = PutU32(p, item.ExStyle);
    p = PutU16(p, static_cast<uint16_t>(item.x));
    p = PutU16(p, static_cast<uint16_t>(item.y));
    p = PutU16(p, static_cast<uint16_t>(item.cx));
    p = PutU16(p, static_cast<uint16_t>(item.cy));
    PutU16(p, item.id);
}

// The archive's strings: a 32-bit byte size, then the raw 16-bit units.
void StoreString(ArchiveWriter& out, int32_t size, const std::u16string& s) {
    out.U32(static_cast<uint32_t>(size));
    uint8_t buffer[2];
    for (char16_t c : s) {
        PutU16(buffer, c);
        out.Bytes(buffer, 2);
    }
    out.U16(0);
}

// A size that does not fit its string (odd, too big, no room for the
// terminator, or a last unit that is not zero) refuses the whole load.
bool LoadString(ArchiveReader& in, int32_t& size, std::u16string& s, bool allowNone) {
    uint32_t raw = 0;
    if (!in.U32(raw)) return false;
    if (raw == 0 && allowNone) {
        size = 0;
        s.clear();
        return true;
    }
    if (raw < 2 || raw > static_cast<uint32_t>(kMaxStringBytes) || (raw & 1) != 0) return false;
    std::vector<uint8_t> bytes(raw);
    if (!in.Bytes(bytes.data(), raw)) return false;
    const size_t units = raw / 2;
    if (bytes[raw - 1] != 0 || bytes[raw - 2] != 0) return false;
    s.assign(units - 1, u'\0');
    for (size_t i = 0; i + 1 < units; ++i) s[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    size = static_cast<int32_t>(raw);
    return true;
}

// The object list as the framework's archives write it: a 16-bit count (or
// 0xFFFF and a 32-bit one), then each object behind a class tag: the first
// time the new-class tag 0xFFFF, the schema and the class name, after that a
// reference 0x8000 | 1 to that first class entry.
constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kClassRef = 0x8001;

}  // namespace

// --- CDlgItemTempl ------------------------------------------------------------

const CRuntimeClass CDynDlgTemplate::CDlgItemTempl::classCDlgItemTempl = {
    "CDynDlgTemplate::CDlgItemTempl", static_cast<int>(sizeof(CDlgItemTempl)), 1,
    &CDlgItemTempl::CreateObject, RUNTIME_CLASS(CObject)};

const CRuntimeClass* CDynDlgTemplate::CDlgItemTempl::GetRuntimeClass() const {
    return &classCDlgItemTempl;
}

CObject* CDynDlgTemplate::CDlgItemTempl::CreateObject() { return new CDlgItemTempl; }

CDynDlgTemplate::CDlgItemTempl::CDlgItemTempl() = default;
CDynDlgTemplate::CDlgItemTempl::~CDlgItemTempl() = default;

int CDynDlgTemplate::CDlgItemTempl::Set(int x_, int y_, int cx_, int cy_, unsigned id_, DWORD style,
                                        const char* className, const char* title, int dataSize,
                                        const void* data, DWORD exStyle) {
    Clear();
    Style = style;
    ExStyle = exStyle;
    x = static_cast<int16_t>(x_);
    y = static_cast<int16_t>(y_);
    cx = static_cast<int16_t>(cx_);
    cy = static_cast<int16_t>(cy_);
    id = static_cast<uint16_t>(id_);
    if (!SetClassName(className) || !SetTitle(title) || !SetData(dataSize, data)) {
        Clear();
        return 0;
    }
    return 1;
}

int CDynDlgTemplate::CDlgItemTempl::SetClassName(const char* name) {
    return SetClassName(WideFromNarrow(name).c_str());
}

int CDynDlgTemplate::CDlgItemTempl::SetClassName(const char16_t* name) {
    std::u16string s = FromWide(name);
    if (s.empty() || s.size() >= kMaxUnits) return 0;
    ClassName = std::move(s);
    ClassSize = ByteSize(ClassName);
    return 1;
}

int CDynDlgTemplate::CDlgItemTempl::SetTitle(const char* title) {
    return SetTitle(WideFromNarrow(title).c_str());
}

int CDynDlgTemplate::CDlgItemTempl::SetTitle(const char16_t* title) {
    std::u16string s = FromWide(title);
    if (s.size() >= kMaxUnits) return 0;
    Title = std::move(s);
    TitleSize = ByteSize(Title);
    return 1;
}

int CDynDlgTemplate::CDlgItemTempl::SetData(int size, const void* data) {
    if (size < 0 || size > 0xFFFF || (size > 0 && data == nullptr)) return 0;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    Data.assign(bytes, bytes + size);
    DataSize = static_cast<uint16_t>(size);
    return 1;
}

size_t CDynDlgTemplate::CDlgItemTempl::GetRawSize() const {
    return 18 + static_cast<size_t>(ClassSize) + static_cast<size_t>(TitleSize) + 2 + DataSize;
}

uint8_t* CDynDlgTemplate::CDlgItemTempl::Write(uint8_t* dest) const {
    PutItemHeader(dest, *this);
    dest += 18;
    if (ClassSize > 0) dest = PutString(dest, ClassName);
    if (TitleSize > 0) dest = PutString(dest, Title);
    dest = PutU16(dest, DataSize);
    if (DataSize > 0) std::memcpy(dest, Data.data(), DataSize);
    return dest + DataSize;
}

void CDynDlgTemplate::CDlgItemTempl::Clear() {
    Style = ExStyle = 0;
    x = y = cx = cy = 0;
    id = 0;
    ClassSize = TitleSize = 0;
    ClassName.clear();
    Title.clear();
    DataSize = 0;
    Data.clear();
}

void CDynDlgTemplate::CDlgItemTempl::Serialize(CArchive& archive) {
    if (archive.IsStoring()) {
        ArchiveWriter out(archive);
        uint8_t header[18];
        PutItemHeader(header, *this);
        out.Bytes(header, sizeof header);
        StoreString(out, ClassSize, ClassName);
        StoreString(out, TitleSize, Title);
        out.U32(DataSize);
        if (DataSize > 0) out.Bytes(Data.data(), DataSize);
        return;
    }
    Clear();
    ArchiveReader in(archive);
    uint32_t dataSize = 0;
    m_LoadOk = in.U32(Style) && in.U32(ExStyle) && in.I16(x) && in.I16(y) && in.I16(cx) &&
               in.I16(cy) && in.U16(id) && LoadString(in, ClassSize, ClassName, false) &&
               LoadString(in, TitleSize, Title, false) && in.U32(dataSize) && dataSize <= 0xFFFF;
    if (m_LoadOk && dataSize > 0) {
        Data.resize(dataSize);
        m_LoadOk = in.Bytes(Data.data(), dataSize);
    }
    DataSize = static_cast<uint16_t>(dataSize);
    if (!m_LoadOk) Clear();
}

// --- CDynDlgTemplate ------------------------------------------------------------

const CRuntimeClass CDynDlgTemplate::classCDynDlgTemplate = {
    "CDynDlgTemplate", static_cast<int>(sizeof(CDynDlgTemplate)), 1, &CDynDlgTemplate::CreateObject,
    RUNTIME_CLASS(CObject)};

const CRuntimeClass* CDynDlgTemplate::GetRuntimeClass() const { return &classCDynDlgTemplate; }

CObject* CDynDlgTemplate::CreateObject() { return new CDynDlgTemplate; }

CDynDlgTemplate::CDynDlgTemplate() = default;

CDynDlgTemplate::~CDynDlgTemplate() { Clear(); }

int CDynDlgTemplate::SetHeader(DWORD style, DWORD exStyle, int x_, int y_, int cx_, int cy_) {
    Style = style;
    ExStyle = exStyle;
    x = static_cast<int16_t>(x_);
    y = static_cast<int16_t>(y_);
    cx = static_cast<int16_t>(cx_);
    cy = static_cast<int16_t>(cy_);
    return 1;
}

int CDynDlgTemplate::SetMenu(const char16_t* menu) {
    Menu = FromWide(menu);
    MenuSize = ByteSize(Menu);
    return 1;
}

int CDynDlgTemplate::SetClass(const char16_t* className) {
    Class = FromWide(className);
    ClassSize = ByteSize(Class);
    return 1;
}

int CDynDlgTemplate::SetCaption(const char* caption) {
    return SetCaption(WideFromNarrow(caption).c_str());
}

int CDynDlgTemplate::SetCaption(const char16_t* caption) {
    Caption = FromWide(caption);
    CaptionSize = ByteSize(Caption);
    return 1;
}

int CDynDlgTemplate::SetFont(int pointSize, const char* faceName) {
    FaceName = WideFromNarrow(faceName);
    if (FaceName.empty()) {
        FaceSize = 0;
        PointSize = 0;
        Style &= ~kDlgStyleSetFont;
        return 1;
    }
    if (FaceName.size() >= kMaxUnits) FaceName.resize(kMaxUnits - 1);
    FaceSize = ByteSize(FaceName);
    PointSize = static_cast<int16_t>(pointSize);
    Style |= kDlgStyleSetFont;
    return 1;
}

int CDynDlgTemplate::AddItem(int x_, int y_, int cx_, int cy_, unsigned id_, DWORD style,
                             const char* className, const char* title, int dataSize,
                             const void* data, DWORD exStyle) {
    if (ItemCount == 0xFFFF) return 0;
    auto item = std::make_unique<CDlgItemTempl>();
    if (!item->Set(x_, y_, cx_, cy_, id_, style, className, title, dataSize, data, exStyle)) return 0;
    Items.push_back(std::move(item));
    ++ItemCount;
    return 1;
}

size_t CDynDlgTemplate::GetHeaderSize() const {
    size_t size = 18 + static_cast<size_t>(MenuSize) + static_cast<size_t>(ClassSize) +
                  static_cast<size_t>(CaptionSize);
    if (Style & kDlgStyleSetFont) size += 2 + static_cast<size_t>(FaceSize);
    return RoundUp4(size);
}

int CDynDlgTemplate::GetSize() const {
    size_t size = GetHeaderSize();
    for (const auto& item : Items) size += RoundUp4(item->GetRawSize());
    return static_cast<int>(size);
}

void* CDynDlgTemplate::GetTemplate() {
    if (Locked != nullptr) return nullptr;
    const size_t size = static_cast<size_t>(GetSize());
    MemHandle = std::calloc(size, 1);
    if (MemHandle == nullptr) return nullptr;
    Locked = MemHandle;
    uint8_t* block = static_cast<uint8_t*>(Locked);
    PutDialogHeader(block, *this);
    uint8_t* p = block + 18;
    p = PutString(p, Menu);
    p = PutString(p, Class);
    p = PutString(p, Caption);
    if (Style & kDlgStyleSetFont) {
        p = PutU16(p, static_cast<uint16_t>(PointSize));
        if (FaceSize > 0) PutString(p, FaceName);
    }
    size_t position = GetHeaderSize();
    for (const auto& item : Items) {
        item->Write(block + position);
        position += RoundUp4(item->GetRawSize());
    }
    return Locked;
}

void CDynDlgTemplate::ReleaseTemplate() {
    std::free(MemHandle);
    MemHandle = nullptr;
    Locked = nullptr;
}

void CDynDlgTemplate::Clear() {
    ReleaseTemplate();
    Menu.clear();
    Class.clear();
    Caption.clear();
    FaceName.clear();
    MenuSize = ClassSize = CaptionSize = 2;
    FaceSize = 0;
    PointSize = 0;
    Items.clear();
    ItemCount = 0;
}

void CDynDlgTemplate::Serialize(CArchive& archive) {
    if (archive.IsStoring()) {
        StoreTo(archive);
        return;
    }
    Clear();
    Style = ExStyle = 0;
    x = y = cx = cy = 0;
    m_LoadOk = LoadFrom(archive);
    if (!m_LoadOk) {
        Clear();
        Style = ExStyle = 0;
        x = y = cx = cy = 0;
        LogTrace("DynTempl", 1, "Template load refused: a size or class tag does not fit the archive");
    }
}

void CDynDlgTemplate::StoreTo(CArchive& archive) {
    ArchiveWriter out(archive);
    uint8_t header[18];
    PutDialogHeader(header, *this);
    out.Bytes(header, sizeof header);
    StoreString(out, MenuSize, Menu);
    StoreString(out, ClassSize, Class);
    StoreString(out, CaptionSize, Caption);
    if (Style & kDlgStyleSetFont) {
        out.U16(static_cast<uint16_t>(PointSize));
        out.U32(static_cast<uint32_t>(FaceSize));
        if (FaceSize > 0) {
            uint8_t buffer[2];
            for (char16_t c : FaceName) {
                PutU16(buffer, c);
                out.Bytes(buffer, 2);
            }
            out.U16(0);
        }
    }
    if (Items.size() < 0xFFFF) {
        out.U16(static_cast<uint16_t>(Items.size()));
    } else {
        out.U16(0xFFFF);
        out.U32(static_cast<uint32_t>(Items.size()));
    }
    const char* name = CDlgItemTempl::classCDlgItemTempl.m_lpszClassName;
    for (size_t i = 0; i < Items.size(); ++i) {
        if (i == 0) {
            out.U16(kNewClassTag);
            out.U16(static_cast<uint16_t>(CDlgItemTempl::classCDlgItemTempl.m_wSchema));
            out.U16(static_cast<uint16_t>(std::strlen(name)));
            out.Bytes(name, static_cast<UINT>(std::strlen(name)));
        } else {
            out.U16(kClassRef);
        }
        Items[i]->Serialize(archive);
    }
}

bool CDynDlgTemplate::LoadFrom(CArchive& archive) {
    ArchiveReader in(archive);
    uint16_t count16 = 0;
    if (!in.U32(Style) || !in.U32(ExStyle) || !in.U16(ItemCount) || !in.I16(x) || !in.I16(y) ||
        !in.I16(cx) || !in.I16(cy))
        return false;
    if (!LoadString(in, MenuSize, Menu, false) || !LoadString(in, ClassSize, Class, false) ||
        !LoadString(in, CaptionSize, Caption, false))
        return false;
    if (Style & kDlgStyleSetFont) {
        if (!in.I16(PointSize) || !LoadString(in, FaceSize, FaceName, false)) return false;
    }
    if (!in.U16(count16)) return false;
    uint32_t count = count16;
    if (count16 == 0xFFFF && !in.U32(count)) return false;
    // The long form is only written for counts the short one cannot hold,
    // and ItemCount could not say more than 0xFFFF.
    if (count > 0xFFFF || (count16 == 0xFFFF && count < 0xFFFF)) return false;
    const char* name = CDlgItemTempl::classCDlgItemTempl.m_lpszClassName;
    const size_t nameLength = std::strlen(name);
    for (uint32_t i = 0; i < count; ++i) {
        uint16_t tag = 0;
        if (!in.U16(tag)) return false;
        if (i == 0) {
            uint16_t schema = 0, length = 0;
            char buffer[64];
            if (tag != kNewClassTag || !in.U16(schema) || !in.U16(length)) return false;
            if (schema != CDlgItemTempl::classCDlgItemTempl.m_wSchema || length != nameLength ||
                !in.Bytes(buffer, length) || std::memcmp(buffer, name, length) != 0)
                return false;
        } else if (tag != kClassRef) {
            return false;
        }
        auto item = std::make_unique<CDlgItemTempl>();
        item->Serialize(archive);
        if (!item->LoadOk()) return false;
        Items.push_back(std::move(item));
    }
    // The list is what was really read; the stored count only says what was meant.
    ItemCount = static_cast<uint16_t>(Items.size());
    return true;
}
