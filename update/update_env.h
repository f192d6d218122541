#pragma once
// What the update operations work against: the launcher's folders and catalogues, the
// user, the download window and the few actions that belong to the main window. Built by
// the caller; tests fill it with a temporary launcher folder and a scripted Ui.
#include "common/paths.h"
#include "common/progress.h"
#include "common/ui_port.h"
#include "content/content_state.h"
#include "update/http_transfer.h"

#include <functional>
#include <string>
#include <vector>

namespace kv::update {

// The download window: a progress report with a title and a line of text, shown while one
// file comes in. Its Cancel button is the stop request.
class DownloadWindow : public Progress {
public:
    virtual void begin(const std::string& /*title*/, const std::string& /*text*/) {}
    virtual void finish() {}
    void setStatus(const std::string&) override {}
    void setProgress(std::uint64_t, std::uint64_t) override {}
    bool stopRequested() override { return false; }
};

struct UpdateEnv {
    UpdateEnv(const Paths& p, Ui& u, content::ContentState& c) : paths(p), ui(u), content(c) {}

    const Paths& paths;
    Ui& ui;
    content::ContentState& content;
    std::string gameFolder;                   // for the folder variables of "Config.ini"
    DownloadWindow* downloadWindow = nullptr; // none: downloads show nothing

    // The running launcher's executable ("KVStarter.exe") and process id.
    std::string executable;
    long processId = 0;
    // False for a copy installed by a package: the package manager replaces the launcher,
    // so it is never offered here.
    bool selfUpdate = true;
    // The "UpdateServer" setting; empty for the default address.
    std::string serverSetting;
    // Ed25519 public keys (64 hexadecimal digits each) whose signature a "Config.ini" must
    // carry; none: offers are taken unsigned, as they always were.
    std::vector<std::string> publicKeys;
    // The registry store, which no update record may write (it lies outside the launcher
    // folder on POSIX, but a Windows copy or a test may keep it inside).
    std::string registryStore;
    TransferOptions transfer;

    std::function<void(const std::string&)> setCaption;
    std::function<bool(const std::string&)> openInShell;
    // After a self-patch the Renamer starts the new launcher; kvstool may ask it not to.
    bool restartAfterPatch = true;
    // Starts a program with a hidden window; false when it could not be started.
    std::function<bool(const std::string& program, const std::string& parameters)> startHidden;
    // The MOD list again, and the AI and rules catalogues read again.
    std::function<void()> refreshModList;
    std::function<void()> reloadCatalogues;
    // The launcher ends at once (after a successful self-patch).
    std::function<void()> quit;
    // Shows the update window with the session's lists.
    std::function<void()> showWindow;
};

} // namespace kv::update
