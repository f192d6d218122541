#pragma once
// What a start of the game does, as a value: every file deleted, written, copied or
// renamed in the game folder, the messages shown on the way, the game's registry values
// and its command line. The start makes one and carries it out; the preview only shows
// it, so the two cannot disagree.
#include "common/ui_port.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kv::content {

enum class StepKind {
    Delete,       // a file an earlier install put into the game folder
    Write,        // `bytes` replace the target; steps of one batch are written together
    Copy,         // the source file is copied over the target
    Rename,       // an inactive archive becomes active again
    Message,      // a message box shown at this point
    Requirements, // alliances and base state that the chosen content needs
    RefreshMods,  // the MOD list is read again from the game folder
    Stop,         // the install ends here without starting the game
    Registry,     // one of the game's registry values
    CommandLine,  // the game's program and its parameters
};

// "delete", "write", ... as the preview and kvstool name them.
const char* stepKindName(StepKind kind);

struct PlanStep;
// One line for a reader: what the step does, to which file or value, and why.
std::string describeStep(const PlanStep& step);
// Whether a reader is shown the step at all (the MOD list's re-reading is not).
bool isShownStep(const PlanStep& step);

// Who a file is installed for: a player 0..7 or the rules.
inline constexpr int kRulesOwner = -1;
inline constexpr int kNoOwner = -2;

struct PlannedMessage {
    std::string text;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
    std::string title;
};

struct PlanStep {
    StepKind kind = StepKind::Message;
    std::string target; // a path; the registry key; the game's program
    std::string source; // what is copied or renamed, or where written bytes come from
    std::uint64_t size = 0;
    std::string bytes;        // Write: the new contents; Registry: a text value
    bool unchanged = false;   // Write: the target already holds the bytes and is left alone
    int batch = 0;            // Write: written together with the other steps of its batch
    int owner = kNoOwner;     // Copy: listed for removal after the game under this slot
    std::string failure;      // Write: shown instead of an error box when it fails
    std::string valueName;    // Registry: the value's name
    bool dword = false;       // Registry: a number rather than a text
    std::uint32_t number = 0; // Registry: the number
    std::string note;         // for the reader: whose file it is, what "<Random>" drew
    // Message: the box; Requirements: what resolving them is expected to say.
    std::vector<PlannedMessage> messages;
    int alliances = -1; // Requirements: 1 switched on, -1 left alone
    int baseState = 0;  // Requirements: the new base state, 0 left alone
};

struct StartPlan {
    std::vector<PlanStep> steps;
    // What the player lists hold once the requirements are resolved as planned; if the
    // real resolving leaves them otherwise (a description file changed in between), the
    // rest of the install is planned again.
    std::vector<std::string> choicesSeen;
    bool randomDrawn = false; // a "<Random>" slot was drawn for this plan
    // The lists of installed files start afresh (the install's first step).
    bool clearsInstalledLists = false;

    // Steps that change a file in the game folder.
    std::vector<const PlanStep*> fileSteps() const;
    // Whether the install stops before the game is started.
    bool stops() const;
};

} // namespace kv::content
