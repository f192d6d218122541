#pragma once
// A throw-away Wine prefix for one test or benchmark: a copy of the run's template
// prefix (made once with "wineboot -i" by wine-prefix.sh), with WINEPREFIX and the quiet,
// deterministic Wine settings in this process's environment, so every Wine program this
// process starts uses it. Copied to a folder `at` instead, it is left to the launcher to
// find: WINEPREFIX is then unset. Gone, with its wineserver, when the object goes.
#include <string>

namespace kv::test {

class WinePrefix {
public:
    WinePrefix(const std::string& script, const std::string& templatePath,
               const std::string& at = {});
    ~WinePrefix();
    WinePrefix(const WinePrefix&) = delete;
    WinePrefix& operator=(const WinePrefix&) = delete;

    bool ready() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    const std::string& path() const { return path_; }
    // Waits until Wine has written the prefix's registry files and stopped.
    void settle() const;

private:
    std::string path_;
    std::string error_;
};

// Whether this machine can run Windows programs: "wine" on the search path.
bool wineInstalled();

} // namespace kv::test
