#include "content/player_selection.h"

#include "content/text_util.h"
#include "platform/files.h"
#include "platform/text.h"

namespace kv::content {

namespace {

bool carriesArchives(const ContentEnv& env, const std::string& name) {
    for (const auto& e : platform::listDirectory(env.paths.aiFolder + name, "*kdg"))
        if (!e.isFolder)
            return true;
    return false;
}

std::string label(const std::string& name, int player) {
    return "'" + name + "' (Player " + std::to_string(player) + ")";
}

void selectOrReport(ContentState& state, const ContentEnv& env, int player,
                    const std::string& name) {
    if (!state.choices.selectAI(player, name))
        env.ui.message("'" + name + "' AI was not found!", Icon::Information);
}

void selectRulesOrReport(ContentState& state, const ContentEnv& env, const std::string& name,
                         const char* notFound) {
    if (!state.choices.selectRules(name))
        env.ui.message("'" + name + notFound, Icon::Information);
}

void rememberAll(ContentState& state) {
    for (int i = 0; i < kPlayerCount; ++i)
        state.choices.remembered[size_t(i)] = state.choices.choice(i);
    state.choices.rememberedRules = state.choices.rulesChoice();
}

} // namespace

CompatibleResult Compatible(const ContentState& state, const ContentEnv& env, int /*player*/) {
    std::string firstName;
    int firstPlayer = -1;
    for (int j = 0; j < kPlayerCount; ++j) {
        const std::string name = state.choices.choice(j);
        if (!PlayerChoices::isRealChoice(name) || !carriesArchives(env, name))
            continue;
        if (firstPlayer < 0) {
            firstName = name;
            firstPlayer = j;
        } else if (name != firstName) {
            // The first KDG-carrying AI is named, even when it is the player's own.
            return {false, label(firstName, firstPlayer)};
        }
    }
    return {};
}

bool choosePlayerAI(ContentState& state, const ContentEnv& env, int player, int index) {
    PlayerChoices& c = state.choices;
    if (c.filling || player < 0 || player >= kPlayerCount)
        return false;
    ChoiceList& list = c.players[size_t(player)];
    if (index < 0 || size_t(index) >= list.items.size())
        return false;
    list.selected = index;
    const std::string choice = list.text();
    std::string& remembered = c.remembered[size_t(player)];
    if (choice != kRandom && choice != kDontChange && choice != remembered) {
        const CompatibleResult r = Compatible(state, env, player);
        if (!r.compatible &&
            env.ui.message(label(choice, player) + " is incompatible with " + r.other +
                               " .\r\nWould you like to enable it anyway?",
                           Icon::Exclamation, Buttons::YesNo) != Answer::Yes) {
            list.select(remembered);
            return false;
        }
    }
    remembered = choice;
    c.applyEnabled = true;
    return true;
}

void chooseRules(ContentState& state, int index) {
    PlayerChoices& c = state.choices;
    if (c.filling || index < 0 || size_t(index) >= c.rules.items.size())
        return;
    c.rules.selected = index;
    c.rememberedRules = c.rules.text();
    c.applyEnabled = true;
}

void loadAI(ContentState& state, const ContentEnv& env, const std::string& settingsFile) {
    std::vector<std::string> lines;
    if (!platform::readTextLines(settingsFile, lines))
        return;
    for (const auto& raw : lines) {
        const size_t eq = raw.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string key = trimBlanks(raw.substr(0, eq));
        const std::string rest = raw.substr(eq + 1);
        const std::string value = trimBlanks(rest.substr(0, rest.find('=')));
        if (value.empty())
            continue;
        if (key.size() == 3 && startsWithNoCase(key, "AI") && key[2] >= '0' && key[2] <= '7')
            selectOrReport(state, env, key[2] - '0', value);
        else if (equalsNoCase(key, "RulesFile"))
            selectRulesOrReport(state, env, value, "' rules file was not found.");
    }
    rememberAll(state);
}

void loadAI2(ContentState& state, const ContentEnv& env, const std::string& settingsFile) {
    std::vector<std::string> lines;
    if (!platform::readTextLines(settingsFile, lines))
        return;
    size_t i = 0;
    while (i < lines.size() && !equalsNoCase(trimBlanks(lines[i]), "ai:"))
        ++i;
    if (i == lines.size())
        return;
    ++i;
    for (int player = 0; player < kPlayerCount; ++player, ++i) {
        const std::string name = i < lines.size() ? trimBlanks(lines[i]) : std::string();
        if (name.empty() || name == kDontChange)
            state.choices.players[size_t(player)].selected = 0;
        else
            selectOrReport(state, env, player, name);
    }
    if (i < lines.size() && !trimBlanks(lines[i]).empty())
        selectRulesOrReport(state, env, trimBlanks(lines[i]), "' rules file was not found.");
    rememberAll(state);
}

void reselectRemembered(ContentState& state, const ContentEnv& env) {
    PlayerChoices& c = state.choices;
    for (int i = 0; i < kPlayerCount; ++i) {
        const std::string name = c.remembered[size_t(i)];
        if (name == kDontChange || name.empty())
            c.players[size_t(i)].selected = 0;
        else
            selectOrReport(state, env, i, name);
    }
    if (c.rememberedRules == kDontChange || c.rememberedRules.empty())
        c.rules.selected = 0;
    else
        selectRulesOrReport(state, env, c.rememberedRules, "' Rules was not found!");
}

void showAiOverwriteWarning(int& warnedFlag, Ui& ui) {
    if (warnedFlag != 0)
        return;
    ui.message("After you press 'Start Korvane' button, all files in 'skirmish' directory will be "
               "overwritten!",
               Icon::Exclamation);
    warnedFlag = -1;
}

} // namespace kv::content
