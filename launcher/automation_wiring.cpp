#include "launcher/automation_wiring.h"

#include "automation/requirements.h"
#include "launcher/content_wiring.h"
#include "launcher/launcher.h"
#include "launcher/options_toolbar.h"

namespace kv {

namespace {

class LauncherAutomationHost : public automation::AutomationHost {
public:
    explicit LauncherAutomationHost(Launcher& launcher) : l_(launcher) {}
    void choicesChanged() override { syncChoiceOptions(l_); }
    void refresh() override { l_.view().refresh(); }
    bool alliancesOn() const override {
        return l_.options.button(OptionButton::Alliances).tag == 1;
    }
    int baseState() const override { return l_.options.button(OptionButton::Bases).tag; }
    void setAlliances(bool on) override { kv::setAlliances(l_, on); }
    void chooseBaseState(int state) override { chooseOptionEntry(l_, OptionButton::Bases, state); }

private:
    Launcher& l_;
};

} // namespace

automation::AutomationEnv automationEnv(Launcher& l) {
    return {l.automation, l.content, contentEnv(l), l.automationHost()};
}

std::unique_ptr<automation::AutomationHost> makeAutomationHost(Launcher& l) {
    return std::make_unique<LauncherAutomationHost>(l);
}

void wireAutomation(Launcher& l) {
    l.content.hooks.resolveRequirements = [&l](const content::ContentEnv&) {
        automation::resolveLauncherRequirements(automationEnv(l));
    };
    l.content.hooks.planRequirements = [&l](const content::ContentEnv&,
                                            content::ContentState& planned) {
        return automation::foreseeLauncherRequirements(automationEnv(l), planned);
    };
}

} // namespace kv
