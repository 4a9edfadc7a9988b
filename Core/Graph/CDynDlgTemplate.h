#pragma once
// A dialog box template built in memory, in the byte layout the indirect
// dialog creation takes (little-endian numbers, 16-bit strings with a
// terminating zero, every control at a 4-byte boundary, zero padding), so a
// dialog can be laid out at run time without a resource. DialogFromTemplate
// makes the built bytes into a real window. This header needs no window
// system: the byte building and the archive work without a display.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Core/Platform/Object.h"

/// Style bit of the dialog header: a point size and a face name follow the caption.
constexpr uint32_t kDlgStyleSetFont = 0x40;

/// A dialog template: a header and an ordered list of owned controls.
class CDynDlgTemplate : public CObject {
public:
    /// One control of the template.
    class CDlgItemTempl : public CObject {
    public:
        static const CRuntimeClass classCDlgItemTempl;
        const CRuntimeClass* GetRuntimeClass() const override;
        static CObject* CreateObject();

        CDlgItemTempl();
        ~CDlgItemTempl() override;
        CDlgItemTempl(const CDlgItemTempl&) = delete;
        CDlgItemTempl& operator=(const CDlgItemTempl&) = delete;

        /// Stores or loads the control; a load that meets a lying size or the
        /// end of the archive leaves the control cleared and returns false
        /// through LoadOk.
        void Serialize(CArchive& archive) override;

        /// Sets every field. 1, or 0 after clearing itself when the control
        /// cannot be made: no class name, a data size outside 0..65535, data
        /// size without data, or a text of 32,768 characters or more.
        int Set(int x, int y, int cx, int cy, unsigned id, DWORD style, const char* className,
                const char* title, int dataSize, const void* data, DWORD exStyle);
        /// 1, or 0 for a missing, empty or too long name.
        int SetClassName(const char* name);
        int SetClassName(const char16_t* name);
        /// 1, or 0 for a too long title; null stores an empty title.
        int SetTitle(const char* title);
        int SetTitle(const char16_t* title);
        /// 1, or 0 for a size outside 0..65535 or a size without bytes; 0 bytes store nothing.
        int SetData(int size, const void* data);
        /// Writes the control's bytes (unpadded) at dest; the address after them.
        uint8_t* Write(uint8_t* dest) const;
        /// Byte size written, before rounding up to 4.
        size_t GetRawSize() const;
        /// Zeroes the header fields, frees strings and data.
        void Clear();
        /// False when the last load was refused.
        bool LoadOk() const { return m_LoadOk; }

        DWORD Style = 0;    ///< control style
        DWORD ExStyle = 0;  ///< extended style
        int16_t x = 0, y = 0, cx = 0, cy = 0;  ///< position and size in template units
        uint16_t id = 0;                       ///< control id
        int32_t ClassSize = 0;  ///< bytes of ClassName with its terminator; 0 when unset
        int32_t TitleSize = 0;  ///< bytes of Title with its terminator; 0 when unset
        std::u16string ClassName;  ///< window class, by name
        std::u16string Title;      ///< initial text
        uint16_t DataSize = 0;     ///< bytes of creation data; 0 = none
        std::vector<uint8_t> Data;  ///< creation data

    private:
        bool m_LoadOk = true;
    };

    static const CRuntimeClass classCDynDlgTemplate;
    const CRuntimeClass* GetRuntimeClass() const override;
    static CObject* CreateObject();

    CDynDlgTemplate();
    ~CDynDlgTemplate() override;
    CDynDlgTemplate(const CDynDlgTemplate&) = delete;
    CDynDlgTemplate& operator=(const CDynDlgTemplate&) = delete;

    /// Stores or loads the template. A load refused for a lying size, a wrong
    /// class tag or the end of the archive leaves the template cleared, logs
    /// a line and makes LoadOk false.
    void Serialize(CArchive& archive) override;

    /// Header numbers; ItemCount is not touched. Always 1.
    int SetHeader(DWORD style, DWORD exStyle, int x, int y, int cx, int cy);
    /// Null stores an empty string. Always 1 (memory exhaustion throws).
    int SetMenu(const char16_t* menu);
    int SetClass(const char16_t* className);
    int SetCaption(const char* caption);
    int SetCaption(const char16_t* caption);
    /// Sets the dialog font, keeping the 0x40 style bit in step; a null or
    /// empty face removes the font. Always 1.
    int SetFont(int pointSize, const char* faceName);
    /// Appends a control: 1, or 0 when it cannot be made (see CDlgItemTempl::Set)
    /// or the template already holds 65,535 controls; ItemCount then stays.
    int AddItem(int x, int y, int cx, int cy, unsigned id, DWORD style, const char* className,
                const char* title, int dataSize = 0, const void* data = nullptr,
                DWORD exStyle = 0);
    /// Total byte size of the built template.
    int GetSize() const;
    /// The built template, valid until ReleaseTemplate or Clear; null when one
    /// is already handed out or no memory could be had.
    void* GetTemplate();
    /// Frees the handed-out template; harmless when there is none.
    void ReleaseTemplate();
    /// Releases the template, empties the strings, deletes every control.
    void Clear();
    /// False when the last load was refused.
    bool LoadOk() const { return m_LoadOk; }

    /// Byte size of the header part (rounded up to 4).
    size_t GetHeaderSize() const;

    void* MemHandle = nullptr;  ///< the built block; null when none
    void* Locked = nullptr;     ///< the block while it is handed out
    std::vector<std::unique_ptr<CDlgItemTempl>> Items;  ///< owned controls, in order
    DWORD Style = 0;
    DWORD ExStyle = 0;
    uint16_t ItemCount = 0;  ///< controls AddItem accepted
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    int32_t MenuSize = 2, ClassSize = 2, CaptionSize = 2;
    int32_t FaceSize = 0;  ///< 0 = no font
    int16_t PointSize = 0;
    std::u16string Menu, Class, Caption, FaceName;

private:
    void StoreTo(CArchive& archive);
    bool LoadFrom(CArchive& archive);
    bool m_LoadOk = true;
};

#if __has_include(<wx/dialog.h>)
// With the window system at hand, the dialog class for templates comes along.
#include "Core/Graph/CDlgDyn.h"
#endif
