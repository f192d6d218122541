#include "content/start_plan.h"

#include "content/ai_catalogue.h"

namespace kv::content {

const char* stepKindName(StepKind kind) {
    switch (kind) {
    case StepKind::Delete:
        return "delete";
    case StepKind::Write:
        return "write";
    case StepKind::Copy:
        return "copy";
    case StepKind::Rename:
        return "rename";
    case StepKind::Message:
        return "message";
    case StepKind::Requirements:
        return "requirements";
    case StepKind::RefreshMods:
        return "refresh";
    case StepKind::Stop:
        return "stop";
    case StepKind::Registry:
        return "registry";
    case StepKind::CommandLine:
        return "command-line";
    }
    return "?";
}

namespace {

// A message box's text on one line.
std::string oneLine(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r')
            continue;
        if (text[i] == '\n') {
            if (!out.empty() && out.back() != ' ')
                out += " / ";
            continue;
        }
        out += text[i];
    }
    return out;
}

std::string bytesText(std::uint64_t size) {
    return std::to_string(size) + (size == 1 ? " byte" : " bytes");
}

std::string withNote(std::string text, const PlanStep& s) {
    if (!s.note.empty())
        text += "  [" + s.note + "]";
    return text;
}

} // namespace

bool isShownStep(const PlanStep& step) {
    return step.kind != StepKind::RefreshMods;
}

std::string describeStep(const PlanStep& s) {
    switch (s.kind) {
    case StepKind::Delete:
        return withNote("delete " + s.target + " (" + bytesText(s.size) + ")", s);
    case StepKind::Write:
        return withNote("write " + s.target + " (" + bytesText(s.size) +
                            (s.unchanged ? ", already holds these bytes: left alone" : "") + ")" +
                            (s.source.empty() ? "" : " from " + s.source),
                        s);
    case StepKind::Copy:
    case StepKind::Rename:
        return withNote(std::string(stepKindName(s.kind)) + " " + s.source + " -> " + s.target +
                            " (" + bytesText(s.size) + ")",
                        s);
    case StepKind::Message:
        return "message: " + (s.messages.empty() ? std::string() : oneLine(s.messages[0].text));
    case StepKind::Requirements: {
        std::string text = "requirements:";
        if (s.alliances == 1)
            text += " alliances switched on;";
        if (s.baseState > 0)
            text += std::string(" base state set to ") + baseStateName(s.baseState) + ";";
        if (s.alliances < 0 && s.baseState == 0)
            text += " options stay as they are;";
        for (const PlannedMessage& m : s.messages)
            text += " says \"" + oneLine(m.text) + "\";";
        text.pop_back();
        return text;
    }
    case StepKind::RefreshMods:
        return "refresh the MOD list";
    case StepKind::Stop:
        return "stop: the install ends here and the game is not started";
    case StepKind::Registry:
        return "registry " + s.target + "\\" + s.valueName + " = " +
               (s.dword ? std::to_string(s.number) + " (REG_DWORD)"
                        : "\"" + s.bytes + "\" (REG_SZ)");
    case StepKind::CommandLine:
        return "command line: " + s.target + " [" + s.bytes + "]";
    }
    return {};
}

std::vector<const PlanStep*> StartPlan::fileSteps() const {
    std::vector<const PlanStep*> out;
    for (const PlanStep& s : steps)
        if (s.kind == StepKind::Delete || s.kind == StepKind::Write || s.kind == StepKind::Copy ||
            s.kind == StepKind::Rename)
            out.push_back(&s);
    return out;
}

bool StartPlan::stops() const {
    for (const PlanStep& s : steps)
        if (s.kind == StepKind::Stop)
            return true;
    return false;
}

} // namespace kv::content
