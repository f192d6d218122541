#include "content/ai_file.h"

#include "content/text_util.h"
#include "platform/text.h"

#include <cmath>

namespace kv::content {

bool parseAiFile(std::string_view bytes, AiFileParts& out, AiFileError& error) {
    out = {};
    std::vector<std::string> lines = platform::splitLines(bytes);
    if (lines.size() < 3) {
        error = {62, "Input past end of file"};
        return false;
    }
    // The count may carry blanks around it; anything else is not a line count.
    const std::string countText = trimBlanksTabs(lines[2]);
    const auto count = numericValue(countText);
    if (!count || *count < 0 || *count != std::floor(*count)) {
        error = {13, "Type mismatch (line 3 is no line count: '" + countText.substr(0, 40) + "')"};
        return false;
    }
    const double needed = *count + 1;
    if (needed > double(lines.size() - 3)) {
        error = {62, "Input past end of file"};
        return false;
    }
    const size_t scriptEnd = 3 + size_t(needed);
    out.scriptLines.assign(std::make_move_iterator(lines.begin() + 3),
                           std::make_move_iterator(lines.begin() + long(scriptEnd)));
    out.bodyLines.assign(std::make_move_iterator(lines.begin() + long(scriptEnd)),
                         std::make_move_iterator(lines.end()));
    return true;
}

std::string playerSloText(const AiFileParts& ai) {
    return platform::joinLinesCrLf(ai.scriptLines);
}

std::string playerVloText(const AiFileParts& ai, int player) {
    const std::string n = std::to_string(player);
    std::string out = "script \"player" + n + ".slo\"\r\nrun\r\n{\r\n";
    // 40 characters before the number, as the game's own files have it.
    out += "    player          INT                 " + n + "\r\n";
    out += platform::joinLinesCrLf(ai.bodyLines);
    return out;
}

std::string buildAiFile(std::string_view name, const std::vector<std::string>& scriptLines,
                        std::string_view body) {
    std::string out =
        "1\r\n" + std::string(name) + "\r\n" + std::to_string(scriptLines.size()) + "\r\n";
    out += platform::joinLinesCrLf(scriptLines);
    out += "\r\n";
    out += body;
    return out;
}

} // namespace kv::content
