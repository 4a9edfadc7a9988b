// RootPlainNode::LoadHTM: the lenient reader for HTML-like text. It lists a
// node for every '<' met in content, collects tag, attributes and the text
// that follows, and pairs each closing tag with the nearest unpaired opening
// tag of the same name before it. No nesting is built.

#include <cctype>
#include <string>
#include <unordered_map>
#include <vector>

#include "Core/Xml/PlainNode.h"

namespace {

enum State { kContent, kTagName, kBetweenAttrs, kAttrName, kAfterEquals, kQuotedValue };

// The key under which stricmpmode's comparison sees a tag: every character
// upper-cased the way it upper-cases them.
std::string TagKey(const std::string& tag) {
    std::string key(tag);
    for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

}  // namespace

int RootPlainNode::LoadHTM(const char* text, CTxt& /*message*/) {
    ReleaseAllNodes();
    m_Nodes.SetSizeInit(1000, 1000);
    if (text == nullptr) return 0;

    // The node and attribute being read collect their texts here and receive
    // them when the reader moves on: a text grown one character at a time
    // would be copied once per character.
    PlainNode* node = nullptr;
    std::string tag, content;
    PlainNodeAttr* attr = nullptr;
    std::string attrName, attrValue;
    auto flushAttr = [&] {
        if (attr == nullptr) return;
        attr->Name = attrName.c_str();
        attr->Value = attrValue.c_str();
        attr = nullptr;
    };
    auto flushNode = [&] {
        if (node == nullptr) return;
        flushAttr();
        node->m_Tag = tag.c_str();
        node->m_Content = content.c_str();
    };

    // Unpaired nodes by tag key, most recent last: the nearest unpaired partner
    // of a closing tag is the top of its stack, found without a backward walk.
    std::unordered_map<std::string, std::vector<PlainNode*>> unpaired;

    State state = kContent;
    bool quote = false;
    for (const char* p = text; *p != '\0'; ++p) {
        const char c = *p;
        switch (c) {
        case '<':
            if (state == kContent) {
                flushNode();
                if (node != nullptr && node->m_ParentID == 0) unpaired[TagKey(tag)].push_back(node);
                node = AddNodeToRootList(0);
                if (node == nullptr) return GetNumNode();  // out of memory: what was read stays
                node->m_DataItem = static_cast<unsigned>(p - text);
                tag.clear();
                content.clear();
                state = kTagName;
            } else if (state == kQuotedValue) {
                attrValue += c;
            }
            break;
        case ' ':
            if (state == kTagName) {
                state = kBetweenAttrs;
            } else if (state == kQuotedValue) {
                attrValue += c;
            } else if (state == kContent && node != nullptr) {
                content += c;
            }
            break;
        case '"':
            if (quote) {
                quote = false;
                if (state == kQuotedValue) state = kBetweenAttrs;
            } else {
                quote = true;
                if (state == kAfterEquals) state = kQuotedValue;
            }
            break;
        case '=':
            if (state == kAttrName) {
                state = kAfterEquals;
            } else if (state == kQuotedValue) {
                attrValue += c;
            }
            break;
        case '>':
            if (state == kQuotedValue) {
                attrValue += c;
                break;
            }
            state = kContent;
            // Paired once only: a stray '>' later in the text must not take a
            // second partner and leave the first pointing at this node.
            if (node != nullptr && !tag.empty() && tag[0] == '/' && node->m_ParentID == 0) {
                auto found = unpaired.find(TagKey(tag.substr(1)));
                if (found != unpaired.end() && !found->second.empty()) {
                    PlainNode* partner = found->second.back();
                    found->second.pop_back();
                    partner->m_ParentID = node->m_PlainID;
                    node->m_ParentID = partner->m_PlainID;
                }
            }
            break;
        default:
            switch (state) {
            case kContent:
                if (node != nullptr) content += c;
                break;
            case kTagName:
                tag += c;
                break;
            case kBetweenAttrs:
                flushAttr();
                attr = node->AddAttr("", "");
                attrName.assign(1, c);
                attrValue.clear();
                state = kAttrName;
                break;
            case kAttrName:
                attrName += c;
                break;
            case kAfterEquals:
            case kQuotedValue:
                attrValue += c;
                break;
            }
        }
    }
    flushNode();
    return GetNumNode();
}
