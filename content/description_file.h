#pragma once
// AI and rules description files: author data, description and requirements, in the
// shared line syntax, with every complaint about a line the file should not hold.
#include "content/ai_catalogue.h"
#include "content/line_syntax.h"

#include <string>
#include <string_view>

namespace kv::content {

enum class DescriptionKind { Ai, Rules };

// Reads the file into `out` (reset first). `ownerName` is the AI's or rules set's name,
// used in the messages. A file that cannot be read leaves `out.loaded` false.
void readDescriptionFile(const std::string& path, std::string_view ownerName, DescriptionKind kind,
                         const FolderVars& vars, Ui& ui, Description& out);

// The description file that belongs to an AI or rules set; empty when there is none.
std::string aiDescriptionPath(const Paths& paths, const AiRecord& ai);
std::string rulesDescriptionPath(const Paths& paths, const RulesRecord& rules);

} // namespace kv::content
