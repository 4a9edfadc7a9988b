// Reading a configuration definition: CCfgDoc::LoadSysDef (file read, scan
// and its own node tree, the checks of the definition) against libxml2
// building its tree from the same bytes in memory. And one keystroke of the
// editor's filter over 30,000 parameters: CCfgFilter::Match against plain
// searches of the same texts.

#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <stdlib.h>
#include <unistd.h>

#include <strings.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Core/Config/CCfgDoc.h"
#include "Core/Config/CCfgFilter.h"
#include "Core/System/Profile.h"
#include "bench/GeneratedDefinition.h"

namespace {

const int kParameters = 2000;
const int kFilterParameters = 30000;

std::string Definition(int parameters = kParameters) {
    return GeneratedDefinition(parameters, "SectionName=\"SYS\" Intro=\"Generated\" TreeWidth=\"30\" Size=\"60,70\"", true);
}

struct DefinitionFile {
    explicit DefinitionFile(int parameters = kParameters) : Bytes(Definition(parameters)) {
        char name[] = "/tmp/kronalt-cfgbench-XXXXXX";
        const int fd = mkstemp(name);
        Path = name;
        if (fd >= 0) {
            if (write(fd, Bytes.data(), Bytes.size()) != static_cast<ssize_t>(Bytes.size())) Path.clear();
            close(fd);
        }
    }
    ~DefinitionFile() { std::remove(Path.c_str()); }
    std::string Bytes;
    std::string Path;
};

const DefinitionFile& File() {
    static DefinitionFile file;
    return file;
}

void BM_CCfgDoc_LoadSysDef(benchmark::State& state) {
    const DefinitionFile& file = File();
    for (auto _ : state) {
        CCfgDoc doc;
        CTxt err;
        if (doc.LoadSysDef(file.Path.c_str(), err) != 0) state.SkipWithError("LoadSysDef failed");
        benchmark::DoNotOptimize(doc.CfgDefNode);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(file.Bytes.size()));
}
BENCHMARK(BM_CCfgDoc_LoadSysDef)->Unit(benchmark::kMillisecond);

void BM_LibXml2_ReadMemory(benchmark::State& state) {
    const DefinitionFile& file = File();
    for (auto _ : state) {
        xmlDocPtr doc = xmlReadMemory(file.Bytes.data(), static_cast<int>(file.Bytes.size()), "bench.xml",
                                      nullptr, XML_PARSE_NONET);
        if (doc == nullptr) state.SkipWithError("xmlReadMemory failed");
        xmlFreeDoc(doc);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(file.Bytes.size()));
}
BENCHMARK(BM_LibXml2_ReadMemory)->Unit(benchmark::kMillisecond);

// --- the filter -------------------------------------------------------------

// The editor's items loaded from the 30,000-parameter definition, the
// filter's index, and the same texts as a plain search would keep them.
struct FilterSet {
    FilterSet() : File(kFilterParameters) {
        // The profile of a temporary program folder: nothing is stored, every
        // parameter shows its default, as on a first start.
        CTxt err;
        if (Doc.LoadSysDef(File.Path.c_str(), err) != 0) return;
        Doc.LoadItems();
        Filter.Index(Doc);
        for (const auto& item : Doc.Items) {
            CTxt value, description;
            Doc.LabelValue(*item, value);
            Doc.ItemDescription(*item, description);
            Raw.push_back(std::string(item->Name) + "\n" + static_cast<const char*>(value) + "\n" +
                          static_cast<const char*>(description));
            std::string lower = Raw.back();
            std::transform(lower.begin(), lower.end(), lower.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            Lowered.push_back(std::move(lower));
        }
    }
    DefinitionFile File;
    CCfgDoc Doc;
    CCfgFilter Filter;
    std::vector<std::string> Raw, Lowered;
};

FilterSet& Set() {
    static FilterSet set;
    return set;
}

// What a user types, one keystroke at a time: every prefix of each word is
// one filter text. The first letters match nearly all, the last few one.
const std::vector<std::string>& Keystrokes() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> out;
        for (const char* word : {"Param2917", "WRAPPED", "example value", "no such setting"}) {
            for (size_t n = 1; n <= std::strlen(word); ++n) out.emplace_back(word, n);
        }
        return out;
    }();
    return keys;
}

void BM_CCfgFilter_Index(benchmark::State& state) {
    FilterSet& set = Set();
    for (auto _ : state) {
        CCfgFilter filter;
        filter.Index(set.Doc);
        benchmark::DoNotOptimize(filter.Size());
    }
}
BENCHMARK(BM_CCfgFilter_Index)->Unit(benchmark::kMillisecond);

void BM_CCfgFilter_Keystroke(benchmark::State& state) {
    FilterSet& set = Set();
    const auto& keys = Keystrokes();
    std::vector<CCfgItem*> found;
    size_t k = 0, matched = 0;
    for (auto _ : state) {
        matched += set.Filter.Match(keys[k].c_str(), false, found);
        k = (k + 1) % keys.size();
    }
    state.counters["matches/key"] = static_cast<double>(matched) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_CCfgFilter_Keystroke)->Unit(benchmark::kMillisecond);

// Peer: the plain search one would write first, strcasestr over each item's
// texts as they are.
void BM_Strcasestr_Keystroke(benchmark::State& state) {
    FilterSet& set = Set();
    const auto& keys = Keystrokes();
    std::vector<const std::string*> found;
    size_t k = 0, matched = 0;
    for (auto _ : state) {
        found.clear();
        for (const std::string& text : set.Raw)
            if (strcasestr(text.c_str(), keys[k].c_str()) != nullptr) found.push_back(&text);
        matched += found.size();
        k = (k + 1) % keys.size();
    }
    state.counters["matches/key"] = static_cast<double>(matched) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_Strcasestr_Keystroke)->Unit(benchmark::kMillisecond);

// Peer: std::string::find over texts lowered beforehand (ASCII only), the
// plain form of what the filter does.
void BM_StringFind_Keystroke(benchmark::State& state) {
    FilterSet& set = Set();
    const auto& keys = Keystrokes();
    std::vector<const std::string*> found;
    size_t k = 0, matched = 0;
    for (auto _ : state) {
        std::string needle = keys[k];
        std::transform(needle.begin(), needle.end(), needle.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        found.clear();
        for (const std::string& text : set.Lowered)
            if (text.find(needle) != std::string::npos) found.push_back(&text);
        matched += found.size();
        k = (k + 1) % keys.size();
    }
    state.counters["matches/key"] = static_cast<double>(matched) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_StringFind_Keystroke)->Unit(benchmark::kMillisecond);

}  // namespace
