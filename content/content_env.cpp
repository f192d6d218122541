#include "content/content_env.h"

#include "platform/files.h"

namespace kv::content {

std::string skirmishFolder(const ContentEnv& env) {
    return joinPath(env.gameFolder, "multiplay\\skirmish") + platform::nativeSeparator();
}

} // namespace kv::content
