#pragma once
// The configuration editor without its window: the system definition file
// read into a node tree, the parameters loaded from it, and everything the
// running dialog does to a parameter that needs no window — entering a value,
// normalising it, applying it to the profile or the per-user store,
// restoring and resetting it, and splitting its description into lines.
// The document tells its view what to show through CCfgView; message boxes
// go through the Platform presenter.
//
// Results: LoadSysDef 0 or -1..-6 (see there); the others as listed.
// Texts the document makes for people (tree labels, message boxes, the
// error texts it returns) never show a password item's value, and cut a
// long value short; what is stored is always the whole value.

#include <memory>
#include <string>
#include <vector>

#include "Core/Config/CCfgItem.h"
#include "Core/Text/CTxt.h"
#include "Core/Xml/PlainNode.h"

class CXML;

/// What the document asks of the window that shows it.
class CCfgView {
public:
    virtual ~CCfgView() = default;
    /// The value control of the current item shows text.
    virtual void SetValueText(const char* text) = 0;
    /// The item's tree label becomes label.
    virtual void SetTreeLabel(CCfgItem& item, const char* label) = 0;
    /// The Apply and Restore captions follow the item's Changed flag.
    virtual void UpdateButtons(const CCfgItem& item) = 0;
};

/// One group of the definition and its loaded parameters, in file order.
struct CfgGroup {
    PlainNode* Node = nullptr;
    CTxt Name;
    int Open = 1;  ///< 0: shown collapsed
    std::vector<CCfgItem*> Items;
};

/// One line of a description.
struct CfgDescLine {
    enum Kind : int { Text = 0, Picture = 1, Rule = 2 };
    int LineKind = Text;
    CTxt Content;  ///< the line's text, or the picture's name
};

class CCfgDoc {
public:
    CCfgDoc() = default;
    CCfgDoc(const CCfgDoc&) = delete;
    CCfgDoc& operator=(const CCfgDoc&) = delete;

    // --- the holder's fields ----------------------------------------------
    int PosX = 0;
    int PosY = 0;
    int Width = 400;
    int Height = 600;
    int HeightPct = 80;
    int WidthPct = 0;
    int TreeWidthPx = 100;
    int TreeWidthPct = -1;  ///< -1: no TreeWidth attribute
    CTxt DefPath;
    CTxt Title;
    CTxt BaseDir;
    CTxt AppName;
    CTxt SectionName;
    CTxt Intro;
    CTxt ItemText;   ///< description of the current item
    CTxt FirstItem;  ///< item to show when none was remembered
    RootPlainNode Nodes;
    PlainNode* CfgDefNode = nullptr;

    // --- the running dialog's items ---------------------------------------
    std::vector<std::unique_ptr<CCfgItem>> Items;  ///< all parameters, in tree order
    std::vector<CfgGroup> Groups;
    CCfgItem* CurItem = nullptr;

    /// The view told about changes (not owned; null: none).
    void SetView(CCfgView* view) { m_View = view; }

    /// Reads and checks the definition file. 0; -1 unreadable (the text
    /// buffer's "Cannot open" message), -2 "Parse Erorr in '%s' (%d)", -3
    /// SysDef missing, -4 Title missing, -5 CfgDef missing, -6 a base folder
    /// that does not exist or no SectionName; the message in err. A file
    /// that is not UTF-8 is read as Windows-1252; only a regular file is
    /// opened. Without a base folder from the caller or the file, BaseDir
    /// becomes the definition's folder; a blank Title becomes AppName, else
    /// the file's name.
    int LoadSysDef(const char* path, CTxt& err);
    /// The tree builder LoadSysDef hands the parser (user: a RootPlainNode).
    static int OnParseEvent(CXML* xml, void* user);

    /// Loads every named parameter of every named group into Items and
    /// Groups; a parameter that cannot be loaded is logged and left out.
    /// Returns the number of items.
    int LoadItems();
    /// A parameter from its element; null for an element without Name, or
    /// with "Unknown Type in %s" in err.
    CCfgItem* LoadItem(PlainNode* element, void* treeRecord, CTxt& err);
    /// The item to show first: "CFGDLG"/"LastItemName" (default FirstItem),
    /// else the first item; the name is written back. Null: none (the root).
    CCfgItem* PickStartItem();
    /// Makes item current, loads its description, remembers its name.
    void SelectItem(CCfgItem* item);
    /// The value as stored now, whole however long: the profile (default
    /// Dflt, nothing written) or the per-user store (a missing value is
    /// created with Dflt).
    void ReadStoredText(const CCfgItem& item, CTxt& out) const;

    /// Takes an entered value into the current item. 0 taken (also a ParSrc
    /// text without a number 1 to 8, which changes nothing); -1 "ChgData:
    /// Missing current Item". A refused value leaves the item as it was, is
    /// shown in a message box that names the form expected, and its message
    /// is in err: -2 a value list without values, beyond the 10,000-value
    /// cap, or with a number beyond single precision; -3 not in the type's
    /// form (Int/IntNeg/Float without a number, a date that does not exist,
    /// a colour nobody can read); -4 a number beyond what the type holds
    /// (Int outside 32 bits, Float beyond single precision, such as 1e300).
    int ChgData(const char* entered, CTxt& err);
    /// Writes the entered value when it differs from the value at load (an
    /// unchanged value writes nothing, unless an earlier write is to be put
    /// back); reports each write in a message box and relabels the item.
    void ApplyItem();
    /// Puts back the stored text the editor opened with (written only when
    /// the store holds another now); the item's label loses its "*".
    void RestoreItem();
    /// Puts in the default and applies it; the view is told the value text
    /// (for a drop-down list, its entry: "High(2)", "YES").
    void DefaultItem();
    /// Number of items whose stored value the editor wrote and which now
    /// differs from the value when the editor opened (Updated).
    int CountUpdated() const;
    /// Relabels the item after a write: ItemLabel.
    void MarkChanged(CCfgItem& item);
    /// The item's tree label: "%s=%s" (Name, the value in DisplayValue form),
    /// with "*" after it while the stored value differs from the one the
    /// editor opened with. The value is NewText once written, else ShownText.
    void ItemLabel(const CCfgItem& item, CTxt& out) const;
    /// The value part of ItemLabel, without the "*".
    void LabelValue(const CCfgItem& item, CTxt& out) const;
    /// A value as the item may show it to people: a password item's value
    /// as "********" (empty stays empty), any other cut to maxChars
    /// characters with "…" (whole UTF-8 characters).
    static void DisplayValue(const CCfgItem& item, const char* value, CTxt& out, int maxChars = 80);

    /// A text in the form the item's type loads it in ("060" of an Int is
    /// "60", "on" of a Bool "YES", a list expanded); a text the type cannot
    /// read stays as it is.
    static void NormalForm(const CCfgItem& item, const char* text, CTxt& out);
    /// Sets the item's Modified flag for the stored text it now has.
    static void UpdateModified(CCfgItem& item, const char* stored);
    /// Number of items whose stored value differs from their default.
    int CountModified() const;
    /// Sets every item whose stored value differs from its default back to
    /// it, each as DefaultItem does, but with no box per item: the number
    /// set back, and in report one summary ("Set N settings back to their
    /// default:" and a line per item; the items whose default the type
    /// refuses are named, and left as they are). The current item stays
    /// current; the view is told the new labels.
    int DefaultAll(CTxt& report);
    /// The item's description: the element's text, else its description
    /// file (kind 1 of GetItemFile), read as Windows-1252 when not UTF-8.
    void ItemDescription(const CCfgItem& item, CTxt& out) const;

    /// The most values a value list may expand to; a longer list is refused.
    static const int kMaxListValues = 10000;
    /// Expands "5,1>3,2>10/4" into sorted, distinct numbers written with up
    /// to 2 decimals; the count, or -1 with "Missing Strategy Input Value(s)
    /// in %s" in out, -2 with "Too many values in %s: a value list holds at
    /// most 10000" (never cut), -3 with "Number beyond 3.4e38 in %s".
    static int ExpandValueList(const char* list, CTxt& out);
    /// Kind 1: the current item's description file; kind 2: its picture file
    /// (.jpeg, .jpg, .gif, the first regular file that exists). The length,
    /// or -1: no such picture, or a name that would lead outside the base
    /// folder (absolute, or with a ".." part), which is logged.
    int GetItemFile(const char* picture, CTxt& out, int kind) const;
    /// The description's lines: CR dropped, a line ends at LF or at a blank
    /// from the wrapAt-th character on (0: at LF only, for a view that wraps
    /// to its own width); "{Pic:name}" and "{Line" lines marked.
    static void SplitDescription(const char* text, std::vector<CfgDescLine>& lines, int wrapAt = 80);

private:
    // A refusal of ChgData: message and the form expected in a box for the
    // user, message in err; returns code.
    int Refuse(const char* message, const char* expected, int code, CTxt& err);
    // The stored text with def for a missing profile key (the per-user
    // store always answers with Dflt).
    void ReadStoredText(const CCfgItem& item, const char* def, CTxt& out) const;
    // Writes text as the item's stored value.
    void WriteStored(const CCfgItem& item, const char* text);
    // Writes target when the store holds another text, then reports and relabels.
    void WriteAndReport(CCfgItem& item, const char* target);
    // What a drop-down list shows for the item's value; other items: NewText.
    void ChoiceText(const CCfgItem& item, CTxt& out) const;
    // GetItemFile for the item called name.
    int ItemFile(const char* name, const char* picture, CTxt& out, int kind) const;

    CCfgView* m_View = nullptr;
    // Set while DefaultAll runs: writes are gathered into it, not boxed.
    std::vector<std::string>* m_Quiet = nullptr;
};
