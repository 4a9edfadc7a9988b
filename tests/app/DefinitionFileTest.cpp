// The configuration editor's definition of Kronalt's settings against the
// settings page: every key of one is in the other, every parameter loads, and
// every picture it names is in the data folder.

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <string>

#include "Core/Config/CCfgDoc.h"
#include "Core/Text/CTxt.h"

namespace {

using Key = std::pair<std::string, std::string>;  // section, key

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::set<Key> DocumentedKeys() {
    std::ifstream page(KRONALT_SOURCE_DIR "/docs/settings.md");
    const std::regex row(R"(^\| ([A-Z]+) \| `([A-Za-z]+)` \|)");
    std::set<Key> keys;
    std::smatch m;
    for (std::string line; std::getline(page, line);) {
        if (std::regex_search(line, m, row)) keys.insert({Upper(m[1]), m[2]});
    }
    return keys;
}

TEST(DefinitionFileTest, EveryDocumentedSettingIsEditableAndLoads) {
    CCfgDoc doc;
    doc.BaseDir = KRONALT_SOURCE_DIR "/data";
    CTxt err;
    ASSERT_EQ(doc.LoadSysDef(KRONALT_SOURCE_DIR "/data/Kronalt.xml", err), 0) << static_cast<const char*>(err);
    doc.LoadItems();
    int elements = 0;
    std::set<Key> defined;
    for (const CfgGroup& group : doc.Groups) {
        elements += group.Node->GetNumChildren();
        for (CCfgItem* item : group.Items) {
            defined.insert({Upper(static_cast<const char*>(item->Sect)), static_cast<const char*>(item->Name)});
            doc.SelectItem(item);
            std::vector<CfgDescLine> lines;
            CCfgDoc::SplitDescription(doc.ItemText, lines);
            for (const CfgDescLine& line : lines) {
                if (line.LineKind != CfgDescLine::Picture) continue;
                CTxt file;
                EXPECT_GT(doc.GetItemFile(line.Content, file, 2), 0)
                    << static_cast<const char*>(item->Name) << " names a missing picture";
            }
        }
    }
    EXPECT_EQ(static_cast<int>(doc.Items.size()), elements);  // none left out by a load error
    EXPECT_EQ(DocumentedKeys(), defined);
}

}  // namespace
