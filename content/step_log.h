#pragma once
// The "Debug.dat"/"Debug2.dat" step logs of the MOD list: deleted at the start of each
// operation and, under the launcher's "debug" switch, rewritten with its steps.
#include "content/content_env.h"

#include <string>
#include <vector>

namespace kv::content {

class StepLog {
public:
    // `fileName` in the launcher folder; written under the environment's debug switch.
    StepLog(const ContentEnv& env, std::string_view fileName);
    ~StepLog();
    StepLog(const StepLog&) = delete;
    StepLog& operator=(const StepLog&) = delete;

    void line(std::string text);
    void close();

private:
    std::string path_;
    bool enabled_;
    bool closed_ = false;
    std::vector<std::string> lines_;
};

} // namespace kv::content
