#pragma once
// What a command file, a KDG description or a selection works against: the automation's
// own state, the content it selects from and installs into, and the few things it asks
// of the launcher around it. Built by the caller for each call, like content's ContentEnv.
#include "automation/automation_state.h"
#include "content/content_env.h"
#include "content/content_state.h"

namespace kv::automation {

// The launcher's side: the option set that mirrors the lists, the toolbar options that
// requirements read and switch, and the window.
class AutomationHost {
public:
    virtual ~AutomationHost() = default;
    // The lists changed: the option set keeps their texts for the settings file.
    virtual void choicesChanged() = 0;
    // The state changed: the window shows it again.
    virtual void refresh() = 0;
    virtual bool alliancesOn() const = 0;
    virtual int baseState() const = 0; // 1 "No Bases", 2 "Bases", 3 "Advanced Bases"
    virtual void setAlliances(bool on) = 0;
    virtual void chooseBaseState(int state) = 0;
};

struct AutomationEnv {
    AutomationState& automation;
    content::ContentState& content;
    content::ContentEnv contentEnv; // the launcher's folders, the game folder, the user
    AutomationHost& host;
    Ui& ui() const { return contentEnv.ui; }
};

} // namespace kv::automation
