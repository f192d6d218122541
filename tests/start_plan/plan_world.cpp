#include "tests/start_plan/plan_world.h"

#include "content/text_util.h"
#include "platform/files.h"

#include <algorithm>
#include <filesystem>

namespace kv::test {

namespace {

std::string keyOf(std::string base, std::string path) {
    std::replace(base.begin(), base.end(), '\\', '/');
    std::replace(path.begin(), path.end(), '\\', '/');
    if (path.rfind(base, 0) == 0)
        path.erase(0, base.size());
    return content::toLower(path);
}

} // namespace

FolderSnapshot snapshot(const std::string& folder) {
    FolderSnapshot out;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder)) {
        if (!e.is_regular_file())
            continue;
        std::string bytes;
        platform::readFile(e.path().string(), bytes);
        out[keyOf(folder, e.path().string())] = bytes;
    }
    return out;
}

FolderSnapshot applyFileSteps(const content::StartPlan& plan, const std::string& folder,
                              FolderSnapshot files) {
    using content::StepKind;
    for (const content::PlanStep* s : plan.fileSteps()) {
        const std::string target = keyOf(folder, s->target);
        switch (s->kind) {
        case StepKind::Delete:
            files.erase(target);
            break;
        case StepKind::Write:
            if (!s->unchanged)
                files[target] = s->bytes;
            break;
        case StepKind::Copy: {
            std::string bytes;
            platform::readFile(s->source, bytes);
            files[target] = bytes;
            break;
        }
        case StepKind::Rename: {
            const std::string source = keyOf(folder, s->source);
            files[target] = files[source];
            files.erase(source);
            break;
        }
        default:
            break;
        }
    }
    return files;
}

std::vector<std::string> plannedMessageTexts(const content::StartPlan& plan) {
    std::vector<std::string> out;
    for (const content::PlanStep& s : plan.steps) {
        if (s.kind == content::StepKind::Stop)
            break;
        if (s.kind == content::StepKind::Message || s.kind == content::StepKind::Requirements)
            for (const auto& m : s.messages)
                out.push_back(m.text);
    }
    return out;
}

std::vector<const content::PlanStep*> stepsOf(const content::StartPlan& plan,
                                              content::StepKind kind) {
    std::vector<const content::PlanStep*> out;
    for (const content::PlanStep& s : plan.steps)
        if (s.kind == kind)
            out.push_back(&s);
    return out;
}

std::vector<std::string> differences(const FolderSnapshot& a, const FolderSnapshot& b) {
    std::vector<std::string> out;
    for (const auto& [path, bytes] : a) {
        const auto it = b.find(path);
        if (it == b.end() || it->second != bytes)
            out.push_back(path);
    }
    for (const auto& [path, bytes] : b)
        if (!a.count(path))
            out.push_back(path);
    return out;
}

} // namespace kv::test
