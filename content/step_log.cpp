#include "content/step_log.h"

#include "platform/files.h"
#include "platform/text.h"

namespace kv::content {

StepLog::StepLog(std::string path, bool enabled) : path_(std::move(path)), enabled_(enabled) {
    if (platform::fileExists(path_)) {
        platform::clearAttributes(path_);
        platform::deleteFile(path_);
    }
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
