#include "platform/shell.h"

namespace kv::platform {

// The rules the Windows C runtime applies to a program's parameter text, so that a game
// started here receives the same arguments it would receive on Windows.
std::vector<std::string> splitCommandLine(std::string_view parameters) {
    std::vector<std::string> args;
    size_t i = 0;
    const size_t n = parameters.size();
    while (true) {
        while (i < n && (parameters[i] == ' ' || parameters[i] == '\t'))
            ++i;
        if (i >= n)
            break;
        std::string arg;
        bool quoted = false;
        while (i < n) {
            const char c = parameters[i];
            if (!quoted && (c == ' ' || c == '\t'))
                break;
            if (c == '\\') {
                size_t slashes = 0;
                while (i < n && parameters[i] == '\\') {
                    ++slashes;
                    ++i;
                }
                if (i < n && parameters[i] == '"') {
                    // 2n backslashes and a quote: n backslashes, the quote delimits;
                    // 2n + 1: n backslashes and a literal quote.
                    arg.append(slashes / 2, '\\');
                    if (slashes % 2 == 1) {
                        arg += '"';
                        ++i;
                    }
                } else {
                    arg.append(slashes, '\\');
                }
                continue;
            }
            if (c == '"') {
                if (quoted && i + 1 < n && parameters[i + 1] == '"') {
                    arg += '"'; // "" inside quotes is a literal quote
                    i += 2;
                    continue;
                }
                quoted = !quoted;
                ++i;
                continue;
            }
            arg += c;
            ++i;
        }
        args.push_back(std::move(arg));
    }
    return args;
}

} // namespace kv::platform
