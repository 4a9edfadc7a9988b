#pragma once
// CXML: a small push scanner for a pragmatic subset of XML. It walks a whole
// document once and calls the caller's handler for every structural event;
// it keeps the stack of open tags, the line and column, and the error and
// warning messages, and builds nothing itself.
//
// Accepted: elements, attributes in double or single quotes, the five named
// entities, two-digit "&#xHH;" references; "<?...>" and "<!...>" constructs
// are skipped up to their first '>'. Everything the handler reads lives in
// fixed buffers, which are limits: a longer tag name, attribute name,
// attribute value or content is refused with an error, never written past.
//
// Results: 0, or a negative code (see LoadFile). Nothing throws.

#include <string>

#include "Core/Text/CTxtArray.h"

class CXML;

/// Kind of the event being reported to the handler.
enum XMLEvent : int {
    XML_OPENTAG = 0,   ///< a start tag's name was read and pushed
    XML_NEWATTR = 1,   ///< an attribute was read: GetAttrID() = GetAttrTxt(), entities decoded
    XML_DATA = 2,      ///< content was read (GetAttrTxt()), delivered at the next '<'
    XML_ENDTAG = 3,    ///< a start tag's '>' or "/>" was reached
    XML_CLOSETAG = 4,  ///< a tag is being closed, before it is popped
};

/// One open tag of the stack.
struct XML_TAGITEM {
    char Name[65];        ///< the tag name as written, at most 64 characters
    void* Node;           ///< free for the handler (a tree builder keeps its node here)
    void* Parent;         ///< free for the handler (a tree builder keeps the parent here)
    unsigned Flags;       ///< 0x0001 set by the scanner on the outermost tag; others free
};

/// The handler: reads the scanner's state through its accessors; a negative
/// result stops the scan.
typedef int (*XMLHandlerFunc)(CXML* xml, void* user);

/// Progress report: -1 at the start, the percentage during the scan, 200 at
/// the end, with the file name. Its result is not used.
typedef int (*XMLProgressFunc)(float percent, const char* fileName);

// Option bits of SetFlg.
#define XMLFLG_NOERRBOX 0x0001    // no message boxes for errors at the end of LoadFile
#define XMLFLG_WARNBOX 0x0002     // message boxes for warnings at the end of LoadFile
#define XMLFLG_HOOK 0x0008        // stop once the handler has set node top; no unclosed check
#define XMLFLG_TRACE 0x0010       // for tree builders: trace each event (not read here)
#define XMLFLG_NOWARN 0x0020      // AddWarn records nothing
#define XMLFLG_TEXT 0x1000        // LoadFile's path argument is the XML text itself

class CXML {
public:
    static const int kMaxDepth = 20;         ///< tags open at once
    static const int kMaxTagName = 64;       ///< characters of a tag name
    static const int kAttrIDSize = 64;       ///< attribute name buffer, terminator included
    static const int kAttrTxtSize = 100000;  ///< attribute value / content buffer, terminator included
    static const int kFileNameSize = 260;    ///< file name buffer, terminator included

    /// Flags 0, no progress function, then Clear.
    CXML();
    virtual ~CXML();
    CXML(const CXML&) = delete;
    CXML& operator=(const CXML&) = delete;

    /// Empties messages, tag stack, buffers, file name and node top; line,
    /// column, position and depth 0. Flags and progress function stay.
    void Clear();

    /// The name a text in memory (flag 0x1000) goes by in messages, usually
    /// the file it was read from; null or empty: "(%d Bytes RAM, %p)". Kept
    /// by Clear, like the flags.
    void SetTextName(const char* name) { m_TextName = name != nullptr ? name : ""; }

    /// Reads the file (or, with flag 0x1000, the text path) and scans it.
    /// Returns 0; -1 file missing, -2 out of memory, -3 cannot open, -4 short
    /// read, -5 empty file (messages recorded); -103 syntax error or tags not
    /// closed (message recorded); any other negative: the handler's result.
    int LoadFile(const char* path, XMLHandlerFunc handler, void* user);

    /// Name of the attribute just read (at most 63 characters).
    const char* GetAttrID() const { return m_AttrID; }
    /// Value of the attribute just read, or the content just read (at most 99,999 characters).
    const char* GetAttrTxt() const { return m_AttrTxt; }
    /// Number of open tags.
    int GetDepth() const { return m_Depth; }
    /// Current line, 1-based.
    int GetLine() const { return m_Line; }
    /// Current column, 0 before the first character of a line.
    int GetCol() const { return m_Col; }
    /// The path read; for a text in memory its name (SetTextName) or "(%d Bytes RAM, %p)".
    const char* GetFileName() const { return m_FileName; }
    /// The option bits.
    int GetFlg() const { return m_Flags; }
    /// Sets the option bits; returns them.
    int SetFlg(int flags) { return m_Flags = flags; }
    /// The kind of the event being reported.
    XMLEvent GetXMLEvent() const { return m_Event; }
    /// The handler's own pointer (hook mode stops once it is set).
    void* GetNodeTop() const { return m_NodeTop; }
    /// Sets the handler's own pointer.
    void SetNodeTop(void* node) { m_NodeTop = node; }
    /// Sets (or with nullptr removes) the progress function.
    void SetProgressFunc(XMLProgressFunc func) { m_Progress = func; }

    /// Pushes a tag; the new item, or null (error recorded) for a name over
    /// 64 characters or with 20 tags open.
    XML_TAGITEM* AddTag(const char* name);
    /// The item up levels above the innermost (0 innermost); null when depth - up <= 0.
    XML_TAGITEM* GetTag(int up) {
        if (m_Depth > kMaxDepth) m_Depth = kMaxDepth;
        return up < 0 || m_Depth - up <= 0 ? nullptr : &m_Tags[m_Depth - 1 - up];
    }
    /// The innermost item; null when no tag is open.
    XML_TAGITEM* GetCurrTag() { return GetTag(0); }
    /// Clears and pops the innermost item; nothing when no tag is open.
    void CloseTag();

    /// Records "ERROR#n:" with text, line, column and file; logs it. Returns 0.
    int AddErr(const char* text);
    /// Records "WARNING#n:" likewise unless flag 0x0020 is set. Returns 0.
    int AddWarn(const char* text);
    /// The error messages recorded, in order.
    const CTxtArray& GetErrList() const { return m_Errors; }
    /// The warning messages recorded, in order.
    const CTxtArray& GetWarnList() const { return m_Warnings; }

private:
    template <class Path>
    struct Scan;

    // The scan proper; frees ownedBuffer (the file's bytes) before the end boxes.
    int ScanText(const char* text, int length, XMLHandlerFunc handler, void* user,
                 char* ownedBuffer = nullptr);
    int LoadFromDisk(const char* path, char*& buffer, int& length);
    // AddTag of the n characters at name, which need no terminator.
    XML_TAGITEM* AddTag(const char* name, size_t n);
    void Finish(char* ownedBuffer);

    CTxtArray m_Errors;
    CTxtArray m_Warnings;
    XMLEvent m_Event = XML_OPENTAG;
    char m_AttrID[kAttrIDSize];
    char m_AttrTxt[kAttrTxtSize];
    char m_FileName[kFileNameSize];
    std::string m_TextName;
    int m_Flags = 0;
    int m_Line = 0;
    int m_Col = 0;
    int m_Pos = 0;
    int m_Depth = 0;
    const char* m_CurrTag = nullptr;
    XML_TAGITEM m_Tags[kMaxDepth];
    void* m_NodeTop = nullptr;
    XMLProgressFunc m_Progress = nullptr;
};
