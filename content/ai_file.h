#pragma once
// The AI file (".kvai"): a format number, the name it was made under, the line count N of
// the script part, the N script lines and an empty line, then the body of the variable
// file. Readers here never read past the end: a broken file is an error.
#include <string>
#include <string_view>
#include <vector>

namespace kv::content {

struct AiFileParts {
    std::vector<std::string> scriptLines; // the N script lines and the empty line after them
    std::vector<std::string> bodyLines;   // everything after
};

struct AiFileError {
    int number = 0; // the run-time error number the common error box shows
    std::string description;
};

// False (with `error` set) when line 3 is no line count or the file ends before the
// script part does.
bool parseAiFile(std::string_view bytes, AiFileParts& out, AiFileError& error);

// The player's installed script pair, CR LF line ends.
std::string playerSloText(const AiFileParts& ai);
std::string playerVloText(const AiFileParts& ai, int player);

// A new AI file from a script file's lines and the body of its variable file.
std::string buildAiFile(std::string_view name, const std::vector<std::string>& scriptLines,
                        std::string_view body);

} // namespace kv::content
