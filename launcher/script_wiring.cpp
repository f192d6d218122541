#include "launcher/script_wiring.h"

#include "content/content_state.h"
#include "content/script_customizing.h"
#include "content/script_slots.h"

namespace kv {

using content::AiRecord;
using content::ContentEnv;
using content::RulesRecord;

void wireScriptHooks(content::ContentState& s) {
    s.hooks.loadAiCustomizing = [&s](AiRecord& record, const ContentEnv& env) {
        return content::loadAiCustomizing(record, s.scripts.namedTexts, env);
    };
    s.hooks.loadRulesCustomizing = [&s](RulesRecord& record, const ContentEnv& env) {
        return content::loadRulesCustomizing(record, s.scripts.namedTexts, env);
    };
    s.hooks.buildProcessedScripts = [&s](const ContentEnv& env) { content::buildProcessedScripts(s, env); };
}

} // namespace kv
