#pragma once
// A configuration editor definition of many parameters, in groups of fifty,
// every type keyword in turn, each with a description long enough to wrap:
// the same document for the benchmarks that read it and those that show it.

#include <string>

/// The definition's text: cfgDefAttributes stand in the CfgDef element;
/// with alternateOpen every other group is shown closed.
inline std::string GeneratedDefinition(int parameters, const std::string& cfgDefAttributes,
                                       bool alternateOpen) {
    std::string xml = "<?xml version=\"1.0\"?>\n<Bench>\n<SysDef><Title>Bench</Title><AppName>Bench</AppName></SysDef>\n"
                      "<CfgDef " + cfgDefAttributes + ">\n";
    const char* const types[] = {"Int", "Float/3", "Text/30", "Bool", "ParInt", "Color"};
    for (int g = 0; g < parameters / 50; ++g) {
        xml += "<Group Name=\"Group " + std::to_string(g) + "\"";
        if (alternateOpen) xml += " Open=\"" + std::to_string(g % 2) + "\"";
        xml += ">\n";
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
