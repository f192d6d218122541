#include "update/update_session.h"

#include "content/text_util.h"
#include "platform/files.h"
#include "platform/shell.h"

#include <filesystem>

namespace kv::update {

namespace {

bool plainFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\:") == std::string::npos;
}

// Programs the update brings (the launcher, the Renamer) must run; whatever a misc
// record brings is data and never becomes a program by its mode, even where it replaced
// one.
void setExecutable(const std::string& path, bool executable) {
#ifndef _WIN32
    std::error_code ec;
    std::filesystem::permissions(path,
                                 std::filesystem::perms::owner_exec |
                                     std::filesystem::perms::group_exec |
                                     std::filesystem::perms::others_exec,
                                 executable ? std::filesystem::perm_options::add
                                            : std::filesystem::perm_options::remove,
                                 ec);
#else
    (void)path;
    (void)executable;
#endif
}

// Both the window's Cancel and a cancel of the whole session stop a download.
class SessionStop final : public Progress {
public:
    SessionStop(Progress& window, const bool& cancelled) : window_(window), cancelled_(cancelled) {}
    void setStatus(const std::string& text) override { window_.setStatus(text); }
    void setProgress(std::uint64_t current, std::uint64_t total) override {
        window_.setProgress(current, total);
    }
    bool stopRequested() override { return cancelled_ || window_.stopRequested(); }

private:
    Progress& window_;
    const bool& cancelled_;
};

} // namespace

bool UpdateSession::download(const std::string& url, const std::string& displayName, double size,
                             const std::string& target, const std::string& sha256,
                             PendingFile& out) {
    if (url.find_first_not_of(" \t") == std::string::npos || cancelled_)
        return false;
    std::string text = "Downloading '" + displayName + "'";
    if (size > 0)
        text += " (" + std::to_string(static_cast<long long>(size / 1024)) + " Kb)";
    DownloadWindow none;
    DownloadWindow& window = env_.downloadWindow ? *env_.downloadWindow : none;
    window.begin("Downloading...", text);
    caption(" - downloading...");
    SessionStop stop(window, cancelled_);
    FileResult r = downloadFile(url, target, sha256, stop, out, env_.transfer);
    // A body that ended early without a length header looks complete to the transfer; the
    // record's size tells.
    if (r.error == TransferError::None && size > 0 && double(r.bytes) != size) {
        out = PendingFile{};
        r.error = TransferError::TooShort;
    }
    switch (r.error) {
    case TransferError::None:
    case TransferError::Cancelled:
    case TransferError::EmptyUrl:
        break;
    case TransferError::HtmlPage:
        say("File was not found on the server.", Icon::Exclamation);
        break;
    default:
        say("Error while downloading.", Icon::Exclamation);
        break;
    }
    caption("");
    window.finish();
    return r.error == TransferError::None;
}

bool UpdateSession::refuseUnhashedCode(const std::string& sha256, const std::string& name) {
    if (!signed_ || sha256.find_first_not_of(" \t") != std::string::npos)
        return false;
    say("'" + name + "' runs as a program and its record carries no SHA256; it is not " +
            "downloaded.",
        Icon::Exclamation);
    return true;
}

bool UpdateSession::installMisc(MiscRecord& misc) {
    std::string refusal;
    const std::string target = miscTarget(misc, &refusal);
    if (target.empty()) {
        say(refusal, Icon::Exclamation);
        return false;
    }
    const std::string name = urlFileName(misc.url);
    const std::string ext = content::toLower(name.substr(name.find_last_of('.') + 1));
    const bool runnable = name.find('.') != std::string::npos && (ext == "exe" || ext == "bat");
    if (runnable && refuseUnhashedCode(misc.sha256, misc.name))
        return false;
    PendingFile file;
    if (!download(misc.url, misc.name, misc.size, target, misc.sha256, file))
        return false;
    (void)platform::clearAttributes(target);
    // The new file takes the old one's mode when it is put in place.
    setExecutable(target, false);
    if (!file.commit())
        return false;
    // A silent check asks nothing, so nothing it fetched is run.
    if (misc.autoExecute && runnable && !silent_ && platform::fileExists(target) &&
        env_.ui.message("Korvane Starter must run '" + target + "', which was just downloaded." +
                            "\r\nContinue?",
                        Icon::Exclamation, Buttons::YesNoCancel) == Answer::Yes &&
        env_.openInShell)
        env_.openInShell(target);
    return true;
}

bool UpdateSession::installAi(const AiRecord& ai) {
    if (!plainFileName(ai.title))
        return false;
    const Paths& p = env_.paths;
    // Everything comes in first; files replace their old versions only when all arrived.
    std::vector<PendingFile> files(1);
    if (!download(ai.url, ai.title, ai.size, joinPath(p.aiFolder, ai.title + ".kvai"), ai.sha256,
                  files[0]))
        return false;
    if (ai.hasIni &&
        !download(ai.ini.url, "'" + ai.title + "' INI file", ai.ini.size,
                  joinPath(p.aiIniFolder, ai.title + ".ini"), ai.ini.sha256, files.emplace_back()))
        return false;
    for (const KdgRecord& k : ai.kdgs) {
        if (!plainFileName(k.name) ||
            !download(k.url, "Required KDG file for '" + k.name + "'", k.size,
                      joinPath(p.requiredKdgFolder, k.name), k.sha256, files.emplace_back()))
            return false;
        if (!k.ini.url.empty() &&
            !download(k.ini.url, "Required KDG INI file for '" + k.name + "'", k.ini.size,
                      joinPath(p.kdgIniFolder, content::withoutExtension(k.name) + ".ini"),
                      k.ini.sha256, files.emplace_back()))
            return false;
    }
    bool ok = true;
    for (PendingFile& f : files) {
        (void)platform::clearAttributes(f.target());
        ok = bool(f.commit()) && ok;
    }
    return ok;
}

bool UpdateSession::installRules(const RulesRecord& r) {
    if (!plainFileName(r.title))
        return false;
    const std::string folder = joinPath(env_.paths.rulesFolder, r.title);
    (void)platform::createFolderTree(folder);
    if (!platform::folderExists(folder)) {
        say("No such directory:\r\n" + folder, Icon::Exclamation);
        return false;
    }
    PendingFile slo, vlo;
    if (!download(r.sloUrl, r.title + " Slo file", r.sloSize, joinPath(folder, "rules.slo"),
                  r.sloSha256, slo) ||
        !download(r.vloUrl, r.title + " Vlo file", r.vloSize, joinPath(folder, "rules.vlo"),
                  r.vloSha256, vlo))
        return false;
    (void)platform::clearAttributes(slo.target());
    (void)platform::clearAttributes(vlo.target());
    return bool(slo.commit()) && bool(vlo.commit());
}

bool UpdateSession::patchLauncher() {
    const std::string renamer =
        platform::resolvePath(joinPath(env_.paths.launcherFolder, kRenamerName));
    if (!platform::fileExists(renamer)) {
        env_.ui.message("Some of the Auto-Download components are missing, Korvane Starter will "
                        "not try to download them.",
                        Icon::Information);
        PendingFile file;
        if (refuseUnhashedCode(state_.renamer.sha256, "Auto-Update component") ||
            !download(state_.renamer.url, "Auto-Update component", state_.renamer.size, renamer,
                      state_.renamer.sha256, file)) {
            env_.ui.message("Failed to download missing Auto-Download component, please "
                            "reinstall Korvane Starter.",
                            Icon::Exclamation);
            return false;
        }
        (void)file.commit();
        if (!platform::fileExists(renamer)) {
            env_.ui.message("Component, reqiored for Auto-Update feature was successfully "
                            "downloaded, however it could not be saved on HD.",
                            Icon::Exclamation);
            return false;
        }
        setExecutable(renamer, true);
    }
    env_.ui.message("Korvane Starter will be restarted and patched now. Backup copy of the "
                    "current version will be created ('KVStarter_old.exe').\r\nPlease use the "
                    "backup copy if update fails.",
                    Icon::Information);
    const std::string parameters = std::string(kTempLauncherName) + " --pid " +
                                   std::to_string(env_.processId) + " --target \"" +
                                   env_.executable + "\"" +
                                   (env_.restartAfterPatch ? "" : " --no-start");
    return env_.startHidden && env_.startHidden(renamer, parameters);
}

bool UpdateSession::installSelected() {
    if (busy_)
        return true;
    struct Busy {
        bool& flag;
        explicit Busy(bool& f) : flag(f) { flag = true; }
        ~Busy() { flag = false; }
    } busy(busy_);
    silent_ = false;
    cancelled_ = false;
    const Paths& p = env_.paths;
    if (state_.launcher.selected) {
        PendingFile file;
        const std::string target = joinPath(p.launcherFolder, kTempLauncherName);
        if (refuseUnhashedCode(state_.launcher.sha256, "Korvane Starter Update") ||
            !download(state_.launcher.url, "Korvane Starter Update", state_.launcher.size, target,
                      state_.launcher.sha256, file) ||
            !file.commit()) {
            say("Failed to download Korvane Starter update.", Icon::Exclamation);
        } else {
            setExecutable(target, true);
            if (!patchLauncher()) {
                say("Failed to update Korvane Starter.", Icon::Exclamation);
                return true;
            }
            if (env_.quit)
                env_.quit();
            return false;
        }
    }
    // A cancelled session (the launcher is closing) stops at the next record, silently.
    for (const AiRecord& ai : state_.ais)
        if (ai.selected && !cancelled_ && !installAi(ai) && !cancelled_)
            say("Failed to install new AI.", Icon::Exclamation);
    for (const RulesRecord& r : state_.rules)
        if (r.selected && !cancelled_ && !installRules(r) && !cancelled_)
            say("Failed to install new Rules file.", Icon::Exclamation);
    for (MiscRecord& m : state_.misc)
        if (m.selected && !cancelled_ && !installMisc(m) && !cancelled_)
            say("Failed to install '" + m.name + "'.", Icon::Exclamation);
    if (cancelled_)
        return true;
    say("Done.", Icon::Information);
    if (env_.refreshModList)
        env_.refreshModList();
    if (env_.reloadCatalogues)
        env_.reloadCatalogues();
    return true;
}

} // namespace kv::update
