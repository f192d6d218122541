#include "launcher/script_wiring.h"

#include "content/script_customizing.h"
#include "content/script_slots.h"
#include "launcher/content_wiring.h"
#include "launcher/launcher.h"

#include <functional>
#include <type_traits>

namespace kv::content {

namespace {

// Runs `hook` and then lets the slots follow the choices it may have changed.
template <typename R, typename... Args>
std::function<R(Args...)> thenSync(Launcher& l, std::function<R(Args...)> hook) {
    return [&l, hook = std::move(hook)](Args... args) -> R {
        if constexpr (std::is_void_v<R>) {
            if (hook)
                hook(args...);
            syncScriptSlots(l.content, contentEnv(l));
        } else {
            R r = hook ? hook(args...) : R{};
            syncScriptSlots(l.content, contentEnv(l));
            return r;
        }
    };
}

} // namespace

void wireScriptHooks(ContentState& s) {
    s.hooks.loadAiCustomizing = [&s](AiRecord& record, const ContentEnv& env) {
        return loadAiCustomizing(record, s.scripts.namedTexts, env);
    };
    s.hooks.loadRulesCustomizing = [&s](RulesRecord& record, const ContentEnv& env) {
        return loadRulesCustomizing(record, s.scripts.namedTexts, env);
    };
    s.hooks.buildProcessedScripts = [&s](const ContentEnv& env) { buildProcessedScripts(s, env); };
}

void wireScriptCustomizing(Launcher& l) {
    wireScriptHooks(l.content);

    LauncherHooks& h = l.hooks;
    h.fillCatalogues = thenSync(l, std::move(h.fillCatalogues));
    h.reapplySelections = thenSync(l, std::move(h.reapplySelections));
    h.selectAi = thenSync(l, std::move(h.selectAi));
    h.selectRules = thenSync(l, std::move(h.selectRules));
    h.saveScriptPreferences = [&l] { saveAllScriptPreferences(l.content, contentEnv(l)); };
    h.enableAiCustomizing = [&l](int player, bool on) {
        enableAICustomizing(l.content, contentEnv(l), player, on);
    };
    h.enableRulesCustomizing = [&l](bool on) {
        enableRulesCustomizing(l.content, contentEnv(l), on);
    };
}

} // namespace kv::content
