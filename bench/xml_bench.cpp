// Scan throughput of CXML against expat's push parser and libxml2's SAX
// parser, each with a handler that counts the same events (start tags,
// attributes, end tags, text pieces), and against pugixml, which builds a
// whole tree in place (its counts are taken from the tree afterwards). Two documents: a large real XML file
// from a Debian package and a generated 50 MB document of nested elements
// with attributes and text. Each is measured in memory (the scan alone) and
// end to end (reading the file and scanning it). The program prints the
// ratios at the end.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <expat.h>
#include <libxml/parser.h>
#include <pugixml.hpp>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "Core/Platform/CpuFeatures.h"
#include "Core/Platform/ProgramPath.h"
#include "Core/Xml/CXML.h"

// Every allocation of the process is counted, so the benchmark can show that
// the scan itself allocates nothing.
extern "C" void* __libc_malloc(size_t);
extern "C" void* __libc_calloc(size_t, size_t);
extern "C" void* __libc_realloc(void*, size_t);
namespace {
std::atomic<long> g_allocations{0};
}
extern "C" void* malloc(size_t n) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(n);
}
extern "C" void* calloc(size_t count, size_t n) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(count, n);
}
extern "C" void* realloc(void* p, size_t n) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(p, n);
}

namespace {

struct Counts {
    long Starts = 0;
    long Attrs = 0;
    long Ends = 0;
    long Texts = 0;
    long Total() const { return Starts + Attrs + Ends; }
};

struct Document {
    std::string Label;
    std::string Path;
    std::string Text;
};

// --- the documents ------------------------------------------------------------

// A large real file, from the GTK development package when it is there.
bool FindRealDocument(Document& doc) {
    std::vector<std::string> candidates = {"/usr/share/gir-1.0/Gtk-3.0.gir"};
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/usr/share/gir-1.0", ec)) {
        candidates.push_back(entry.path().string());
    }
    for (const std::string& path : candidates) {
        std::ifstream in(path, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (text.size() < 1000000) continue;
        doc = {std::filesystem::path(path).filename().string(), path, std::move(text)};
        return true;
    }
    return false;
}

// About 50 MB of nested sections, items with attributes, text and entities.
std::string GeneratedText() {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<catalog generated=\"bench\">\n";
    out.reserve(52u * 1024 * 1024);
    for (int s = 0; out.size() < 50u * 1000 * 1000; ++s) {
        out += "  <section id=\"s" + std::to_string(s) + "\" name=\"Section " + std::to_string(s) + "\">\n";
        for (int i = 0; i < 50; ++i) {
            const std::string n = std::to_string(s * 50 + i);
            out += "    <item id=\"i" + n + "\" price=\"" + std::to_string(i % 97) +
                   ".50\" currency='EUR' stock=\"" + std::to_string(i * 7 % 13) + "\">\n";
            out += "      <title lang=\"en\">Item number " + n + " &amp; friends</title>\n";
            out += "      <description>A few words about item " + n +
                   ", long enough to look like the text of a real catalogue entry &lt;ok&gt;."
                   "</description>\n";
            out += "      <tags><tag>alpha</tag><tag>beta</tag><tag kind=\"x\">gamma</tag></tags>\n";
            out += "      <!-- item " + n + " -->\n    </item>\n";
        }
        out += "  </section>\n";
    }
    out += "</catalog>\n";
    return out;
}

// About 20 MB of short elements with five to ten short attributes each, one
// element a line: the markup of a settings or data-exchange file.
std::string AttributeHeavyText() {
    std::string out = "<?xml version=\"1.0\"?>\n<records>\n";
    out.reserve(21u * 1024 * 1024);
    static const char* const names[] = {"id", "kind", "x", "y", "w", "h", "state", "ref", "unit", "flag"};
    for (int r = 0; out.size() < 20u * 1000 * 1000; ++r) {
        out += "  <r";
        const int count = 5 + r % 6;
        for (int a = 0; a < count; ++a) {
            out += ' ';
            out += names[a];
            out += "=\"";
            out += std::to_string((r * 31 + a * 7) % 1000);
            out += '"';
        }
        out += "/>\n";
    }
    out += "</records>\n";
    return out;
}

std::map<std::string, Document>& Documents() {
    static std::map<std::string, Document> docs;
    return docs;
}

// --- the three handlers ------------------------------------------------------------

int CountCXML(CXML* xml, void* user) {
    Counts& c = *static_cast<Counts*>(user);
    switch (xml->GetXMLEvent()) {
    case XML_OPENTAG: {
        const char first = xml->GetCurrTag()->Name[0];
        if (first != '?' && first != '!') ++c.Starts;
        break;
    }
    case XML_NEWATTR: ++c.Attrs; break;
    case XML_DATA: ++c.Texts; break;
    case XML_CLOSETAG: ++c.Ends; break;
    default: break;
    }
    return 0;
}

void XMLCALL ExpatStart(void* user, const XML_Char*, const XML_Char** atts) {
    Counts& c = *static_cast<Counts*>(user);
    ++c.Starts;
    for (int i = 0; atts[i] != nullptr; i += 2) ++c.Attrs;
}
void XMLCALL ExpatEnd(void* user, const XML_Char*) { ++static_cast<Counts*>(user)->Ends; }
void XMLCALL ExpatText(void* user, const XML_Char*, int) { ++static_cast<Counts*>(user)->Texts; }

XML_Parser NewExpat(Counts& counts) {
    XML_Parser parser = XML_ParserCreate(nullptr);
    XML_SetUserData(parser, &counts);
    XML_SetElementHandler(parser, ExpatStart, ExpatEnd);
    XML_SetCharacterDataHandler(parser, ExpatText);
    return parser;
}

void SaxStart(void* user, const xmlChar*, const xmlChar*, const xmlChar*, int, const xmlChar**,
              int attributes, int, const xmlChar**) {
    Counts& c = *static_cast<Counts*>(user);
    ++c.Starts;
    c.Attrs += attributes;
}
void SaxEnd(void* user, const xmlChar*, const xmlChar*, const xmlChar*) {
    ++static_cast<Counts*>(user)->Ends;
}
void SaxText(void* user, const xmlChar*, int) { ++static_cast<Counts*>(user)->Texts; }

xmlSAXHandler SaxHandler() {
    xmlSAXHandler sax;
    std::memset(&sax, 0, sizeof sax);
    sax.initialized = XML_SAX2_MAGIC;
    sax.startElementNs = SaxStart;
    sax.endElementNs = SaxEnd;
    sax.characters = SaxText;
    return sax;
}

// Start tags, attributes, end tags and text pieces of a parsed tree.
Counts PugixmlCounts(pugi::xml_document& tree) {
    struct Walker : pugi::xml_tree_walker {
        Counts c;
        bool for_each(pugi::xml_node& node) override {
            if (node.type() == pugi::node_element) {
                ++c.Starts;
                ++c.Ends;
                for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) ++c.Attrs;
            } else if (node.type() == pugi::node_pcdata) {
                ++c.Texts;
            }
            return true;
        }
    } walker;
    tree.traverse(walker);
    return walker.c;
}

void Report(benchmark::State& state, const Document& doc, const Counts& counts, bool ok) {
    if (!ok) state.SkipWithError("the parser refused the document");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(doc.Text.size()));
    state.counters["events"] = static_cast<double>(counts.Total());
}

// --- in memory -----------------------------------------------------------------------

// The scan on a narrower path than the processor's widest, for comparison.
void ScanCXMLOn(benchmark::State& state, const std::string& key, zam::platform::VectorLevel level);

void ScanCXML(benchmark::State& state, const std::string& key) {
    const Document& doc = Documents()[key];
    CXML xml;
    xml.SetFlg(XMLFLG_TEXT | XMLFLG_NOERRBOX);
    Counts counts;
    bool ok = true;
    long allocations = 0;
    for (auto _ : state) {
        counts = Counts();
        const long before = g_allocations.load(std::memory_order_relaxed);
        ok = xml.LoadFile(doc.Text.c_str(), CountCXML, &counts) == 0 && ok;
        allocations = g_allocations.load(std::memory_order_relaxed) - before;
        benchmark::DoNotOptimize(counts);
    }
    Report(state, doc, counts, ok);
    state.counters["allocs"] = static_cast<double>(allocations);
}

void ScanCXMLOn(benchmark::State& state, const std::string& key, zam::platform::VectorLevel level) {
    const zam::platform::VectorLevel before = zam::platform::SetVectorLevelForTests(level);
    ScanCXML(state, key);
    zam::platform::SetVectorLevelForTests(before);
}

void ScanExpat(benchmark::State& state, const std::string& key) {
    const Document& doc = Documents()[key];
    Counts counts;
    bool ok = true;
    for (auto _ : state) {
        counts = Counts();
        XML_Parser parser = NewExpat(counts);
        ok = XML_Parse(parser, doc.Text.data(), static_cast<int>(doc.Text.size()), 1) == XML_STATUS_OK && ok;
        XML_ParserFree(parser);
        benchmark::DoNotOptimize(counts);
    }
    Report(state, doc, counts, ok);
}

void ScanLibXml2(benchmark::State& state, const std::string& key) {
    const Document& doc = Documents()[key];
    xmlSAXHandler sax = SaxHandler();
    Counts counts;
    bool ok = true;
    for (auto _ : state) {
        counts = Counts();
        ok = xmlSAXUserParseMemory(&sax, &counts, doc.Text.data(), static_cast<int>(doc.Text.size())) == 0 && ok;
        benchmark::DoNotOptimize(counts);
    }
    Report(state, doc, counts, ok);
}

// The tree is parsed in the document's own bytes, which it rewrites, so every
// round gets a fresh copy made outside the timing.
void ScanPugixml(benchmark::State& state, const std::string& key) {
    const Document& doc = Documents()[key];
    std::vector<char> copy(doc.Text.size());
    pugi::xml_document tree;
    bool ok = true;
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(copy.data(), doc.Text.data(), copy.size());
        state.ResumeTiming();
        ok = tree.load_buffer_inplace(copy.data(), copy.size()) && ok;
        benchmark::DoNotOptimize(tree.first_child());
    }
    Report(state, doc, PugixmlCounts(tree), ok);
}

// --- end to end: read the file, then scan -------------------------------------------------

void FileCXML(benchmark::State& state, const std::string& key) {
    const Document& doc = Documents()[key];
    CXML xml;
    xml.SetFlg(XMLFLG_NOERRBOX);
    Counts counts;
    bool ok = true;
    for (auto _ : state) {
        counts = Counts();
        ok = xml.LoadFile(doc.Path.c_str(), CountCXML, &counts) == 0 && ok;
        benchmark::DoNotOptimize(counts);
    }
    Report(state, doc, counts, ok);
}

// What LoadFile spends before the scan: a buffer of the file's size and one
// read into it.
void ReadOnly(benchmark::State& state, const std::string& key) {
    const Document& doc = Documents()[key];
    bool ok = true;
    for (auto _ : state) {
        const int fd = open(doc.Path.c_str(), O_RDONLY | O_CLOEXEC);
        char* buffer = static_cast<char*>(std::malloc(doc.Text.size() + 1));
        ok = fd >= 0 && buffer != nullptr &&
             read(fd, buffer, doc.Text.size()) == static_cast<ssize_t>(doc.Text.size()) && ok;
        benchmark::DoNotOptimize(buffer);
        std::free(buffer);
        if (fd >= 0) close(fd);
    }
    Report(state, doc, Counts(), ok);
}

// Expat's own way with a file: pieces read straight into its buffer.
void FileExpat(benchmark::State& state, const std::string& key) {
    const Document& doc = Documents()[key];
    const int piece = 64 * 1024;
    Counts counts;
    bool ok = true;
    for (auto _ : state) {
        counts = Counts();
        XML_Parser parser = NewExpat(counts);
        FILE* f = std::fopen(doc.Path.c_str(), "rb");
        for (bool done = f == nullptr; !done;) {
            void* buffer = XML_GetBuffer(parser, piece);
            const size_t n = std::fread(buffer, 1, piece, f);
            done = n < static_cast<size_t>(piece);
            if (XML_ParseBuffer(parser, static_cast<int>(n), done) != XML_STATUS_OK) {
                ok = false;
                break;
            }
        }
        if (f != nullptr) std::fclose(f);
        XML_ParserFree(parser);
        benchmark::DoNotOptimize(counts);
    }
    Report(state, doc, counts, ok);
}

void FilePugixml(benchmark::State& state, const std::string& key) {
    const Document& doc = Documents()[key];
    pugi::xml_document tree;
    bool ok = true;
    for (auto _ : state) {
        ok = tree.load_file(doc.Path.c_str()) && ok;
        benchmark::DoNotOptimize(tree.first_child());
    }
    Report(state, doc, PugixmlCounts(tree), ok);
}

void FileLibXml2(benchmark::State& state, const std::string& key) {
    const Document& doc = Documents()[key];
    xmlSAXHandler sax = SaxHandler();
    Counts counts;
    bool ok = true;
    for (auto _ : state) {
        counts = Counts();
        ok = xmlSAXUserParseFile(&sax, &counts, doc.Path.c_str()) == 0 && ok;
        benchmark::DoNotOptimize(counts);
    }
    Report(state, doc, counts, ok);
}

// Prints the usual table and keeps each run's throughput for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}
    std::map<std::string, double> BytesPerSecond;
    std::map<std::string, double> Events;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            auto bytes = run.counters.find("bytes_per_second");
            if (bytes != run.counters.end()) BytesPerSecond[run.run_name.str()] = bytes->second;
            auto events = run.counters.find("events");
            if (events != run.counters.end()) Events[run.run_name.str()] = events->second;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv) {
    std::string folder =
        (std::filesystem::temp_directory_path() / "kronalt-xml-bench-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) return 1;
    zam::platform::SetProgramPathOverride(folder + "/kronalt");
    xmlInitParser();

    Document real;
    if (FindRealDocument(real)) {
        Documents()["real"] = real;
    } else {
        std::printf("No large real XML file found (install libgtk-3-dev): only the generated one\n");
    }
    Document generated{"generated", folder + "/generated.xml", GeneratedText()};
    std::ofstream(generated.Path, std::ios::binary) << generated.Text;
    Documents()["generated"] = generated;
    Document attributes{"attributes", folder + "/attributes.xml", AttributeHeavyText()};
    std::ofstream(attributes.Path, std::ios::binary) << attributes.Text;
    Documents()["attributes"] = attributes;
    const char* const paths[] = {"bytes", "sse2", "avx2"};
    std::printf("Scan paths: %s is this processor's widest\n",
                paths[static_cast<int>(zam::platform::DetectedVectorLevel())]);

    for (const auto& [key, doc] : Documents()) {
        const std::string k = key;
        benchmark::RegisterBenchmark(("Scan/CXML/" + k).c_str(), [k](benchmark::State& s) { ScanCXML(s, k); });
        for (int level = 0; level < static_cast<int>(zam::platform::DetectedVectorLevel()); ++level) {
            const auto path = static_cast<zam::platform::VectorLevel>(level);
            benchmark::RegisterBenchmark(("Scan/CXML-" + std::string(paths[level]) + "/" + k).c_str(),
                                         [k, path](benchmark::State& s) { ScanCXMLOn(s, k, path); });
        }
        benchmark::RegisterBenchmark(("Scan/expat/" + k).c_str(), [k](benchmark::State& s) { ScanExpat(s, k); });
        benchmark::RegisterBenchmark(("Scan/libxml2/" + k).c_str(), [k](benchmark::State& s) { ScanLibXml2(s, k); });
        benchmark::RegisterBenchmark(("Scan/pugixml/" + k).c_str(), [k](benchmark::State& s) { ScanPugixml(s, k); });
        benchmark::RegisterBenchmark(("File/CXML/" + k).c_str(), [k](benchmark::State& s) { FileCXML(s, k); });
        benchmark::RegisterBenchmark(("File/expat/" + k).c_str(), [k](benchmark::State& s) { FileExpat(s, k); });
        benchmark::RegisterBenchmark(("File/libxml2/" + k).c_str(), [k](benchmark::State& s) { FileLibXml2(s, k); });
        benchmark::RegisterBenchmark(("File/pugixml/" + k).c_str(), [k](benchmark::State& s) { FilePugixml(s, k); });
        benchmark::RegisterBenchmark(("Read/only/" + k).c_str(), [k](benchmark::State& s) { ReadOnly(s, k); });
    }

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    for (const auto& [key, doc] : Documents()) {
        std::printf("%s (%s, %.1f MB):\n", key.c_str(), doc.Label.c_str(), doc.Text.size() / 1e6);
        for (const char* mode : {"Scan", "File"}) {
            const std::string base = std::string(mode) + "/";
            const double ours = reporter.BytesPerSecond[base + "CXML/" + key];
            const double expat = reporter.BytesPerSecond[base + "expat/" + key];
            const double libxml2 = reporter.BytesPerSecond[base + "libxml2/" + key];
            const double pugixml = reporter.BytesPerSecond[base + "pugixml/" + key];
            if (ours <= 0 || expat <= 0 || libxml2 <= 0 || pugixml <= 0) continue;
            std::printf("  %-4s CXML %7.1f MB/s, expat %7.1f MB/s, libxml2 %7.1f MB/s, pugixml %7.1f MB/s: "
                        "%.2fx expat (target >= 2x), %.2fx libxml2, %.2fx pugixml (target >= 1x)\n",
                        std::strcmp(mode, "Scan") == 0 ? "scan" : "file", ours / 1e6, expat / 1e6,
                        libxml2 / 1e6, pugixml / 1e6, ours / expat, ours / libxml2, ours / pugixml);
        }
        const double scan = reporter.BytesPerSecond["Scan/CXML/" + key];
        const double pugiScan = reporter.BytesPerSecond["Scan/pugixml/" + key];
        if (scan > 0 && pugiScan > 0) {
            std::printf("  scan time against pugixml's in-place parse: %.2fx (aim <= 0.90x)", pugiScan / scan);
            for (const char* narrower : {"bytes", "sse2"}) {
                const double other = reporter.BytesPerSecond["Scan/CXML-" + std::string(narrower) + "/" + key];
                if (other > 0) std::printf("; on %s %.2fx", narrower, pugiScan / other);
            }
            std::printf("\n");
        }
        const double read = reporter.BytesPerSecond["Read/only/" + key];
        if (read > 0) {
            std::printf("  read alone %7.1f MB/s: %.2f ms of the file figure\n", read / 1e6,
                        doc.Text.size() / read * 1e3);
        }
        const double ourEvents = reporter.Events["Scan/CXML/" + key];
        const double expatEvents = reporter.Events["Scan/expat/" + key];
        if (ourEvents != expatEvents) {
            std::printf("  note: %.0f tags and attributes here, %.0f in expat\n", ourEvents, expatEvents);
        }
    }
    benchmark::Shutdown();
    xmlCleanupParser();
    std::filesystem::remove_all(folder);
    return 0;
}
