#pragma once
// A launcher folder, a loopback update server and a session wired to a scripted user:
// what every update test starts from.
#include "common/paths.h"
#include "content/content_state.h"
#include "tests/support/http_test_server.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"
#include "update/update_session.h"

#include <memory>
#include <string>
#include <vector>

namespace kv::test {

void ensureCoreApplication();

// A first member that makes the application before any socket or server is made.
struct CoreApplicationFirst {
    CoreApplicationFirst() { ensureCoreApplication(); }
};

// "Config.ini" text from a short form: "[NAME]" is a header, "{" and "}" open and close,
// ";" ends a key line, and "Key=value" becomes `Key = "value"`.
std::string configText(const std::string& compact);

struct UpdateWorld {
    UpdateWorld();

    CoreApplicationFirst app;
    TempFolder temp;
    Paths paths;
    ScriptedUi ui;
    content::ContentState content;
    HttpTestServer server;
    std::vector<std::string> captions;
    std::vector<std::string> opened;  // by the shell
    std::vector<std::string> started; // program + " " + parameters
    int windowShown = 0;
    int quits = 0;
    std::unique_ptr<update::UpdateSession> session;

    // Serves "Config.ini" at the session's home address.
    void publish(const std::string& config) { server.serve("/starter/Config.ini", config); }
    // A launcher 2.2 at "/KVStarter.exe", with or without the renamer at "/Renamer".
    void publishLauncher(bool withRenamer) {
        publish(configText("[KVS]{Version=2.2;URL=" + url("/KVStarter.exe") +
                           (withRenamer ? ";[RENAMER]{SloURL=" + url("/Renamer") + "}}" : "}")));
    }
    std::string url(const std::string& path) const { return server.url(path); }
    std::string launcherFile(const std::string& rel) const { return temp / ("kvs/" + rel); }
    // An AI the catalogue knows, with its file of `bytes` bytes.
    void installedAi(const std::string& name, size_t bytes, double descriptionSize = 0);
};

} // namespace kv::test
