#include "Core/Graph/DialogTemplateReader.h"

#include "Core/Graph/TemplateBytes.h"
#include "Core/Graph/WideText.h"

namespace zam::graph {

namespace {

size_t RoundUp4(size_t n) { return (n + 3) & ~size_t(3); }

// A cursor over the block that refuses every read that would pass its end.
class Cursor {
public:
    Cursor(const uint8_t* data, size_t size) : m_Data(data), m_Size(size) {}
    size_t Position() const { return m_Pos; }
    size_t Left() const { return m_Size - m_Pos; }
    bool U16(uint16_t& v) {
        if (Left() < 2) return false;
        v = GetU16(m_Data + m_Pos);
        m_Pos += 2;
        return true;
    }
    bool U32(uint32_t& v) {
        if (Left() < 4) return false;
        v = GetU32(m_Data + m_Pos);
        m_Pos += 4;
        return true;
    }
    bool I16(int16_t& v) {
        uint16_t u = 0;
        if (!U16(u)) return false;
        v = static_cast<int16_t>(u);
        return true;
    }
    // A zero-terminated 16-bit string, as UTF-8.
    bool String(std::string& out) {
        std::u16string units;
        for (;;) {
            uint16_t unit = 0;
            if (!U16(unit)) return false;
            if (unit == 0) break;
            units += static_cast<char16_t>(unit);
        }
        out = NarrowFromWide(units.data(), units.size());
        return true;
    }
    bool Bytes(std::vector<uint8_t>& out, size_t count) {
        if (Left() < count) return false;
        out.assign(m_Data + m_Pos, m_Data + m_Pos + count);
        m_Pos += count;
        return true;
    }
    // Moves to the next 4-byte boundary, or to the end when the padding is cut off.
    void Align4() {
        const size_t next = RoundUp4(m_Pos);
        m_Pos = next <= m_Size ? next : m_Size;
    }

private:
    const uint8_t* m_Data;
    size_t m_Size;
    size_t m_Pos = 0;
};

constexpr uint32_t kSetFont = 0x40;

}  // namespace

int ReadDialogTemplate(const void* data, size_t size, DlgTemplateInfo& info) {
    info = DlgTemplateInfo();
    if (data == nullptr || size < 18) return -1;
    Cursor in(static_cast<const uint8_t*>(data), size);
    uint16_t count = 0;
    in.U32(info.Style);
    in.U32(info.ExStyle);
    in.U16(count);
    in.I16(info.X);
    in.I16(info.Y);
    in.I16(info.Cx);
    in.I16(info.Cy);
    if (!in.String(info.Menu) || !in.String(info.WindowClass) || !in.String(info.Caption)) return -2;
    if (info.Style & kSetFont) {
        uint16_t points = 0;
        if (!in.U16(points) || !in.String(info.FaceName)) return -2;
        info.HasFont = true;
        info.PointSize = static_cast<int16_t>(points);
    }
    for (unsigned i = 0; i < count; ++i) {
        in.Align4();
        DlgTemplateItem item;
        if (in.Left() < 18) return -3;
        in.U32(item.Style);
        in.U32(item.ExStyle);
        in.I16(item.X);
        in.I16(item.Y);
        in.I16(item.Cx);
        in.I16(item.Cy);
        in.U16(item.Id);
        if (!in.String(item.ClassName) || !in.String(item.Title)) return -4;
        uint16_t dataSize = 0;
        if (!in.U16(dataSize) || !in.Bytes(item.Data, dataSize)) return -5;
        info.Items.push_back(std::move(item));
    }
    return 1;
}

const char* DialogTemplateError(int result) {
    switch (result) {
        case 1: return "read";
        case -1: return "no template or shorter than its header";
        case -2: return "a header string runs past the end of the template";
        case -3: return "a control header runs past the end of the template";
        case -4: return "a control's class name or title runs past the end of the template";
        case -5: return "a control's creation data runs past the end of the template";
        default: return "unknown result";
    }
}

}  // namespace zam::graph
