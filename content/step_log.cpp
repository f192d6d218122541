#include "content/step_log.h"

#include "platform/files.h"
#include "platform/text.h"

namespace kv::content {

StepLog::StepLog(const ContentEnv& env, std::string_view fileName)
    : path_(env.paths.launcherFolder + std::string(fileName)), enabled_(env.debug) {
    if (platform::fileExists(path_))
        fileGate(env).remove(FileKind::Temporary, path_);
}

StepLog::~StepLog() {
    close();
}

void StepLog::line(std::string text) {
    if (enabled_ && !closed_)
        lines_.push_back(std::move(text));
}

void StepLog::close() {
    if (closed_)
        return;
    closed_ = true;
    if (enabled_)
        platform::writeTextLines(path_, lines_);
}

} // namespace kv::content
