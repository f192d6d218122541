#pragma once
// kvstool's own usage, and the manual page and bash completion the build makes from the
// help texts of every area, so that neither can drift from what `--help` says.
#include <string>

namespace kv::tool {

extern const char kToolUsage[];

// A roff manual page, section 1.
std::string manPage(const std::string& version);
// A bash completion script: areas, their subcommands and options, files elsewhere.
std::string bashCompletion();

} // namespace kv::tool
