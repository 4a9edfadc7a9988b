#pragma once
// An ordered list of owned texts: also a small name|value store, a loader of
// folder listings and of text and comma-separated files, and a line writer.

#include <string>
#include <vector>

#include "Core/Platform/WinTypes.h"
#include "Core/Text/CTxt.h"
#include "Core/Text/CTxtPool.h"
#include "Core/Text/SPtrArray.h"

class CTxtArray {
public:
    /// Empty list, process id 0, entry style 0.
    CTxtArray();
    /// Releases every text.
    ~CTxtArray();
    CTxtArray(const CTxtArray&) = delete;
    CTxtArray& operator=(const CTxtArray&) = delete;

    /// Number of slots.
    int GetSize() const { return m_Items.GetSize(); }
    /// The text at i; null outside 0..size-1.
    CTxt* GetAt(int i) const;
    /// The characters at i; null out of range, for an empty slot or a text without buffer.
    const char* GetAtTxt(int i) const;
    /// Passed to the item array.
    void SetSizeInit(int initialCapacity, int growBy) { m_Items.SetSizeInit(initialCapacity, growBy); }
    /// Form of the entries the folder loaders make (0 path, 1 creation time, 2 write time, 3 seconds).
    int GetEntryStyle() const { return m_EntryStyle; }
    /// The process whose list view LoadFromLC reads (0: the window's own).
    void SetProcessId(int pid) { m_ProcessId = pid; }

    /// Appends a new text (null: a text without buffer); its index.
    int Add(const char* p);
    /// Inserts a new text before index i.
    void Insert(int i, const char* p);
    /// Sets the text at i, creating it (and growing the list) as needed; 0, or -1 for i < 0.
    int SetAt(int i, const char* p);
    /// Releases the text at i and removes its slot; 0, or -1 out of range.
    int RemoveAt(int i);
    /// Releases every text and the storage.
    void RemoveAll();

    /// Index of the first text equal to t (any case); -1 when none.
    int FindString(const char* t) const;
    /// Index of the first (fromEnd: last) text beginning with prefix; -1 when none.
    int FindStringStart(const char* prefix, int fromEnd) const;
    /// Index of the first text containing seg (any case); -1 when none.
    int FindStringSegment(const char* seg) const;
    /// Adds t when absent: 1, else 0.
    int AddIfNew(const char* t);
    /// The index of t, added first when absent.
    int AddIfNewIdx(const char* t);
    /// 0 equal, -1 sizes differ, -2 a pair of texts differs.
    int Compare(CTxtArray* other) const;

    /// Index of the entry "name|value" (name any case), value into value; -1 when none (report 1: value "%s to found").
    int FindValue(const char* name, CTxt& value, int report) const;
    /// Empties value, then FindValue.
    int FindValueReset(const char* name, CTxt& value, int report) const;
    /// The entry's value read as an integer; -1 when the name is absent.
    int FindValueInt(const char* name) const;
    /// Sets "name|value" (replacing or appending), its index; null value removes: the old index or -1.
    int SetValue(const char* name, const char* value);
    /// Counts name: the entry becomes "name|count"; its index.
    int AddCnt(const char* name);

    /// Every text followed by delim into out; the size.
    int GetDelimTxt(CTxt& out, char delim) const;
    /// Ascending, without regard to case.
    void Sort();
    /// Ascending by cmp, which receives the two texts' characters.
    void SortCust(int (*cmp)(const void*, const void*));

    /// Becomes the lines of text (CR dropped); the size.
    int LoadFromTxt(const char* text);
    /// Adds the trimmed, non-empty fields of text (clear 1: empties first); the size.
    int LoadFromFields(const char* text, char delim, int clear);
    /// Adds other's texts (append 0: empties first); the size.
    int LoadFromTxtArray(CTxtArray* other, int append);
    /// Becomes the strings; the size.
    int LoadFromStrArray(const std::vector<std::string>& strings);

    /// Becomes the file's lines (keepLast: also a last line without line end); the size, or -1 with err.
    int LoadFromFile(const char* path, CTxt& err, int keepLast);
    /// The file's lines through the buffered reader (maxLines > 0 stops there, < 0 appends); the size, or -1 with err.
    int LoadFromFileBuf(const char* path, CTxt& err, int maxLines);
    /// The file's lines with quoted commas kept and other commas made tabs; the count, or -1 with err.
    int LoadFromCSV(const char* path, CTxt& err);

    /// Writes the texts with CR LF (maxLines > 0: at most that many); 0 with msg "Saved ...", or -1 with msg.
    int SaveToFile(const char* path, CTxt& msg, int maxLines, int append);
    /// SaveToFile on the next free numbered name of pattern; -10 without a '%' placeholder.
    int SaveToNextFile(const char* pattern, CTxt& msg);

    /// Adds the folder's entries (desc 1: recursing; fileOnly 1: no folders; pattern "*.x" or "!EXT"); the size.
    int LoadFromDirNoSort(const char* dir, int desc, int fileOnly, const char* pattern, int nLev,
                          int trace);
    /// LoadFromDirNoSort, sorted at the top level; the size.
    int LoadFromDir(const char* dir, int desc, int fileOnly, const char* pattern, int nLev, int trace);
    /// LoadFromDir with entries that begin with the creation time (so sorted by it); the size.
    int LoadFromDirSortTime(const char* dir, int desc, int fileOnly, const char* pattern, int nLev,
                            int trace);
    /// LoadFromDirSortTime with the given entry style; the size.
    int LoadFromDirSortTimeStyle(int style, const char* dir, int desc, int fileOnly,
                                 const char* pattern, int nLev, int trace);
    /// Adds the files (extension ext when not empty), recursing when recurse is 1; the size.
    int LoadFromFilesFromTree(const char* dir, const char* ext, int nLev, int trace, int recurse);

    /// Becomes the rows of a list view ("a|b|" for several columns); the size, or -1 not a list view, -2 no process, -3 no access (msg says which).
    int LoadFromLC(HWND wnd, CTxt& msg, int columns);

private:
    // Loaders of many lines double the storage instead of adding 1,024 slots
    // at a time, which would copy the list over and over; the caller's
    // growth step is restored afterwards.
    class BulkGrowth {
    public:
        explicit BulkGrowth(SPtrArray& items) : m_Items(items), m_Saved(items.GetGrowBy()) {}
        ~BulkGrowth() { m_Items.SetSizeInit(0, m_Saved); }
        void Added(int size) {
            if (size >= 1024 && m_Items.GetGrowBy() < size) m_Items.SetSizeInit(0, size);
        }

    private:
        SPtrArray& m_Items;
        int m_Saved;
    };

    // Releases the text in a slot, wherever it lives.
    void Release(void* slot);
    // Appends the n characters at p as a text of the pool.
    int AddPooled(const char* p, int n);
    void SortWith(int (*cmp)(const void*, const void*), bool reserve);
    bool MakeEntry(const std::string& path, std::string& entry) const;
    int LoadDir(const char* dir, int desc, int fileOnly, const char* pattern, int nLev, int trace);
    int LoadTree(const char* dir, const char* ext, int nLev, int trace, int recurse);
    void SortListing(const char* dir, int desc, int fileOnly, const char* pattern, int trace);
    int LoadSortedByTime(int style, const char* dir, int desc, int fileOnly, const char* pattern,
                         int nLev, int trace);

    int m_ProcessId = 0;
    SPtrArray m_Items;
    int m_EntryStyle = 0;
    // The texts of file loads; freed when the list is emptied.
    CTxtPool m_Pool;
};
