// Reading the definition file, loading the parameters from it, and finding
// a parameter's description and picture files.

#include "Core/Config/CCfgDoc.h"

#include <strings.h>
#include <sys/stat.h>

#include <cstring>
#include <string>
#include <vector>

#include "Core/Platform/Translation.h"
#include "Core/System/Launch.h"
#include "Core/System/Log.h"
#include "Core/System/Profile.h"
#include "Core/Text/RuntimeConv.h"
#include "Core/Text/TextFunc.h"
#include "Core/Xml/CXML.h"

namespace {

const char* const kLogSource = "DlgCfg";
const int kLogLevel = 12;
// The tag item's mark for the element that became the tree's own top node.
const unsigned kHoldsRoot = 0x0010;

bool Exists(const char* path) {
    struct stat st{};
    return stat(path, &st) == 0;
}

const char* NamePart(const char* path) {
    const char* slash = std::strrchr(path, '/');
    return slash != nullptr ? slash + 1 : path;
}

// A name from the definition may name a file below the base folder, never
// one beside or above it: no absolute name, no ".." part.
bool StaysInside(const char* name) {
    if (name == nullptr || name[0] == '/' || name[0] == '\\') return false;
    const char* part = name;
    for (const char* p = name;; ++p) {
        if (*p == '/' || *p == '\\' || *p == '\0') {
            if (p - part == 2 && part[0] == '.' && part[1] == '.') return false;
            if (*p == '\0') return true;
            part = p + 1;
        }
    }
}

void TrimBlanks(CTxt& text) { text.Trim(' '); }

// The content of the first element with tag inside node (node itself included).
bool ContentOf(PlainNode* node, const char* tag, CTxt& out) {
    PlainNode* found = node != nullptr ? node->FindTag(tag) : nullptr;
    if (found == nullptr) return false;
    out = found->GetContent();
    return true;
}

}  // namespace

int CCfgDoc::OnParseEvent(CXML* xml, void* user) {
    auto* root = static_cast<RootPlainNode*>(user);
    XML_TAGITEM* item = xml->GetCurrTag();
    if (item == nullptr) {
        xml->AddErr("Received NULL Tag");
        return -1;
    }
    if (item->Name[0] == '?' || item->Name[0] == '!') return 0;
    const bool trace = (xml->GetFlg() & XMLFLG_TRACE) != 0;
    const int depth = xml->GetDepth();
    auto* node = static_cast<PlainNode*>(item->Node);
    switch (xml->GetXMLEvent()) {
    case XML_OPENTAG:
        if (depth == 1) {
            // The document's own element becomes the top node and keeps no
            // name, so SysDef and CfgDef are found one level below it.
            root->SetRootPlain(root);
            item->Node = root;
            item->Flags |= kHoldsRoot;
            if (trace) LogTrace(kLogSource, kLogLevel, "Root: OpenTag : [%d] %s", depth, item->Name);
        } else {
            auto* parent = static_cast<PlainNode*>(xml->GetTag(1)->Node);
            PlainNode* child = parent != nullptr ? parent->AddNode() : nullptr;
            if (child == nullptr) return -1;
            child->SetTag(item->Name);
            item->Node = child;
            item->Parent = parent;
            if (trace) {
                LogTrace(kLogSource, kLogLevel, "ID%5d: OpenTag : [%d] %s", child->GetPlainID(),
                         depth, item->Name);
            }
        }
        break;
    case XML_NEWATTR:
        if (node != nullptr) node->AddAttr(xml->GetAttrID(), xml->GetAttrTxt());
        if (trace) LogTrace(kLogSource, kLogLevel, "NewAttr : [%d] %s", depth, xml->GetAttrID());
        break;
    case XML_DATA:
        // Only groups, parameters and the texts inside SysDef carry content.
        if (depth >= 3 && node != nullptr) {
            node->SetContent(xml->GetAttrTxt());
            if (trace) {
                LogTrace(kLogSource, kLogLevel, "ID%5d: Data: %s", node->GetPlainID(),
                         xml->GetAttrTxt());
            }
        }
        break;
    case XML_ENDTAG:
        if (trace) LogTrace(kLogSource, kLogLevel, "EndTag  : [%d] %s", depth, item->Name);
        break;
    case XML_CLOSETAG:
        if (trace) LogTrace(kLogSource, kLogLevel, "CloseTag: [%d] %s", depth, item->Name);
        break;
    }
    return 0;
}

int CCfgDoc::LoadSysDef(const char* path, CTxt& err) {
    CTxt text;
    if (text.LoadFromFile(path) < 0) {
        err = static_cast<const char*>(text);
        return -1;
    }
    // Definitions written by hand in a Windows editor come in its code page.
    txtfromcp1252(text);
    DefPath = path;
    Nodes.ReleaseAllNodes();
    CfgDefNode = nullptr;
    CXML parser;
    parser.SetFlg(XMLFLG_TEXT);
    parser.SetTextName(path);
    const int parsed = parser.LoadFile(text, OnParseEvent, &Nodes);
    if (parsed < 0) {
        err.Format(Tr("Parse Erorr in '%s' (%d)"), path, parsed);
        return -2;
    }

    Title.MakeEmpty();
    PlainNode* sysDef = Nodes.FindTag("SysDef", 0, 0);
    if (sysDef == nullptr) {
        err.Format(Tr("Incomplete System Definition file - SysDef missing (%s)"), path);
        return -3;
    }
    CTxt title;
    if (!ContentOf(sysDef, "Title", title)) {
        err.Format(Tr("Incomplete System Definition file - Title missing in SysDef (%s)"), path);
        return -4;
    }
    PlainNode* cfgDef = Nodes.FindTag("CfgDef", 0, 0);
    if (cfgDef == nullptr) {
        err.Format(Tr("Incomplete System Definition file - CfgDef Section missing (%s)"), path);
        return -5;
    }
    CfgDefNode = cfgDef;
    Title = static_cast<const char*>(title);
    TrimBlanks(Title);

    CTxt folder;
    if (BaseDir.IsEmpty() && ContentOf(sysDef, "BaseDir", folder) && folder.IsFilled()) {
        if (!Exists(folder)) {
            CTxt reason;
            reason.Format(Tr("Invalid Base Foldder %s"), static_cast<const char*>(folder));
            err.Format("%s\r\n(%s)", static_cast<const char*>(reason), path);
            return -6;
        }
        folder.MakeFn();
        BaseDir = static_cast<const char*>(folder);
    }
    ContentOf(sysDef, "AppName", AppName);

    cfgDef->GetAttrText("SectionName", SectionName);
    if (SectionName.IsEmpty()) {
        CTxt reason;
        reason.Format(Tr("Missing %s attribute %s"), "CfgDef", "SectionName");
        err.Format("%s\r\n(%s)", static_cast<const char*>(reason), path);
        return -6;
    }
    cfgDef->GetAttrText("Intro", Intro);
    if (cfgDef->GetAttrInt("TreeWidth", TreeWidthPct) == 0) TreeWidthPx = TreeWidthPct * Width / 100;
    CTxt size;
    if (cfgDef->GetAttrText("Size", size) > 0) {
        const int widthPct = strfldint(size, ',', 1);
        const int heightPct = strfldint(size, ',', 2);
        if (widthPct > 0) WidthPct = widthPct;
        if (heightPct > 0) HeightPct = heightPct;
    }
    // Names of description and picture files resolve inside a base folder
    // only; without one named, that is the definition's own folder.
    if (BaseDir.IsEmpty()) {
        const char* slash = std::strrchr(path, '/');
        if (slash != nullptr) BaseDir = std::string(path, slash == path ? 1 : static_cast<size_t>(slash - path)).c_str();
    }
    // A caption of blanks would leave the window nameless.
    if (Title.IsEmpty()) Title = AppName.IsFilled() ? AppName.GetData() : NamePart(path);
    return 0;
}

int CCfgDoc::LoadItems() {
    Items.clear();
    Groups.clear();
    CurItem = nullptr;
    if (CfgDefNode == nullptr) return 0;
    for (int g = 0; g < CfgDefNode->GetNumChildren(); ++g) {
        PlainNode* groupNode = CfgDefNode->GetChild(g);
        CfgGroup group;
        if (groupNode == nullptr || groupNode->GetAttrText("Name", group.Name) == 0) continue;
        group.Node = groupNode;
        groupNode->GetAttrInt("Open", group.Open);
        for (int p = 0; p < groupNode->GetNumChildren(); ++p) {
            PlainNode* element = groupNode->GetChild(p);
            CTxt name;
            if (element == nullptr || element->GetAttrText("Name", name) == 0) continue;
            CTxt err;
            CCfgItem* item = LoadItem(element, nullptr, err);
            if (item == nullptr) {
                LogTrace(kLogSource, kLogLevel, "Item Load error: %s (%s)",
                         static_cast<const char*>(name), static_cast<const char*>(err));
                continue;
            }
            group.Items.push_back(item);
        }
        Groups.push_back(std::move(group));
    }
    return static_cast<int>(Items.size());
}

void CCfgDoc::ReadStoredText(const CCfgItem& item, CTxt& out) const { ReadStoredText(item, item.Dflt, out); }

void CCfgDoc::ReadStoredText(const CCfgItem& item, const char* def, CTxt& out) const {
    if (item.Reg.IsEmpty()) {
        // The whole value, however long: a value cut here and entered or
        // restored would be written back cut.
        std::vector<char> buf(1000);
        for (;;) {
            const int n = ProfileReadStr(item.Sect, item.Name, def, buf.data(), static_cast<int>(buf.size()));
            if (n < static_cast<int>(buf.size()) - 1 || buf.size() >= (1u << 26)) break;
            buf.resize(buf.size() * 4);
        }
        out = buf.data();
        return;
    }
    std::string value;
    RegGetGlobal(item.Name, value, item.Dflt, item.Reg, 1);
    out = value.c_str();
}

CCfgItem* CCfgDoc::LoadItem(PlainNode* element, void* treeRecord, CTxt& err) {
    auto item = std::make_unique<CCfgItem>();
    item->Node = element;
    item->TreeItem = treeRecord;
    if (element == nullptr || element->GetAttrText("Name", item->Name) == 0) return nullptr;
    if (element->GetAttrText("Sect", item->Sect) == 0) item->Sect = static_cast<const char*>(SectionName);
    element->GetAttrText("Reg", item->Reg);
    if (PlainNode* group = element->GetParent()) group->GetAttrText("Name", item->Group);
    element->GetAttrText("Dflt", item->Dflt);
    CTxt type;
    if (element->GetAttrText("Type", type) == 0) type = "Int";
    if (item->ParseType(type) == CFGTYPE_NONE) {
        err.Format(Tr("Unknown Type in %s"), static_cast<const char*>(type));
        return nullptr;
    }

    CTxt stored;
    ReadStoredText(*item, stored);
    CTxt shown;
    CDataValue& loaded = item->StoredValue;
    switch (item->Type) {
    case CFGTYPE_INT:
    case CFGTYPE_INTNEG:
        loaded.SetIntVal(zam::RuntimeAtoi(stored));
        shown.Format("%d", zam::RuntimeAtoi(stored));
        break;
    case CFGTYPE_FLOAT: {
        // A value of the per-user store is not the profile's to normalise.
        const float value = item->Reg.IsEmpty()
                                ? ProfileReadFloat(item->Sect, item->Name,
                                                   static_cast<float>(zam::RuntimeAtof(item->Dflt)))
                                : static_cast<float>(zam::RuntimeAtof(stored));
        loaded.SetFloatVal(value);
        shown.Format("%.*f", item->Decimals, zam::RuntimeAtof(stored));
        break;
    }
    case CFGTYPE_TEXT:
    case CFGTYPE_PARTXT:
        if (item->Type == CFGTYPE_TEXT) stored.MakeLength(item->Width);
        item->StoredValue.SetText(stored);
        item->EditedValue.SetText(stored);
        shown = static_cast<const char*>(stored);
        TrimBlanks(shown);
        break;
    case CFGTYPE_BOOL: {
        const int yes = CfgYesNo(stored);
        loaded.SetIntVal(yes);
        shown = yes ? "YES" : "NO";
        break;
    }
    case CFGTYPE_PARINT:
    case CFGTYPE_PARFLT: {
        CTxt list;
        if (ExpandValueList(stored, list) >= 0) {
            item->StoredValue.SetText(list);
            item->EditedValue.SetText(list);
            shown = static_cast<const char*>(list);
        } else {
            shown = static_cast<const char*>(stored);  // never the error text
        }
        break;
    }
    case CFGTYPE_PARSRC: {
        const int n = CfgParSrcNumber(stored);
        if (n >= 1 && n <= 8) {
            shown.Format("%d", n);
            item->StoredValue.SetText(shown);
            item->EditedValue.SetText(shown);
        } else {
            shown = static_cast<const char*>(stored);
        }
        break;
    }
    case CFGTYPE_DATE:
    case CFGTYPE_COLOR: {
        const int readable = item->Type == CFGTYPE_DATE ? CfgDateText(stored, shown) : CfgColorText(stored, shown);
        if (readable) {
            item->StoredValue.SetText(shown);
            item->EditedValue.SetText(shown);
        } else {
            shown = static_cast<const char*>(stored);  // shown as it is, never made black or 0/0/1900
        }
        break;
    }
    }
    item->ShownText = static_cast<const char*>(shown);
    // The float read above may have put the stored text in its normal form.
    if (item->Type == CFGTYPE_FLOAT && item->Reg.IsEmpty()) {
        ReadStoredText(*item, item->OpenText);
    } else {
        item->OpenText = static_cast<const char*>(stored);
    }
    if (!item->StoredValue.IsText()) item->EditedValue = item->StoredValue;
    UpdateModified(*item, item->OpenText);
    Items.push_back(std::move(item));
    return Items.back().get();
}

CCfgItem* CCfgDoc::PickStartItem() {
    CTxt last;
    ProfileReadStr("CFGDLG", "LastItemName", FirstItem.IsFilled() ? FirstItem.GetData() : "", last);
    CCfgItem* chosen = nullptr;
    if (last.IsFilled()) {
        for (const auto& item : Items) {
            if (strcasecmp(item->Name, last) == 0) {
                chosen = item.get();
                break;
            }
        }
    } else if (!Items.empty()) {
        chosen = Items.front().get();
        last = static_cast<const char*>(chosen->Name);
    }
    // A stale name stays as it was: the item may come back.
    ProfileWriteStr("CFGDLG", "LastItemName", last);
    return chosen;
}

void CCfgDoc::SelectItem(CCfgItem* item) {
    CurItem = item;
    ItemText.MakeEmpty();
    if (item == nullptr) return;
    ItemDescription(*item, ItemText);
    ItemText.Add('\n');
    ProfileWriteStr("CFGDLG", "LastItemName", item->Name);
}

void CCfgDoc::ItemDescription(const CCfgItem& item, CTxt& out) const {
    out.MakeEmpty();
    if (item.Node != nullptr) item.Node->GetContentBin(out);
    CTxt file;
    if (out.IsEmpty() && ItemFile(item.Name, nullptr, file, 1) > 0 && fileisregular(file) == 1) {
        CTxt contents;
        if (contents.LoadFromFile(file) >= 0) {
            txtfromcp1252(contents);
            out = static_cast<const char*>(contents);
        }
    }
}

int CCfgDoc::GetItemFile(const char* picture, CTxt& out, int kind) const {
    return ItemFile(CurItem != nullptr ? static_cast<const char*>(CurItem->Name) : "", picture, out, kind);
}

int CCfgDoc::ItemFile(const char* name, const char* picture, CTxt& out, int kind) const {
    CTxt prefix;
    if (BaseDir.IsFilled()) prefix.Format("%s/", static_cast<const char*>(BaseDir));
    const char* pictureName = picture != nullptr ? picture : "";
    CTxt joined;
    joined.Format("%s%s", name, kind == 1 ? "" : pictureName);
    if (!StaysInside(joined)) {
        LogTrace(kLogSource, kLogLevel, "GetItemFile: '%s' refused, it leads outside %s",
                 static_cast<const char*>(joined), BaseDir.IsFilled() ? BaseDir.GetData() : ".");
        return -1;
    }
    if (kind == 1) {
        out.Format("%s%s.txt", static_cast<const char*>(prefix), name);
        return out.GetLength();
    }
    for (const char* ext : {"jpeg", "jpg", "gif"}) {
        out.Format("%s%s%s.%s", static_cast<const char*>(prefix), name, pictureName, ext);
        if (fileisregular(out) == 1) return out.GetLength();
    }
    return -1;
}
