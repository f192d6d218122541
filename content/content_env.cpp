#include "content/content_env.h"

#include "platform/files.h"

namespace kv::content {

FileGate fileGate(const ContentEnv& env) {
    return FileGate(env.paths, env.gameFolder, env.ui);
}

std::string skirmishFolder(const ContentEnv& env) {
    return joinPath(env.gameFolder, "multiplay\\skirmish") + platform::nativeSeparator();
}

} // namespace kv::content
