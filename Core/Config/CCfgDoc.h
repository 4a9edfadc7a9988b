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

#include <memory>
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
    /// that does not exist or no SectionName; the message in err.
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
    /// The value as stored now: the profile (default Dflt, nothing written)
    /// or the per-user store (a missing value is created with Dflt).
    void ReadStoredText(const CCfgItem& item, CTxt& out) const;

    /// Takes an entered value into the current item. 0; -1 "ChgData: Missing
    /// current Item"; -2 a value list without values (item unchanged).
    int ChgData(const char* entered, CTxt& err);
    /// Writes the entered value; reports a change in a message box.
    void ApplyItem();
    /// Puts back the value shown at load, and applies it.
    void RestoreItem();
    /// Puts in the default, and applies it.
    void DefaultItem();
    /// Number of items whose Changed flag is 1.
    int CountUpdated() const;
    /// Relabels the item "%s=%s*" (Name, NewText).
    void MarkChanged(CCfgItem& item);

    /// Expands "5,1>3,2>10/4" into sorted, distinct numbers; the count, or -1
    /// with "Missing Strategy Input Value(s) in %s" in out.
    static int ExpandValueList(const char* list, CTxt& out);
    /// Kind 1: the current item's description file; kind 2: its picture file
    /// (.jpeg, .jpg, .gif, the first that exists). The length, or -1.
    int GetItemFile(const char* picture, CTxt& out, int kind) const;
    /// The description's lines: CR dropped, a line ends at LF or at a blank
    /// from the 80th character on; "{Pic:name}" and "{Line" lines marked.
    static void SplitDescription(const char* text, std::vector<CfgDescLine>& lines);

private:
    CCfgView* m_View = nullptr;
};
