// Saves a launcher's settings file over and over until it is killed, each time with
// another nickname whose two ends carry the round number, so that a reader can tell a
// whole file from a torn one. "settings_save_loop LAUNCHER_FOLDER ROUNDS" (0: for ever).
#include "content/message_recorder.h"
#include "launcher/launcher.h"
#include "launcher/settings_file.h"
#include "platform/files.h"
#include "platform/registry.h"

#include <cstdlib>
#include <string>

int main(int argc, char* argv[]) {
    if (argc != 3)
        return 2;
    const std::string root = argv[1];
    const long rounds = std::atol(argv[2]);
    kv::content::MessageRecorder ui; // the test reads the file, not the messages
    auto registry = kv::platform::makeRegistryBackend(root + "registry.reg");
    kv::Launcher launcher(root, ui, *registry, {});
    if (!kv::platform::createFolderTree(launcher.paths.settingsFolder))
        return 1;
    for (long round = 1; rounds == 0 || round <= rounds; ++round) {
        const std::string mark = std::to_string(round);
        launcher.nick =
            mark + ":" + std::string(2000 + std::size_t(round % 5) * 3000, 'a') + ":" + mark;
        kv::SaveDefaultValues(launcher);
    }
    return 0;
}
