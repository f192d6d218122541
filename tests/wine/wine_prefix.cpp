#include "tests/wine/wine_prefix.h"

#include "platform/shell.h"

#include <cstdlib>
#include <unistd.h>

namespace kv::test {

namespace {

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

bool run(const std::string& command) {
    const int rc = std::system(command.c_str());
    return rc != -1 && WEXITSTATUS(rc) == 0;
}

} // namespace

bool wineInstalled() {
    return platform::programOnPath("wine");
}

WinePrefix::WinePrefix(const std::string& script, const std::string& templatePath,
                       const std::string& at) {
    ::setenv("WINEDEBUG", "-all", 1);
    ::setenv("LANG", "C.UTF-8", 1);
    ::setenv("WINEDLLOVERRIDES", "winemenubuilder.exe=d;mscoree,mshtml=", 1);
    const char* tmp = std::getenv("TMPDIR");
    std::string folder =
        at.empty() ? std::string(tmp && *tmp ? tmp : "/tmp") + "/kv-wine-XXXXXX" : at;
    if (!run(quoted(script) + " prepare " + quoted(templatePath)))
        error_ = "the Wine prefix template could not be made";
    else if (at.empty() && !::mkdtemp(folder.data()))
        error_ = "no temporary folder";
    else if (path_ = folder;
             !run(quoted(script) + " copy " + quoted(templatePath) + " " + quoted(path_)))
        error_ = "the Wine prefix template could not be copied";
    else if (at.empty())
        ::setenv("WINEPREFIX", path_.c_str(), 1);
    else
        ::unsetenv("WINEPREFIX");
}

WinePrefix::~WinePrefix() {
    if (path_.empty())
        return;
    // Ends every Wine process of this prefix, so nothing outlives the test.
    run("WINEPREFIX=" + quoted(path_) + " wineserver -k 2>/dev/null");
    run("rm -rf " + quoted(path_));
    ::unsetenv("WINEPREFIX");
}

} // namespace kv::test
