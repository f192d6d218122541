#include "tools/worldgen/script_samples.h"

#include "platform/text.h"
#include "tools/worldgen/content_files.h"

namespace kv::worldgen {

std::vector<std::string> customizableAiScriptLines(const std::string& aiName) {
    std::vector<std::string> lines = sampleScriptLines(aiName, 24);
    const std::vector<std::string> marked = {
        "/*%?AttackHelp = \"How long the AI builds up before its first attack.\\nShorter "
        "waits make a harder opponent.\"*/",
        "attackDelay = 300; /*%!ID=\"delay\",type=\"asn\",MainDesc=\"First attack after\",",
        // Items continue on tab-indented lines: blanks would become part of the keys.
        "\tMoreInfo=\"<AttackHelp>\",// shown by the info button",
        "\tval=\"120\",ArgDesc=\"2 minutes\",val=\"300\",ArgDesc=\"5 minutes\",",
        "\tval=\"600\",ArgDesc=\"10 minutes\"*/",
        "setAggression(player, 50); /*%!ID=\"aggr\",type=\"prm\",prm_id=\"1\",MainDesc="
        "\"Aggression\",val=\"20\",ArgDesc=\"Careful\",val=\"50\",ArgDesc=\"Normal\",val=\"90\","
        "ArgDesc=\"Reckless\"*/",
        "buildArtillery = TRUE; /*%!ID=\"arty\",type=\"asn\",MainDesc=\"Build artillery\","
        "tmpl=\"yesno\",MoreInfo=\"Artillery is slow but breaks walls.\"*/",
    };
    lines.insert(lines.begin() + 1, marked.begin(), marked.end());
    return lines;
}

std::string customizableRulesText() {
    return "// rules with customizable start values\r\n"
           "setPower(3500, 1); /*%!ID=\"power\",type=\"prm\",MainDesc=\"Starting power\","
           "val=\"1500\",ArgDesc=\"Low\",val=\"3500\",ArgDesc=\"Normal\",val=\"8000\","
           "ArgDesc=\"High\"*/\r\n"
           "fastResearch = FALSE; /*%!ID=\"research\",type=\"asn\",MainDesc=\"Fast research\","
           "tmpl=\"bool\"*/\r\n";
}

std::string largeCustomizableScript(size_t fields, size_t bytes) {
    std::string out;
    out.reserve(bytes + 256);
    const size_t stride = fields ? bytes / fields : bytes;
    size_t line = 0;
    for (size_t k = 0; k < fields || out.size() < bytes; ++k) {
        const size_t blockEnd = out.size() + stride;
        while (out.size() + 48 < blockEnd || (k >= fields && out.size() < bytes))
            out += "    wait(" + std::to_string(10 + line++ % 90) + "); // filler line\r\n";
        if (k >= fields)
            break;
        const std::string n = std::to_string(k);
        const std::string values = "val=\"v" + n + "a\",ArgDesc=\"A\",val=\"v" + n +
                                   "b\",ArgDesc=\"B\",val=\"v" + n + "c\",ArgDesc=\"C\"*/\r\n";
        if (k % 2 == 0)
            out += "value" + n + " = 0; /*%!ID=\"f" + n + "\",type=\"asn\",MainDesc=\"Field " + n +
                   "\"," + values;
        else
            out += "call" + n + "(1, 2, 3); /*%!ID=\"f" + n +
                   "\",type=\"prm\",prm_id=\"1\",MainDesc=\"Field " + n + "\"," + values;
    }
    return out;
}

} // namespace kv::worldgen
