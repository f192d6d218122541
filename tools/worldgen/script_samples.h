#pragma once
// Scripts with customizable fields: the demo's AI and rules set, and large generated
// scripts for benchmarks and fuzz seeds.
#include <cstddef>
#include <string>
#include <vector>

namespace kv::worldgen {

// An AI script with an assignment field ("delay", help text by name), a parameter field
// ("aggr", second argument) and a template field ("arty", yes/no).
std::vector<std::string> customizableAiScriptLines(const std::string& aiName);
// A rules script with a parameter field on the first argument ("power") and an
// assignment field ("research", true/false template).
std::string customizableRulesText();

// About `bytes` bytes of script with `fields` assignment and parameter fields spread
// evenly through it; field k has the ID "f<k>" and three values "v<k>a", "v<k>b", "v<k>c"
// described as "A", "B" and "C".
std::string largeCustomizableScript(size_t fields, size_t bytes);

} // namespace kv::worldgen
