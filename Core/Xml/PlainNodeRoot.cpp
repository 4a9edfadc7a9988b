// RootPlainNode: the node list, lookups over it, moving and deleting, and
// the debug dump.

#include <cstdint>
#include <cstdio>
#include <new>
#include <string>
#include <utility>

#include "Core/System/Launch.h"
#include "Core/System/Log.h"
#include "Core/Text/TextFunc.h"
#include "Core/Xml/PlainNode.h"

namespace {

// A slot holding this pattern counts as released already.
const uintptr_t kReleasedFill = 0xFEEEFEEE;

bool SameText(const char* a, const char* b) { return stricmpmode(a, b, 1) == 0; }

// The content without the characters of strip, compared with wanted (any case).
bool StrippedEquals(const char* content, const char* strip, const char* wanted) {
    std::string text;
    for (const char* p = content; *p != '\0'; ++p) {
        if (strchrpos(*p, strip) < 0) text += *p;
    }
    return SameText(text.c_str(), wanted);
}

bool StrippedContains(const char* content, const char* strip, const char* wanted) {
    std::string text;
    for (const char* p = content; *p != '\0'; ++p) {
        if (strchrpos(*p, strip) < 0) text += *p;
    }
    return strifind(text.c_str(), wanted) >= 0;
}

}  // namespace

RootPlainNode::RootPlainNode() { m_Nodes.SetSizeInit(50, 50); }

RootPlainNode::~RootPlainNode() { ReleaseAllNodes(); }

void RootPlainNode::ReleaseAllNodes() {
    for (int i = 0; i < m_Nodes.GetSize(); ++i) {
        void* slot = m_Nodes.GetAt(i);
        if (slot == nullptr || reinterpret_cast<uintptr_t>(slot) == kReleasedFill) continue;
        // Emptied first, so that a delete hook looking the node up finds nothing freed.
        m_Nodes.SetAt(i, nullptr);
        delete static_cast<PlainNode*>(slot);
    }
    m_Nodes.RemoveAll();
    m_Reserved = 0;
    ResetNode();
}

bool RootPlainNode::AddToList(PlainNode* node) {
    const int size = m_Nodes.GetSize();
    if (size >= m_Reserved) {
        // At least the list's growth step, and doubling beyond it, so that a
        // large document is not copied once per step.
        const int step = m_Nodes.GetGrowBy() > 0 ? m_Nodes.GetGrowBy() : 50;
        const int64_t wanted = static_cast<int64_t>(size) + (size > step ? size : step);
        const int capacity = wanted > INT32_MAX ? INT32_MAX : static_cast<int>(wanted);
        if (capacity <= size || m_Nodes.SetSize(capacity) != 0) return false;
        m_Reserved = capacity;
    }
    m_Nodes.Add(node);
    return m_Nodes.GetSize() == size + 1;
}

PlainNode* RootPlainNode::AddNodeToRootList(int parentID) {
    PlainNode* node = new (std::nothrow) PlainNode;
    if (node == nullptr) return nullptr;
    if (!AddToList(node)) {
        delete node;
        return nullptr;
    }
    node->m_PlainID = m_Nodes.GetSize();
    node->m_ParentID = parentID;
    node->m_pRootPlain = this;
    node->m_Nest = m_Nest;
    return node;
}

PlainNode* RootPlainNode::GetNode(int id) const {
    if (id <= 0 || id > m_Nodes.GetSize()) return nullptr;
    void* slot = m_Nodes.GetAt(id - 1);
    if (reinterpret_cast<uintptr_t>(slot) == kReleasedFill) return nullptr;
    return static_cast<PlainNode*>(slot);
}

PlainNode* RootPlainNode::FindTag(const char* tag, int from, int to) const {
    const int end = (to <= 0 || to > GetNumNode()) ? GetNumNode() : to;
    for (int i = from < 0 ? 0 : from; i < end; ++i) {
        PlainNode* node = GetNode(i + 1);
        if (node != nullptr && SameText(node->GetTag(), tag)) return node;
    }
    return nullptr;
}

PlainNode* RootPlainNode::FindContent(const char* content, int from, int to) const {
    const int end = (to <= 0 || to > GetNumNode()) ? GetNumNode() : to;
    for (int i = from < 0 ? 0 : from; i < end; ++i) {
        PlainNode* node = GetNode(i + 1);
        if (node != nullptr && StrippedEquals(node->GetContent(), "\r\n\t", content)) return node;
    }
    return nullptr;
}

PlainNode* RootPlainNode::FindContentTag(const char* tag, const char* content, int from,
                                         int to) const {
    const int end = (to <= 0 || to > GetNumNode()) ? GetNumNode() : to;
    for (int i = from < 0 ? 0 : from; i < end; ++i) {
        PlainNode* node = GetNode(i + 1);
        if (node == nullptr || !SameText(node->GetTag(), tag)) continue;
        if (content == nullptr) return node;
        const bool found = content[0] == '<'
                               ? StrippedContains(node->GetContent(), "\r\n\t ", content + 1)
                               : StrippedEquals(node->GetContent(), "\r\n\t ", content);
        if (found) return node;
    }
    return nullptr;
}

int RootPlainNode::MoveChild(int kind, PlainNode* node) {
    PlainNode* parent = node != nullptr ? node->ParentOrTop() : nullptr;
    if (parent == nullptr) return -1;
    const int index = parent->FindChild(node);
    const int last = parent->GetNumChildren() - 1;
    if (index < 0) return 0;
    int other = index;
    switch (kind) {
    case 1: other = index - 1; break;
    case 2: other = index + 1; break;
    case 3: other = 0; break;
    case 4: other = last; break;
    default: return 0;
    }
    if (other < 0 || other > last || other == index) return 0;
    std::swap(parent->m_Children[static_cast<size_t>(index)], parent->m_Children[static_cast<size_t>(other)]);
    return 0;
}

int RootPlainNode::DeleteNode(PlainNode* node) {
    if (node == nullptr) return 0;
    // A first-level node leaves the top node's list too, so no id there
    // resolves to nothing afterwards.
    if (PlainNode* parent = node->ParentOrTop()) parent->DeleteChild(node);
    int counter = 0;
    node->IterateNodesDescend(3, DeleteNodeIt, this, nullptr, &counter);
    return 0;
}

int RootPlainNode::DeleteNodeIt(PlainNode* node, void* owner, void* /*other*/) {
    RootPlainNode* root = owner != nullptr ? static_cast<RootPlainNode*>(owner) : node->GetRootPlain();
    const int id = node->GetPlainID();
    LogTrace("XML", 0, "Delete Node: %s (%d)", node->GetTag(), id);
    // Only a node this owner lists is freed: the top node and strangers stay.
    if (root != nullptr && id > 0 && root->GetNode(id) == node) {
        root->m_Nodes.SetAt(id - 1, nullptr);
        delete node;
    }
    return 1;
}

int RootPlainNode::LoadFile(const char* path, CTxt& message) {
    CTxt text;
    const int read = text.LoadFromFile(path);
    if (read < 0) {
        message.Format(":Cannot read %s (%d)", path != nullptr ? path : "", read);
        return -1;
    }
    return LoadHTM(text, message);
}

int RootPlainNode::ShowNodes(int open) {
    FILE* f = std::fopen("Nodes.txt", "wb");
    if (f == nullptr) return -1;
    int written = 0;
    for (int id = 1; id <= GetNumNode(); ++id) {
        const PlainNode* node = GetNode(id);
        if (node == nullptr) continue;
        std::fprintf(f, "%4d. %-24.24s (Parent=%d, Nest=%d, Attr=%d, Data=%d), Content=\"%s\"\r\n",
                     id, node->GetTag(), node->GetParentID(), static_cast<int>(node->GetNest()),
                     node->GetNumAttr(), static_cast<int>(node->GetDataItem()), node->GetContent());
        for (const auto& attr : node->m_Attrs) {
            std::fprintf(f, "      %s=\"%s\"\r\n", static_cast<const char*>(attr->Name),
                         static_cast<const char*>(attr->Value));
        }
        ++written;
    }
    std::fclose(f);
    if (open == 1) RunCommand("Nodes.txt", 1);
    return written;
}
