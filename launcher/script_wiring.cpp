#include "launcher/script_wiring.h"

#include "content/content_state.h"
#include "content/script_customizing.h"
#include "content/script_slots.h"

namespace kv::content {

void wireScriptHooks(ContentState& s) {
    s.hooks.loadAiCustomizing = [&s](AiRecord& record, const ContentEnv& env) {
        return loadAiCustomizing(record, s.scripts.namedTexts, env);
    };
    s.hooks.loadRulesCustomizing = [&s](RulesRecord& record, const ContentEnv& env) {
        return loadRulesCustomizing(record, s.scripts.namedTexts, env);
    };
    s.hooks.buildProcessedScripts = [&s](const ContentEnv& env) { buildProcessedScripts(s, env); };
}

} // namespace kv::content
