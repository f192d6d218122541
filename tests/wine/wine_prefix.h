#pragma once
// A throw-away copy of the run's Wine prefix template (wine-prefix.sh) for one test or
// benchmark, named by WINEPREFIX for every Wine program this process starts; copied to
// `at`, it is left to the launcher to find. Gone, with its wineserver, with the object.
#include <string>

namespace kv::test {

class WinePrefix {
public:
    WinePrefix(const std::string& script, const std::string& templatePath,
               const std::string& at = {});
    ~WinePrefix();
    WinePrefix(const WinePrefix&) = delete;

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
