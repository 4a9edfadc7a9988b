// Reading a configuration definition: CCfgDoc::LoadSysDef (file read, scan
// and its own node tree, the checks of the definition) against libxml2
// building its tree from the same bytes in memory.

#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "Core/Config/CCfgDoc.h"

namespace {

const int kParameters = 2000;

std::string Definition() {
    std::string xml = "<?xml version=\"1.0\"?>\n<Bench>\n<SysDef><Title>Bench</Title><AppName>Bench</AppName></SysDef>\n"
                      "<CfgDef SectionName=\"SYS\" Intro=\"Generated\" TreeWidth=\"30\" Size=\"60,70\">\n";
    const char* const types[] = {"Int", "Float/3", "Text/30", "Bool", "ParInt", "Color"};
    for (int g = 0; g < kParameters / 50; ++g) {
        xml += "<Group Name=\"Group " + std::to_string(g) + "\" Open=\"" + std::to_string(g % 2) + "\">\n";
        for (int p = 0; p < 50; ++p) {
            const int n = g * 50 + p;
            xml += "<Par Name=\"Param" + std::to_string(n) + "\" Type=\"" + types[n % 6] + "\" Dflt=\"" +
                   std::to_string(n) + "\">The description of parameter " + std::to_string(n) +
                   ", long enough to be wrapped once it is shown: a sentence or two of help.\n{Line}\n"
                   "A second line with an example value.</Par>\n";
        }
        xml += "</Group>\n";
    }
    return xml + "</CfgDef>\n</Bench>\n";
}

struct DefinitionFile {
    DefinitionFile() : Bytes(Definition()) {
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

}  // namespace
