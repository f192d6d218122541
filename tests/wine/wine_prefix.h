#pragma once
// A throw-away Wine prefix for one test or benchmark: a copy of the run's template
// prefix (made once with "wineboot -i" by wine-prefix.sh), with WINEPREFIX and the quiet,
// deterministic Wine settings in this process's environment, so every Wine program this
// process starts uses it. Gone, with its wineserver, when the object goes.
#include <string>

namespace kv::test {

class WinePrefix {
public:
    WinePrefix(const std::string& script, const std::string& templatePath);
    ~WinePrefix();
    WinePrefix(const WinePrefix&) = delete;
    WinePrefix& operator=(const WinePrefix&) = delete;

    bool ready() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::string error_;
};

// Whether this machine can run Windows programs: "wine" on the search path.
bool wineInstalled();

} // namespace kv::test
