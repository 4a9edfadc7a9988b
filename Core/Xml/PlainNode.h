#pragma once
// The document tree. RootPlainNode owns every node of one document in a flat
// list and is itself the tree's top node (id 0); each PlainNode carries a
// tag, a content text, attributes and the ids of its children. Nodes refer
// to one another only by id, their 1-based place in the owner's list, so a
// node is reached from its id at once and deleting a node leaves every other
// id valid (its slot stays, empty).
//
// The tree is filled by a handler driving CXML, by the building operations
// below, or by LoadHTM, a lenient tag reader that pairs opening and closing
// tags instead of nesting them (a paired node's parent id is its partner's).
//
// Results: a node or null, a count, an index, or 0 / -1 as listed per member.
// Nothing throws.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "Core/Text/CTxt.h"
#include "Core/Text/CTxtArray.h"
#include "Core/Text/SPtrArray.h"

class PlainNode;
class RootPlainNode;

/// Visit function of the iteration: a negative result prunes the node's
/// subtree, a positive one is summed (and with flag 0x4 stops the walk).
typedef int (*PlainNodeVisitFunc)(PlainNode* node, void* first, void* second);

/// Called with a node whose data item is set, before the node is reset.
typedef void (*PlainNodeDelFunc)(PlainNode* node);

/// Compares two children for SortChildren; receives pointers to PlainNode* slots.
typedef int (*PlainNodeCompareFunc)(const void* a, const void* b);

// ---- XML writer ---------------------------------------------------------------
// SAVE_INFO and XMLPersistDType, the writer's records, are declared here.
// --------------------------------------------------------------------------------

/// The state of one save: depth limit, trace flag, nodes written, tags to
/// leave out (with their subtrees) and the file being written.
struct SAVE_INFO {
    /// Children of nodes at a level below this are written; negative: no limit.
    int DepthLimit = 9999;
    /// 0x02: trace each node written.
    int Flags = 0;
    /// Nodes written so far (a backup of the same save adds its own).
    int Count = 0;
    /// Tag names (any case) whose nodes are not written.
    CTxtArray SkipList;
    /// The file being written; set by SaveXML for the length of the save.
    FILE* File = nullptr;
};

/// Kinds of a binary value rendered by PlainNode::SaveBTOA.
enum XMLPersistDType : int {
    XMLPDT_STRING = 0,    ///< std::string, escaped
    XMLPDT_TEXT = 1,      ///< NUL-terminated text, escaped
    XMLPDT_INT8 = 2,      ///< "%d"
    XMLPDT_INT16 = 3,     ///< "%d"
    XMLPDT_INT32 = 5,     ///< "%d"
    XMLPDT_INT64 = 6,     ///< full decimal value
    XMLPDT_HEX32 = 7,     ///< "%08X"
    XMLPDT_UINT8 = 8,     ///< "%u"
    XMLPDT_UINT16 = 9,    ///< "%u"
    XMLPDT_UINT32 = 11,   ///< "%u"
    XMLPDT_UINT64 = 12,   ///< full decimal value
    XMLPDT_FLOAT = 13,    ///< "%f", squeezed
    XMLPDT_DOUBLE = 14,   ///< "%f", squeezed
    XMLPDT_BOOL8 = 15,    ///< "TRUE" / "FALSE"
    XMLPDT_BOOL16 = 16,   ///< "TRUE" / "FALSE"
    XMLPDT_BOOL32 = 17,   ///< "TRUE" / "FALSE"
    XMLPDT_TRISTATE = 18, ///< signed 32-bit: "+", "-", "?" for 0
    XMLPDT_INT16X3 = 19,  ///< three signed 16-bit values, "%d,%d,%d"
    XMLPDT_UINT8X3 = 20,  ///< three unsigned 8-bit values, "%d,%d,%d"
};

/// One attribute: a name and a value.
class PlainNodeAttr {
public:
    /// Empty name and value.
    PlainNodeAttr() = default;
    /// The given name and value (null taken as "").
    PlainNodeAttr(const char* name, const char* value) : Name(name), Value(value) {}
    /// A copy of name and value.
    PlainNodeAttr(const PlainNodeAttr&) = default;
    /// Copies name and value.
    PlainNodeAttr& operator=(const PlainNodeAttr&) = default;

    /// The attribute's name.
    CTxt Name;
    /// The attribute's value.
    CTxt Value;

    // ---- XML writer (SaveAttr) -------------------------------------------
    // The writer's member of this class is declared here.

    /// Appends ` name="value"` (value escaped) to buffer; returns the number of
    /// characters appended, 0 for an empty name. level and number are not read.
    int SaveAttr(CTxt& buffer, int level, int number) const;
};

/// A tagged node with content, attributes and child ids.
class PlainNode {
public:
    /// Empty texts and lists, ids, data item and nest 0, no owner.
    PlainNode();
    /// ResetNode.
    virtual ~PlainNode();
    PlainNode(const PlainNode&) = delete;
    PlainNode& operator=(const PlainNode&) = delete;

    /// Calls the owner's delete hook when the data item is set, frees the
    /// attributes, empties the child list, zeroes nest, ids and data item and
    /// forgets the owner. Tag and content stay.
    void ResetNode();

    /// The tag (never null).
    const char* GetTag() const { return m_Tag; }
    /// Sets the tag (null: "").
    void SetTag(const char* tag) { m_Tag = tag != nullptr ? tag : ""; }
    /// The content (never null).
    const char* GetContent() const { return m_Content; }
    /// Sets the content (null: "").
    void SetContent(const char* content) { m_Content = content != nullptr ? content : ""; }
    /// The application's data item (LoadHTM: the text position of the '<').
    unsigned GetDataItem() const { return m_DataItem; }
    /// Sets the data item; a non-zero one makes ResetNode call the delete hook.
    void SetDataItem(unsigned item) { m_DataItem = item; }
    /// The creation counter value.
    unsigned GetNest() const { return m_Nest; }
    /// Nest + 1; returns the new value.
    unsigned NestIncr() { return ++m_Nest; }
    /// Nest - 1, not below 0; returns the new value.
    unsigned NestDecr() { return m_Nest > 0 ? --m_Nest : 0; }
    /// 1-based place in the owner's list; 0 for the owner itself.
    int GetPlainID() const { return m_PlainID; }
    /// The parent's id (0: the owner's top node); a LoadHTM node's partner id.
    int GetParentID() const { return m_ParentID; }
    /// The owner, or null.
    RootPlainNode* GetRootPlain() const { return m_pRootPlain; }
    /// Sets the owner (the tree's top node is given its own owner this way).
    void SetRootPlain(RootPlainNode* owner) { m_pRootPlain = owner; }
    /// Number of attributes.
    int GetNumAttr() const { return static_cast<int>(m_Attrs.size()); }
    /// Number of child ids.
    int GetNumChildren() const { return static_cast<int>(m_Children.size()); }

    /// A new last child; null (logged "Missing m_pRootPlain!") without an owner.
    PlainNode* AddNode();
    /// A new child at index (before != 0) or index + 1; null without an owner.
    PlainNode* InsertChild(int index, int before);
    /// A new node beside this one (before it when before != 0); null, logged,
    /// without an owner, without a parent or when this node is not among its
    /// parent's children.
    PlainNode* InsertSibling(int before);
    /// Removes node's id from the children; its former index, or -1.
    int DeleteChild(PlainNode* node);
    /// The child at index; null out of range, for an empty slot or without an owner.
    PlainNode* GetChild(int index) const;
    /// Index of node among the children, or -1.
    int FindChild(PlainNode* node) const;
    /// Index of node among the children, or -1.
    int GetChildIdx(PlainNode* node) const;
    /// First child with the tag and, blanks and line breaks removed, the content (any case); or null.
    PlainNode* FindChild(const char* tag, const char* content) const;
    /// The node whose id is the parent id; null for parent id 0 or without an owner.
    PlainNode* GetParent() const;
    /// Number of all descendants; depth only counts the recursion.
    int GetNumDesc(int depth = 0) const;
    /// Parent id - plain id when positive, else 1.
    int GetDiff() const;
    /// Sorts the children with qsort over PlainNode* slots; 0.
    int SortChildren(PlainNodeCompareFunc compare);

    /// Appends an attribute (duplicate names allowed); returns it.
    PlainNodeAttr* AddAttr(const char* name, const char* value);
    /// The attribute at index; null out of range or without an owner.
    PlainNodeAttr* GetAttr(int index) const;
    /// First attribute with the name (any case), or null.
    PlainNodeAttr* FindAttr(const char* name) const;
    /// text = the named attribute's value, or "" when absent; returns text's length.
    int GetAttrText(const char* name, CTxt& text) const;
    /// value = the attribute read as a decimal integer; 0, or -1 when absent (value unchanged).
    int GetAttrInt(const char* name, int& value) const;
    /// value = the attribute read as hexadecimal digits; 0, or -1 when absent (value unchanged).
    int GetAttrHex(const char* name, unsigned& value) const;
    /// text = every attribute as name="value", joined by ", "; returns the number of attributes.
    int GetAttrList(CTxt& text) const;

    /// This node or the first descendant, depth first, with the tag (any case); or null.
    PlainNode* FindTag(const char* tag);
    /// For a LoadHTM node: the children become the nodes with the tag between
    /// it and its closing partner; returns their number.
    int LoadChildren(const char* tag);
    /// For a LoadHTM node: the first node with the tag between it and its partner, or null.
    PlainNode* FindChildByTag(const char* tag) const;

    /// Visits this node and its subtree (flags: 0x1 after the children, 0x2
    /// log each node, 0x4 stop at the first positive result); returns the sum
    /// of the positive results.
    int IterateNodes(int flags, PlainNodeVisitFunc function, void* first, void* second);
    /// The recursive step: adds positive results to *counter; returns the
    /// stopping or after-children result, else 0.
    int IterateNodesDescend(int flags, PlainNodeVisitFunc function, void* first, void* second,
                            int* counter);
    /// Logs each child ("Nodes", level 1).
    void ShowCh() const;

    /// Hook before a node is saved; this class does nothing and returns 0.
    virtual int PersistPreSave(CTxt& text);

    // ---- XML writer ---------------------------------------------------------
    // The writer's operations (SaveXML and its kin) are declared here.

    /// Largest piece of one node written to the file; longer ones are reported and cut.
    static const int kSaveBufferSize = 100000;

    /// Writes node and its subtree under a ROOT element to path (null or "":
    /// "Save.xml"), with info or a default one (flags & 0x02 copied); flag
    /// 0x10 also writes "Backup/<time>_<name>", 0x20 shows failures in a box.
    /// Returns info's node count; -2 the file cannot be created (message
    /// "Save: Cannot open file ..."); the walk's negative error (message
    /// "Save: Error ..."); a failed backup's negative result.
    static int SaveXML(const char* path, CTxt& message, PlainNode* node, int flags,
                       SAVE_INFO* info = nullptr);
    /// Writes node at level and, depth permitting, its subtree to info's file.
    /// Returns 0 (also for a null node, a skipped tag or a short write, which
    /// is logged), or -1 when a node could not be rendered for want of memory.
    static int SaveXMLPersistSaveIterate(PlainNode* node, int level, SAVE_INFO* info);
    /// Appends the opening part (level 0: header comment and "<ROOT"); returns the characters appended.
    int SaveOpen(CTxt& buffer, int level) const;
    /// Appends ">", "/>" or ">" + the first content line, with the line end; returns the characters appended.
    int SaveContent(CTxt& buffer, int level) const;
    /// Appends the closing part ("" after "/>"); returns the characters appended.
    int SaveClose(CTxt& buffer, int level) const;

    /// buffer = the value at data rendered as kind (XMLPersistDType); returns
    /// its length, or -1 for a null data (buffer emptied) or an unknown kind
    /// (message box naming name, buffer emptied).
    static int SaveBTOA(const void* data, CTxt& buffer, int kind, const char* name);
    /// buffer = text without leading blanks and, after a decimal point, without
    /// trailing zeros (nor the point when nothing is left); returns the length.
    static int SaveBTOASqueeze(CTxt& buffer, const char* text);
    /// buffer = text escaped for XML (entities, "&#xHH;" for bytes outside 32..126); returns the length.
    static int SaveTxt2XML(CTxt& buffer, const char* text);
    /// As SaveTxt2XML, reading \b \f \n \r \t as their control characters first; returns the length.
    static int Txt2XML(const char* text, CTxt& buffer);
    /// buffer = text with entities and \b \f \n \r \t decoded (a decoded NUL
    /// is dropped); returns the number of characters and entities read.
    static int XML2Txt(const char* text, CTxt& buffer);
    /// text = the content through XML2Txt; returns XML2Txt's count, 0 for an empty content.
    int GetContentBin(CTxt& text) const;

protected:
    friend class RootPlainNode;

    CTxt m_Tag;
    CTxt m_Content;
    int m_PlainID = 0;
    int m_ParentID = 0;
    unsigned m_DataItem = 0;
    unsigned m_Nest = 0;
    std::vector<uint32_t> m_Children;
    std::vector<std::unique_ptr<PlainNodeAttr>> m_Attrs;
    RootPlainNode* m_pRootPlain = nullptr;

private:
    // The node a new sibling or a move is relative to: the parent by id, or the
    // owner itself for a first-level node. Null when there is none.
    PlainNode* ParentOrTop() const;
    PlainNode* MakeChild();
};

/// The owner of a document's nodes and the tree's top node (id 0).
class RootPlainNode : public PlainNode {
public:
    /// Top node, empty list (growth 50), no hook. The top node's owner is not
    /// set: the builder calls SetRootPlain(this) first.
    RootPlainNode();
    /// ReleaseAllNodes.
    ~RootPlainNode() override;

    /// Frees every listed node, empties the list and resets the top node.
    void ReleaseAllNodes();
    /// A new node at the end of the list with the given parent id, this owner
    /// and the top node's nest; entered in no child list. Null without memory.
    PlainNode* AddNodeToRootList(int parentID);
    /// The node with the id; null for 0, ids beyond the list and empty slots.
    PlainNode* GetNode(int id) const;
    /// List size, empty slots included.
    int GetNumNode() const { return m_Nodes.GetSize(); }

    using PlainNode::FindTag;
    /// First listed node in places from..to-1 (to <= 0: the end) with the tag (any case); or null.
    PlainNode* FindTag(const char* tag, int from, int to) const;
    /// The same for the content without CR, LF and tabs (any case).
    PlainNode* FindContent(const char* content, int from, int to) const;
    /// The same for the tag and, when content is given, the content without CR,
    /// LF, tabs and blanks equal to it, or containing its rest when it begins with '<'.
    PlainNode* FindContentTag(const char* tag, const char* content, int from, int to) const;

    /// Moves node among its parent's children: 1 with the previous, 2 with the
    /// next, 3 with the first, 4 with the last. Returns -1 without a parent, else 0.
    int MoveChild(int kind, PlainNode* node);
    /// Removes node from its parent's children and frees it with its subtree
    /// (each logged "Delete Node"). Returns 0.
    int DeleteNode(PlainNode* node);
    /// DeleteNode's step for one node (owner: this RootPlainNode); returns 1.
    static int DeleteNodeIt(PlainNode* node, void* owner, void* other);
    /// Sets the delete hook (null: none).
    void SetIFDelNode(PlainNodeDelFunc function) { m_DelHook = function; }
    /// The delete hook, or null.
    PlainNodeDelFunc GetIFDelNode() const { return m_DelHook; }

    /// LoadHTM of the whole file; -1 with message ":Cannot read %s (%d)" when unreadable.
    int LoadFile(const char* path, CTxt& message);
    /// Lists the tags of HTML-like text (see the source); returns the number of listed nodes.
    int LoadHTM(const char* text, CTxt& message);
    /// Writes "Nodes.txt" in the current folder; with open 1 opens it through
    /// RunCommand. Returns the number of nodes written, or -1 when the file
    /// cannot be created.
    int ShowNodes(int open);

private:
    bool AddToList(PlainNode* node);

    SPtrArray m_Nodes;
    int m_Reserved = 0;  // slots reserved in m_Nodes
    PlainNodeDelFunc m_DelHook = nullptr;
};
