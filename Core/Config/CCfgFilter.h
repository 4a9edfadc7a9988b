#pragma once
// The configuration editor's filter without its window: which parameters a
// text typed into the filter field leaves in the tree. Each parameter's name,
// the value its tree label shows and its description are folded to lower
// case once, so a keystroke costs one scan of the folded texts.

#include <string>
#include <unordered_map>
#include <vector>

class CCfgDoc;
class CCfgItem;

class CCfgFilter {
public:
    /// Takes in every item of doc, in tree order.
    void Index(const CCfgDoc& doc);
    /// The item's value changed: the value its label shows is taken in again.
    void Update(const CCfgDoc& doc, const CCfgItem& item);
    /// The items, in tree order, whose name, shown value or description
    /// contains text without regard to case (an empty text or one of blanks
    /// only: every item), and with modifiedOnly only those whose stored
    /// value differs from the default. Returns their number.
    size_t Match(const char* text, bool modifiedOnly, std::vector<CCfgItem*>& out) const;
    /// Number of items taken in.
    size_t Size() const { return m_Entries.size(); }

    /// Lower case of a UTF-8 text: ASCII, Latin-1, Latin Extended-A, Greek
    /// and Cyrillic capitals; other characters and bytes that are not UTF-8
    /// stay as they are.
    static void Fold(const char* text, std::string& out);

private:
    struct Entry {
        CCfgItem* Item = nullptr;
        std::string Name, Value, Description;  // folded
    };
    std::vector<Entry> m_Entries;
    std::unordered_map<const CCfgItem*, size_t> m_Where;  // entry of each item
};
