// PlainNode: one node's children, attributes, lookups and the iteration.

#include "Core/Xml/PlainNode.h"

#include <cstdlib>
#include <string>

#include "Core/System/Log.h"
#include "Core/System/Profile.h"
#include "Core/Text/RuntimeConv.h"
#include "Core/Text/TextFunc.h"

namespace {

// The text without the characters of strip, as CTxt::RemoveCharList leaves it.
std::string Stripped(const char* text, const char* strip) {
    std::string out;
    for (const char* p = text; *p != '\0'; ++p) {
        if (strchrpos(*p, strip) < 0) out += *p;
    }
    return out;
}

bool SameText(const char* a, const char* b) { return stricmpmode(a, b, 1) == 0; }

}  // namespace

PlainNode::PlainNode() = default;

PlainNode::~PlainNode() { ResetNode(); }

void PlainNode::ResetNode() {
    if (m_DataItem != 0 && m_pRootPlain != nullptr && m_pRootPlain->GetIFDelNode() != nullptr) {
        m_pRootPlain->GetIFDelNode()(this);
    }
    m_Attrs.clear();
    m_Children.clear();
    m_Nest = 0;
    m_ParentID = 0;
    m_PlainID = 0;
    m_DataItem = 0;
    m_pRootPlain = nullptr;
}

PlainNode* PlainNode::MakeChild() {
    if (m_pRootPlain == nullptr) {
        LogTrace("PlainNode", 0, "Missing m_pRootPlain!");
        return nullptr;
    }
    m_pRootPlain->NestIncr();
    PlainNode* child = m_pRootPlain->AddNodeToRootList(m_PlainID);
    if (child != nullptr && m_Children.capacity() == 0) m_Children.reserve(10);
    return child;
}

PlainNode* PlainNode::AddNode() {
    PlainNode* child = MakeChild();
    if (child != nullptr) m_Children.push_back(static_cast<uint32_t>(child->m_PlainID));
    return child;
}

PlainNode* PlainNode::InsertChild(int index, int before) {
    PlainNode* child = MakeChild();
    if (child == nullptr) return nullptr;
    int at = before != 0 ? index : index + 1;
    const int size = GetNumChildren();
    if (at < 0) at = 0;
    if (at > size) at = size;
    m_Children.insert(m_Children.begin() + at, static_cast<uint32_t>(child->m_PlainID));
    return child;
}

PlainNode* PlainNode::ParentOrTop() const {
    if (m_pRootPlain == nullptr) return nullptr;
    if (m_ParentID == 0) return m_PlainID != 0 ? m_pRootPlain : nullptr;
    return m_pRootPlain->GetNode(m_ParentID);
}

PlainNode* PlainNode::InsertSibling(int before) {
    if (m_pRootPlain == nullptr) {
        LogTrace("PlainNode", 0, "Missing m_pRootPlain!");
        return nullptr;
    }
    PlainNode* parent = ParentOrTop();
    if (parent == nullptr) {
        LogTrace("PlainNode", 0, "No Parent!");
        return nullptr;
    }
    const int index = parent->FindChild(this);
    if (index < 0) {
        LogTrace("PlainNode", 0, "Corrupted Child list!");
        return nullptr;
    }
    return parent->InsertChild(index, before);
}

int PlainNode::DeleteChild(PlainNode* node) {
    const int index = FindChild(node);
    if (index >= 0) m_Children.erase(m_Children.begin() + index);
    return index;
}

PlainNode* PlainNode::GetChild(int index) const {
    if (m_pRootPlain == nullptr || index < 0 || index >= GetNumChildren()) return nullptr;
    return m_pRootPlain->GetNode(static_cast<int>(m_Children[static_cast<size_t>(index)]));
}

int PlainNode::FindChild(PlainNode* node) const {
    if (node == nullptr) return -1;
    for (size_t i = 0; i < m_Children.size(); ++i) {
        if (static_cast<int>(m_Children[i]) == node->m_PlainID) return static_cast<int>(i);
    }
    return -1;
}

int PlainNode::GetChildIdx(PlainNode* node) const { return FindChild(node); }

PlainNode* PlainNode::FindChild(const char* tag, const char* content) const {
    const char* wanted = content != nullptr ? content : "";
    for (int i = 0; i < GetNumChildren(); ++i) {
        PlainNode* child = GetChild(i);
        if (child == nullptr || !SameText(child->m_Tag, tag)) continue;
        if (SameText(Stripped(child->m_Content, "\r\n\t ").c_str(), wanted)) return child;
    }
    return nullptr;
}

PlainNode* PlainNode::GetParent() const {
    if (m_ParentID == 0 || m_pRootPlain == nullptr) return nullptr;
    return m_pRootPlain->GetNode(m_ParentID);
}

int PlainNode::GetNumDesc(int depth) const {
    int count = 0;
    for (int i = 0; i < GetNumChildren(); ++i) {
        if (PlainNode* child = GetChild(i)) count += 1 + child->GetNumDesc(depth + 1);
    }
    return count;
}

int PlainNode::GetDiff() const {
    const int diff = m_ParentID - m_PlainID;
    return diff > 0 ? diff : 1;
}

int PlainNode::SortChildren(PlainNodeCompareFunc compare) {
    if (m_Children.size() < 2 || compare == nullptr) return 0;
    std::vector<PlainNode*> nodes;
    std::vector<uint32_t> dangling;
    for (int i = 0; i < GetNumChildren(); ++i) {
        if (PlainNode* child = GetChild(i)) {
            nodes.push_back(child);
        } else {
            dangling.push_back(m_Children[static_cast<size_t>(i)]);
        }
    }
    // The comparison never sees an id without a node; those keep their order at the end.
    if (nodes.size() > 1) std::qsort(nodes.data(), nodes.size(), sizeof(PlainNode*), compare);
    m_Children.clear();
    for (PlainNode* node : nodes) m_Children.push_back(static_cast<uint32_t>(node->m_PlainID));
    m_Children.insert(m_Children.end(), dangling.begin(), dangling.end());
    return 0;
}

PlainNodeAttr* PlainNode::AddAttr(const char* name, const char* value) {
    m_Attrs.push_back(std::make_unique<PlainNodeAttr>(name != nullptr ? name : "",
                                                      value != nullptr ? value : ""));
    return m_Attrs.back().get();
}

PlainNodeAttr* PlainNode::GetAttr(int index) const {
    if (m_pRootPlain == nullptr || index < 0 || index >= GetNumAttr()) return nullptr;
    return m_Attrs[static_cast<size_t>(index)].get();
}

PlainNodeAttr* PlainNode::FindAttr(const char* name) const {
    for (const auto& attr : m_Attrs) {
        if (SameText(attr->Name, name)) return attr.get();
    }
    return nullptr;
}

int PlainNode::GetAttrText(const char* name, CTxt& text) const {
    text = "";
    if (const PlainNodeAttr* attr = FindAttr(name)) text = attr->Value;
    return text.GetLength();
}

int PlainNode::GetAttrInt(const char* name, int& value) const {
    const PlainNodeAttr* attr = FindAttr(name);
    if (attr == nullptr) return -1;
    value = zam::RuntimeAtoi(attr->Value);
    return 0;
}

int PlainNode::GetAttrHex(const char* name, unsigned& value) const {
    const PlainNodeAttr* attr = FindAttr(name);
    if (attr == nullptr) return -1;
    value = HexToInt(attr->Value);
    return 0;
}

int PlainNode::GetAttrList(CTxt& text) const {
    // Built piece by piece: a formatted piece would be cut at Format's limit.
    text = "";
    for (size_t i = 0; i < m_Attrs.size(); ++i) {
        if (i > 0) text += ", ";
        text += m_Attrs[i]->Name;
        text += "=\"";
        text += m_Attrs[i]->Value;
        text += "\"";
    }
    return GetNumAttr();
}

PlainNode* PlainNode::FindTag(const char* tag) {
    if (SameText(m_Tag, tag)) return this;
    for (int i = 0; i < GetNumChildren(); ++i) {
        PlainNode* child = GetChild(i);
        if (child == nullptr) continue;
        if (PlainNode* found = child->FindTag(tag)) return found;
    }
    return nullptr;
}

int PlainNode::LoadChildren(const char* tag) {
    m_Children.clear();
    if (m_pRootPlain == nullptr) return 0;
    for (int id = m_PlainID + 1; id < m_ParentID; ++id) {
        PlainNode* node = m_pRootPlain->GetNode(id);
        if (node != nullptr && SameText(node->m_Tag, tag)) m_Children.push_back(static_cast<uint32_t>(id));
    }
    return GetNumChildren();
}

PlainNode* PlainNode::FindChildByTag(const char* tag) const {
    if (m_pRootPlain == nullptr) return nullptr;
    for (int id = m_PlainID + 1; id < m_ParentID; ++id) {
        PlainNode* node = m_pRootPlain->GetNode(id);
        if (node != nullptr && SameText(node->m_Tag, tag)) return node;
    }
    return nullptr;
}

int PlainNode::IterateNodes(int flags, PlainNodeVisitFunc function, void* first, void* second) {
    int counter = 0;
    IterateNodesDescend(flags, function, first, second, &counter);
    return counter;
}

int PlainNode::IterateNodesDescend(int flags, PlainNodeVisitFunc function, void* first,
                                   void* second, int* counter) {
    int unused = 0;
    if (counter == nullptr) counter = &unused;
    if (flags & 0x2) LogTrace("Iterate", 0, "Node: %s (%d)", GetTag(), m_PlainID);
    if (!(flags & 0x1) && function != nullptr) {
        const int r = function(this, first, second);
        if (r < 0) return r;
        if (r > 0) {
            *counter += r;
            if (flags & 0x4) return r;
        }
    }
    for (int i = 0; i < GetNumChildren(); ++i) {
        PlainNode* child = GetChild(i);
        if (child == nullptr) continue;
        const int s = child->IterateNodes(flags, function, first, second);
        if (s > 0) {
            *counter += s;
            if (flags & 0x4) return s;
        }
    }
    if ((flags & 0x1) && function != nullptr) {
        // The visit may free this node (DeleteNode does): nothing of it is read afterwards.
        const int r = function(this, first, second);
        if (r > 0) *counter += r;
        return r;
    }
    return 0;
}

void PlainNode::ShowCh() const {
    for (int i = 0; i < GetNumChildren(); ++i) {
        const PlainNode* child = GetChild(i);
        if (child == nullptr) {
            LogTrace("Nodes", 1, "[%2d] NULL", i);
        } else {
            LogTrace("Nodes", 1, "[%2d] ID=%d, Tag=%s, Attr=%d, Ch=%d", i, child->m_PlainID,
                     child->GetTag(), child->GetNumAttr(), child->GetNumChildren());
        }
    }
}

int PlainNode::PersistPreSave(CTxt& /*text*/) { return 0; }
