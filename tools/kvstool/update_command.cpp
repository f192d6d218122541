// kvstool update parse|check|install|download: the launcher's update check and install
// from the command line, on the same session the update window drives.
#include "tools/kvstool/commands.h"
#include "tools/kvstool/console.h"

#include "common/dialogless_ui.h"
#include "common/paths.h"
#include "content/catalogue_scan.h"
#include "content/content_env.h"
#include "launcher/settings_file.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "update/config_parser.h"
#include "update/offer_signature.h"
#include "update/update_session.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonObject>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#ifndef _WIN32
#include <unistd.h>
#else
#include <windows.h>
#endif

namespace kv::tool {

namespace {

const char kUsage[] = "usage: kvstool update parse FILE [--json]\n"
                      "       kvstool update check LAUNCHER_DIR [--all] [--json] [--apply-auto]\n"
                      "       kvstool update install LAUNCHER_DIR KEY... [--restart]\n"
                      "       kvstool update download URL FILE [--sha256 HEX]\n"
                      "       kvstool update keygen DIR\n"
                      "       kvstool update sign SECRET_KEY_FILE CONFIG\n"
                      "The server is the launcher's \"UpdateServer\" setting, or KVS_UPDATE_URL.\n"
                      "check lists the offers and changes nothing; --apply-auto also refreshes\n"
                      "descriptions and fetches the automatic downloads, as the launcher does.\n"
                      "keygen writes DIR/update-key.pub and DIR/update-key.sec; sign writes\n"
                      "CONFIG.sig, which a launcher knowing the public key requires.\n";

const Area kArea("update", kUsage);

QString q(const std::string& s) {
    return QString::fromStdString(platform::toDisplayText(s));
}

void print(const std::string& s) {
    std::fputs(platform::toDisplayText(s).c_str(), stdout);
    std::fputc('\n', stdout);
}

// Message boxes become lines; a question is answered "No", so nothing is started.
class PrintingUi final : public DialoglessUi {
public:
    bool quiet = false;
    std::vector<std::string> messages;
    Answer message(const std::string& text, Icon, Buttons buttons,
                   const std::string& title) override {
        messages.push_back(title.empty() ? text : title + ": " + text);
        if (!quiet)
            print("message: " + messages.back());
        return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
    }
};

class PrintingWindow final : public update::DownloadWindow {
public:
    void begin(const std::string&, const std::string& text) override { print(text); }
    void setStatus(const std::string& text) override { print("  " + text); }
};

QJsonObject ini(const update::IniRecord& r) {
    return {{"version", double(r.version)}, {"url", q(r.url)}, {"size", double(r.size)}};
}

QJsonArray kdgs(const std::vector<update::KdgRecord>& list) {
    QJsonArray a;
    for (const auto& k : list)
        a.append(QJsonObject{{"name", q(k.name)},
                             {"version", q(k.version)},
                             {"size", k.size},
                             {"url", q(k.url)},
                             {"sha256", q(k.sha256)},
                             {"ini", ini(k.ini)}});
    return a;
}

QJsonObject launcherJson(const update::LauncherRecord& l) {
    return {{"description", q(l.description)},
            {"version", q(update::formatVersion(l.version))},
            {"size", double(l.size)},
            {"url", q(l.url)},
            {"sha256", q(l.sha256)}};
}

QJsonObject stateJson(const update::UpdateState& s, const std::vector<std::string>& messages) {
    using update::formatVersion;
    QJsonArray ais, rules, misc, news, msgs;
    for (const auto& a : s.ais)
        ais.append(QJsonObject{{"title", q(a.title)},
                               {"author", q(a.author)},
                               {"description", q(a.description)},
                               {"version", q(formatVersion(a.version))},
                               {"size", double(a.size)},
                               {"url", q(a.url)},
                               {"sha256", q(a.sha256)},
                               {"kdgs", kdgs(a.kdgs)},
                               {"ini", ini(a.ini)},
                               {"hasKdg", a.hasKdg},
                               {"hasIni", a.hasIni}});
    for (const auto& r : s.rules)
        rules.append(QJsonObject{{"title", q(r.title)},
                                 {"author", q(r.author)},
                                 {"description", q(r.description)},
                                 {"version", q(formatVersion(r.version))},
                                 {"sloSize", r.sloSize},
                                 {"vloSize", r.vloSize},
                                 {"sloUrl", q(r.sloUrl)},
                                 {"vloUrl", q(r.vloUrl)},
                                 {"kdgs", kdgs(r.kdgs)},
                                 {"ini", ini(r.ini)},
                                 {"hasKdg", r.hasKdg},
                                 {"hasIni", r.hasIni}});
    for (const auto& m : s.misc)
        misc.append(QJsonObject{{"name", q(m.name)},
                                {"url", q(m.url)},
                                {"size", double(m.size)},
                                {"localPath", q(m.localPath)},
                                {"description", q(m.description)},
                                {"version", q(formatVersion(m.version))},
                                {"autoDownload", m.autoDownload},
                                {"author", q(m.author)},
                                {"autoExecute", m.autoExecute},
                                {"sha256", q(m.sha256)}});
    for (const auto& m : s.messages)
        news.append(QJsonObject{
            {"name", q(m.name)}, {"author", q(m.author)}, {"text", q(m.text)}, {"url", q(m.url)}});
    for (const auto& m : messages)
        msgs.append(QJsonObject{{"title", update::kParseErrorTitle}, {"text", q(m)}});
    return {{"autoUpdateActive", s.active},
            {"hostServer", q(s.hostServer)},
            {"launcher", launcherJson(s.launcher)},
            {"renamer", launcherJson(s.renamer)},
            {"messages", news},
            {"ais", ais},
            {"rules", rules},
            {"misc", misc},
            {"counts", QJsonObject{{"messages", int(s.messages.size())},
                                   {"ais", int(s.ais.size())},
                                   {"rules", int(s.rules.size())},
                                   {"misc", int(s.misc.size())}}},
            {"parseMessages", msgs}};
}

int parseCommand(const std::vector<std::string>& a) {
    bool json = false;
    std::vector<std::string> files;
    for (const auto& s : a) {
        if (s == "--json")
            json = true;
        else if (s.starts_with("--"))
            return kArea.usage("unknown option " + s);
        else
            files.push_back(s);
    }
    if (files.size() != 1)
        return kArea.usage("parse needs one FILE");
    std::vector<std::string> lines;
    if (platform::Status st = platform::readTextLines(files[0], lines); !st)
        return kArea.failure(files[0] + ": " + st.description);
    content::FolderVars vars;
    const update::ParseResult r = update::parseUpdateConfig(lines, vars);
    if (json) {
        printJson(stateJson(r.state, r.messages));
        return 0;
    }
    const auto& s = r.state;
    print(std::string("AutoUpdateActive: ") + (s.active ? "yes" : "no"));
    print("HostServer: " + s.hostServer);
    print("Launcher: " + update::formatVersion(s.launcher.version) + " " + s.launcher.url);
    print("Renamer: " + update::formatVersion(s.renamer.version) + " " + s.renamer.url);
    for (const auto& m : s.messages)
        print("Message: " + m.name + " (" + m.author + ") " + m.text);
    for (const auto& ai : s.ais)
        print("AI: " + ai.title + " " + update::formatVersion(ai.version) + " " + ai.url +
              " KDGs " + std::to_string(ai.kdgs.size()) + (ai.hasIni ? " INI" : ""));
    for (const auto& ru : s.rules)
        print("Rules: " + ru.title + " " + update::formatVersion(ru.version) + " " + ru.sloUrl +
              " " + ru.vloUrl);
    for (const auto& m : s.misc)
        print("Misc: " + m.name + " " + m.url + " -> " + m.localPath);
    for (const auto& m : r.messages)
        print(std::string("message: ") + update::kParseErrorTitle + ": " + m);
    return 0;
}

// Everything a session needs, for a launcher folder.
struct ToolSession {
    explicit ToolSession(const std::string& folder) : paths(Paths::fromRoot(folder)) {
        std::vector<std::string> lines;
        if (platform::readTextLines(joinPath(paths.settingsFolder, "starter.ini"), lines))
            for (const auto& e : parseSettingsLines(lines)) {
                if (platform::equalsNoCase(e.key, "UpdateServer"))
                    setting = e.value;
                else if (platform::equalsNoCase(e.key, "UpdateKey"))
                    keySetting = e.value;
            }
        content::ContentEnv env{paths, {}, ui};
        ui.quiet = true;
        content::CustomAIList_fill(content, env);
        content::CustomRulesList_fill(content, env);
        ui.quiet = false;
        ui.messages.clear();
        update::UpdateEnv u(paths, ui, content);
#ifdef _WIN32
        u.executable = joinPath(paths.launcherFolder, "KVStarter.exe");
#else
        u.executable = joinPath(paths.launcherFolder, "kvstarter");
#endif
        u.serverSetting = setting;
        u.publicKeys = update::knownUpdateKeys(keySetting);
        u.startHidden = [](const std::string& program, const std::string& parameters) {
            return platform::startProgram(program, parameters, {}, platform::WindowMode::Hidden).ok;
        };
        u.reloadCatalogues = [this] {
            content::ContentEnv e{paths, {}, ui};
            content::CustomAIList_fill(content, e);
            content::CustomRulesList_fill(content, e);
        };
        session = std::make_unique<update::UpdateSession>(std::move(u));
    }
    Paths paths;
    std::string setting, keySetting;
    PrintingUi ui;
    content::ContentState content;
    std::unique_ptr<update::UpdateSession> session;
};

int checkCommand(const std::vector<std::string>& a, bool install) {
    bool json = false, all = false, applyAuto = install, restart = false;
    std::vector<std::string> positional;
    for (const auto& s : a) {
        if (s == "--json" && !install)
            json = true;
        else if (s == "--all" && !install)
            all = true;
        else if (s == "--apply-auto" && !install)
            applyAuto = true;
        else if (s == "--restart" && install)
            restart = true;
        else if (s.starts_with("--"))
            return kArea.usage("unknown option " + s);
        else
            positional.push_back(s);
    }
    if (positional.empty() || (install && positional.size() < 2) ||
        (!install && positional.size() != 1))
        return kArea.usage(install ? "install needs LAUNCHER_DIR and KEY..."
                                   : "check needs LAUNCHER_DIR");
    if (!platform::folderExists(positional[0]))
        return kArea.failure(positional[0] + ": no such folder");
    // A relative folder would be read again from the folder a started program runs in.
    std::error_code ec;
    positional[0] = std::filesystem::absolute(positional[0], ec).lexically_normal().string();
    ToolSession t(positional[0]);
    t.ui.quiet = json;
    t.session->showAll = all;
    t.session->applyAutomatic = applyAuto;
    // Without --restart the patched launcher is put in place but not started.
    t.session->env().restartAfterPatch = restart;
    PrintingWindow window;
    if (install)
        t.session->env().downloadWindow = &window;
    t.session->DoAutoUpdate(false);
    for (const auto& m : t.ui.messages)
        if (m == "Failed to download Auto-Update configuration file.")
            return kArea.failure(m + " (" + update::serverLocations(t.setting).home + ")");
    const auto& offers = t.session->offers();
    if (!install) {
        if (json) {
            QJsonArray rows, msgs;
            for (const auto& o : offers)
                rows.append(QJsonObject{{"key", q(o.key)},
                                        {"name", q(o.name)},
                                        {"type", q(o.type)},
                                        {"version", q(o.version)},
                                        {"size", q(o.sizeText)}});
            for (const auto& m : t.ui.messages)
                msgs.append(q(m));
            printJson(QJsonObject{{"offers", rows}, {"messages", msgs}});
        } else {
            for (const auto& o : offers)
                print(o.key + "\t" + o.name + "\t" + o.type + "\t" + o.version + "\t" + o.sizeText);
        }
        return 0;
    }
    for (size_t k = 1; k < positional.size(); ++k) {
        size_t i = 0;
        while (i < offers.size() && offers[i].key != positional[k])
            ++i;
        if (i == offers.size())
            return kArea.failure("nothing offered as " + positional[k]);
        t.session->setChecked(i, true);
    }
    const size_t before = t.ui.messages.size();
    t.session->installSelected();
    for (size_t i = before; i < t.ui.messages.size(); ++i)
        if (t.ui.messages[i].starts_with("Failed") || t.ui.messages[i].starts_with("Error"))
            return 1;
    return 0;
}

int downloadCommand(const std::vector<std::string>& a) {
    std::vector<std::string> positional;
    std::string sha;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] == "--sha256" && i + 1 < a.size())
            sha = a[++i];
        else if (a[i].starts_with("--"))
            return kArea.usage("unknown option " + a[i]);
        else
            positional.push_back(a[i]);
    }
    if (positional.size() != 2)
        return kArea.usage("download needs URL and FILE");
    NoProgress none;
    update::PendingFile file;
    const update::FileResult r =
        update::downloadFile(positional[0], positional[1], sha, none, file);
    if (r.error != update::TransferError::None)
        return kArea.failure(positional[0] + ": download failed" +
                             (r.detail.empty() ? std::string() : " (" + r.detail + ")"));
    if (platform::Status s = file.commit(); !s)
        return kArea.failure(positional[1] + ": " + s.description);
    print(std::to_string(r.bytes) + " bytes");
    return 0;
}

int keygenCommand(const std::vector<std::string>& a) {
    if (a.size() != 1)
        return kArea.usage("keygen needs DIR");
    const auto pair = update::generateKeyPair();
    if (!pair)
        return kArea.failure("no key pair could be made");
    const std::string folder = a[0];
    (void)platform::createFolderTree(folder);
    const std::string pub = joinPath(folder, "update-key.pub"),
                      sec = joinPath(folder, "update-key.sec");
    // A key pair in use cannot be made again: replacing it would lock out every launcher
    // that trusts its public half.
    if (platform::pathExists(sec) || platform::pathExists(pub))
        return kArea.failure(folder + " already holds a key pair; keygen does not replace it");
    // The secret is created readable by its owner only, before a byte of it is written.
    std::error_code ec;
    {
        std::ofstream create(sec);
    }
    std::filesystem::permissions(sec, std::filesystem::perms::owner_read |
                                          std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::replace, ec);
    std::ofstream secret(sec, std::ios::trunc);
    secret << pair->secretHex << '\n';
    std::ofstream(pub, std::ios::trunc) << pair->publicHex << '\n';
    if (!secret.flush() || ec)
        return kArea.failure(sec + ": could not be written");
    print(pair->publicHex);
    return 0;
}

int signCommand(const std::vector<std::string>& a) {
    if (a.size() != 2)
        return kArea.usage("sign needs SECRET_KEY_FILE and CONFIG");
    std::string secret, config;
    if (platform::Status s = platform::readFile(a[0], secret); !s)
        return kArea.failure(a[0] + ": " + s.description);
    if (platform::Status s = platform::readFile(a[1], config); !s)
        return kArea.failure(a[1] + ": " + s.description);
    const auto signature = update::signMessage(config, secret);
    if (!signature)
        return kArea.failure(a[0] + ": not a secret key (64 hexadecimal digits)");
    if (platform::Status s = platform::writeFileAtomic(a[1] + ".sig", *signature + "\n"); !s)
        return kArea.failure(a[1] + ".sig: " + s.description);
    return 0;
}

} // namespace

int runUpdateCommand(const std::vector<std::string>& args) {
    if (args.empty())
        return kArea.usage();
    if (kArea.helpAsked({args.front()}))
        return 0;
    static int argc = 1;
    static char name[] = "kvstool";
    static char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "parse")
        return parseCommand(rest);
    if (args[0] == "check")
        return checkCommand(rest, false);
    if (args[0] == "install")
        return checkCommand(rest, true);
    if (args[0] == "download")
        return downloadCommand(rest);
    if (args[0] == "keygen")
        return keygenCommand(rest);
    if (args[0] == "sign")
        return signCommand(rest);
    return kArea.usage("unknown command " + args[0]);
}

} // namespace kv::tool
