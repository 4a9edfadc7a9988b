#pragma once
// The window-free half of the masked edit control: the mask, the input and
// every editing step, with the keys, characters, focus, mouse and clipboard
// expressed on the field's text and selection. The field is reached through
// a few virtual members; here they keep an in-memory field, so the whole
// behaviour runs without a display, and CEditMask overrides them with the
// real window.

#include <string>
#include <vector>

#include "Core/Graph/CMaskData.h"

// Edit-control notification codes, with their Windows values.
#ifndef EN_SETFOCUS
#define EN_SETFOCUS 0x0100
#endif
#ifndef EN_CHANGE
#define EN_CHANGE 0x0300
#endif
#ifndef EN_UPDATE
#define EN_UPDATE 0x0400
#endif

class CEditMaskText {
public:
    /// Keys the key handling acts on (Windows virtual-key codes).
    enum Key {
        KeyBack = 0x08,
        KeyHome = 0x24,
        KeyLeft = 0x25,
        KeyUp = 0x26,
        KeyRight = 0x27,
        KeyDown = 0x28,
        KeyInsert = 0x2D,
        KeyDelete = 0x2E,
    };

    /// Insert mode, a blank prompt, the locale's separators, then SetMask(mask).
    explicit CEditMaskText(const char* mask = nullptr);
    virtual ~CEditMaskText();
    CEditMaskText(const CEditMaskText&) = delete;
    CEditMaskText& operator=(const CEditMaskText&) = delete;

    /// Makes one position per mask character (null counts as empty); the
    /// same mask again changes nothing. Refreshes with the caret at the first
    /// input position.
    void SetMask(const char* mask);
    /// The mask rebuilt from the positions (escapes written with their backslash).
    std::string GetMask() const;
    /// The number of backslash escapes in mask (a lone trailing one is no escape).
    static int GetNumFixedChar(const char* mask);
    /// Every position's character: the display text.
    std::string ShowMask() const;
    /// The input characters, prompts included; without a mask the field's text.
    std::string GetInputData() const;
    /// text without the literal runs that match the mask's at the same place
    /// (only runs followed by an input position).
    std::string GetInputData(const char* text) const;
    /// Keeps the first start input characters, appends text (prompt symbols
    /// dropped unless raw) and fills the input positions in order, skipping
    /// characters a position does not accept. Refreshes. 1 when nothing was
    /// skipped, 0 otherwise; without a mask the field gets text and 1.
    int SetInputData(const char* text, int start = 0, int raw = 0);
    /// With a mask and keepMask, empties every input position; otherwise
    /// deletes the mask. Refreshes.
    void EmptyData(int keepMask);
    /// Deletes all positions; with none, empties the field.
    void DeleteContents();
    /// 1 when every input position shows the prompt (without a mask: the field is empty), else 0.
    int IsInputEmpty() const;

    char GetPromptSymbol() const { return m_PromptSymbol; }
    /// Refuses 0, 10, 13 and 127 (only refreshes); otherwise empty positions show the new symbol.
    void SetPromptSymbol(char symbol);
    int GetInsertMode() const { return m_InsertMode; }
    void SetInsertMode(int mode) { m_InsertMode = mode != 0; }
    int GetAutoTab() const { return m_AutoTab; }
    void SetAutoTab(int on) { m_AutoTab = on != 0; }

    /// The input index of a display position; -1 for a literal or out of range.
    int RPtoLP(int position) const;
    /// The display position of an input index; -1 out of range.
    int LPtoRP(int index) const;

    /// Sounds the warning beep.
    virtual void ValidationError();
    /// 1 when the content is acceptable; a derived control returns 0 to keep the focus.
    virtual int OnValidate();

    /// The number of positions (the display's length).
    int GetPositionCount() const { return static_cast<int>(m_Positions.size()); }
    /// The position at a display index; null out of range.
    const CMaskData* GetMaskData(int position) const;
    /// The separator shown for kinds 0 to 3 (decimal, thousands, time, date).
    char GetSeparator(int kind) const { return kind >= 0 && kind < 4 ? m_Separators[kind] : '\0'; }

    // --- The field's events: 1 handled, 0 leave it to the field's own handling.

    /// A key going down (Key), Shift held or not.
    int HandleKeyDown(int key, bool shift);
    /// A character typed (its code; 8 is Backspace).
    int HandleChar(int code);
    /// The field got the focus (after the field's own handling).
    int HandleSetFocus();
    /// The field lost the focus.
    int HandleKillFocus();
    /// A left click; hasFocus tells whether the field had the focus before it.
    int HandleLButtonDown(bool hasFocus);
    /// Cut or clear: the selection's input goes (the caller copies it first for a cut).
    int HandleCut();
    /// A paste of clipboard into the selection.
    int HandlePaste(const char* clipboard);
    /// A text set on the field: the control's own display, or a text from
    /// outside whose input is taken over.
    int HandleSetText(const char* text);

    // --- The field. The window half overrides all of these.

    /// True when there is a field to show the display in.
    virtual bool FieldExists() const { return true; }
    /// The field's text.
    virtual void GetFieldText(std::string& text) const { text = m_FieldText; }
    /// Sets the field's text as anyone would, so that it passes HandleSetText.
    virtual void SetFieldText(const char* text);
    /// The selection [start, end); start == end is the caret.
    virtual void GetFieldSel(int& start, int& end) const;
    /// Selects [start, end), kept within the text.
    virtual void SetFieldSel(int start, int end);

protected:
    /// 1 without a mask; 0 for a negative or missing position or a literal; else 1.
    int IsInputData(int position) const;
    /// Deletes the input positions in [from, to); the input after them moves
    /// left. The number of input positions in the range.
    int DeleteRange(int from, int to);
    /// Inserts c before the first input position at or after position; the
    /// display position c went to, or -1 (no such position, or the input
    /// would not fit: then nothing changes).
    int InsertAt(int position, char c);
    /// Overwrites an input position with c; position unchanged when it is
    /// negative, missing or a literal, -1 when c is not accepted there.
    int SetAt(int position, char c);
    /// The first input position at or after position (the count if none).
    int GetNextInputLocation(int position) const;
    /// position if it takes input, else just after the nearest input before
    /// it, else GetNextInputLocation(position).
    int GetPreviousInputLocation(int position) const;
    /// The first input position showing the prompt at or after position (the count if none).
    int GetEmptyInputLocation(int position) const;
    /// Shows the display in the field, then (caret >= 0) moves the caret forward from caret.
    void Update(int caret);
    /// Caret to the next input location; past the last one, with auto tab,
    /// the focus goes to the next control instead.
    void UpdateInsertionPointForward(int position);
    /// Caret to GetPreviousInputLocation(position).
    void UpdateInsertionPointBackward(int position);

    /// Tells the parent an EN_* code; here nobody listens.
    virtual void NotifyParent(int code);
    /// Tells the parent the field lost the focus; here nobody listens.
    virtual void NotifyFocusLost() {}
    /// The field's own handling of a new text: stores it.
    virtual void StoreFieldText(const char* text);
    /// Moves the focus to the next control; false when there is none.
    virtual bool FocusNextControl() { return false; }
    /// Takes the focus; here there is nothing to take.
    virtual void TakeFocus() {}

private:
    int CountInput(int from, int to) const;
    // Would these input characters fill the positions without a skip?
    bool Distribute(const std::string& input, bool apply);

    std::vector<CMaskData> m_Positions;
    int m_InsertMode = 1;
    char m_PromptSymbol = ' ';
    char m_Separators[4] = {'.', ',', ':', '/'};
    int m_AutoTab = 0;
    int m_Updating = 0;
    int m_ReportChange = 1;

    // The in-memory field, for running without a window.
    std::string m_FieldText;
    int m_SelStart = 0;
    int m_SelEnd = 0;
};
