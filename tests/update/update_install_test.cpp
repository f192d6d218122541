// Installing ticked offers against a loopback server: the order, every message, the files
// in place, and failures that leave the old files alone.
#include "platform/files.h"
#include "tests/update/update_world.h"

#include <QCryptographicHash>

#include <gtest/gtest.h>

namespace kv::update {
namespace {

using Texts = std::vector<std::string>;

std::string sha(const std::string& body) {
    return QCryptographicHash::hash(QByteArray::fromStdString(body), QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

struct Files {
    std::string ai = std::string(900, 'A');
    std::string ini = std::string(50, 'I');
    std::string kdg = std::string(4000, 'K');
    std::string kdgIni = std::string(60, 'J');
    std::string slo = std::string(300, 'S');
    std::string vlo = std::string(400, 'V');
    std::string map = std::string(500, 'M');
};

std::string config(test::UpdateWorld& w, const Files& f, const std::string& aiSha,
                   const std::string& launcherUrl) {
    w.server.serve("/Hunter.kvai", f.ai);
    w.server.serve("/Hunter.ini", f.ini);
    w.server.serve("/kdg/HunterGfx.kdg", f.kdg);
    w.server.serve("/HunterGfx.ini", f.kdgIni);
    w.server.serve("/Tough/rules.slo", f.slo);
    w.server.serve("/Tough/rules.vlo", f.vlo);
    w.server.serve("/maps/Isle.map", f.map);
    auto key = [](const std::string& k, const std::string& v) {
        return k + " = \"" + v + "\"\r\n";
    };
    return "[KVS]:\r\n{\r\n" + key("Version", "2.2") + key("Size", "2000") +
           key("URL", launcherUrl) + "}\r\n[AI]:\r\n{\r\n[SCRIPT]:\r\n{\r\n" +
           key("Title", "Hunter") + key("URL", w.url("/Hunter.kvai")) + key("SHA256", aiSha) +
           "[INI]:\r\n{\r\n" + key("URL", w.url("/Hunter.ini")) + "}\r\n[KDG]:\r\n{\r\n" +
           key("URL", w.url("/kdg/HunterGfx.kdg")) + "[INI]:\r\n{\r\n" +
           key("URL", w.url("/HunterGfx.ini")) + "}\r\n}\r\n}\r\n}\r\n[RULES]:\r\n{\r\n" +
           "[SCRIPT]:\r\n{\r\n" + key("Title", "Tough") + key("SloURL", w.url("/Tough/rules.slo")) +
           key("VloURL", w.url("/Tough/rules.vlo")) + "}\r\n}\r\n[MISC]:\r\n{\r\n[Isle]:\r\n{\r\n" +
           key("URL", w.url("/maps/Isle.map")) + key("LocalPath", "%KVSPath%Maps") + "}\r\n}\r\n";
}

TEST(UpdateInstall, EverythingTickedLandsInPlaceAfterAFailedLauncherDownload) {
    test::UpdateWorld w;
    const Files f;
    int refreshes = 0;
    w.session->env().refreshModList = [&] { ++refreshes; };
    w.publish(config(w, f, sha(f.ai), w.url("/missing/KVStarter.exe")));
    w.session->DoAutoUpdate(false);
    ASSERT_EQ(w.session->offers().size(), 4u);
    w.session->checkAll(true);
    refreshes = 0;
    EXPECT_TRUE(w.session->installSelected());

    EXPECT_EQ(w.ui.messageTexts(), (Texts{"File was not found on the server.",
                                          "Failed to download Korvane Starter update.", "Done."}));
    EXPECT_EQ(w.quits, 0);
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(w.temp.read("kvs/Mods/SkirmishAI/Hunter.kvai"), f.ai);
    EXPECT_EQ(w.temp.read("kvs/Mods/INI/AI/Hunter.ini"), f.ini);
    EXPECT_EQ(w.temp.read("kvs/Mods/Required KDGs/HunterGfx.kdg"), f.kdg);
    EXPECT_EQ(w.temp.read("kvs/Mods/INI/KDG Files/HunterGfx.ini"), f.kdgIni);
    EXPECT_EQ(w.temp.read("kvs/Mods/Rules/Tough/rules.slo"), f.slo);
    EXPECT_EQ(w.temp.read("kvs/Mods/Rules/Tough/rules.vlo"), f.vlo);
    EXPECT_EQ(w.temp.read("kvs/Maps/Isle.map"), f.map);
    EXPECT_FALSE(platform::fileExists(w.launcherFile("KVSTemp.exe")));
    // Downloads ran through the main window's caption.
    EXPECT_EQ(w.captions[2], "Korvane Starter - downloading...");

    // A rules title that names another folder (the parser refuses it; here it is changed
    // after the check) still cannot lead the install out of the rules folder.
    w.session->checkAll(false);
    w.session->state().rules[0].title = "../Escape";
    w.session->state().rules[0].selected = true;
    w.ui.clear();
    EXPECT_TRUE(w.session->installSelected());
    EXPECT_EQ(w.ui.messageTexts(), (Texts{"Failed to install new Rules file.", "Done."}));
    EXPECT_FALSE(platform::pathExists(w.launcherFile("Mods/Escape")));
}

TEST(UpdateInstall, AFailedPartLeavesTheOldAiWhole) {
    test::UpdateWorld w;
    Files f;
    w.installedAi("Hunter", 10);
    // A checksum that does not match, then a KDG the server lost half way.
    w.publish(config(w, f, std::string(64, 'f'), "http://h/x.exe"));
    w.session->showAll = true;
    w.session->DoAutoUpdate(false);
    w.session->checkAll(false);
    w.session->setChecked(1, true); // ai:0
    ASSERT_EQ(w.session->offers()[1].key, "ai:0");
    w.session->installSelected();
    w.publish(config(w, f, sha(f.ai), "http://h/x.exe"));
    w.server.closeHalfWay("/kdg/HunterGfx.kdg", f.kdg);
    w.session->DoAutoUpdate(false);
    w.session->setChecked(1, true);
    w.session->installSelected();

    const std::string error = "Error while downloading.", failed = "Failed to install new AI.";
    EXPECT_EQ(w.ui.messageTexts(), (Texts{error, failed, "Done.", error, failed, "Done."}));
    EXPECT_EQ(w.temp.read("kvs/Mods/SkirmishAI/Hunter.kvai"), std::string(10, 'a'));
    EXPECT_FALSE(platform::fileExists(w.launcherFile("Mods/INI/AI/Hunter.ini")));
    for (const auto& e : platform::listDirectory(w.paths.aiFolder))
        EXPECT_EQ(e.name, "Hunter.kvai");
}

TEST(UpdateInstall, LauncherPatchStartsTheRenamerOrDownloadsItFirst) {
    test::UpdateWorld w;
    const std::string newLauncher(2000, 'L');
    w.server.serve("/KVStarter.exe", newLauncher);
    w.server.serve("/Renamer", std::string(64, 'R'));
    w.publishLauncher(true);
    const std::string missing = "Some of the Auto-Download components are missing, Korvane "
                                "Starter will not try to download them.";
    w.session->DoAutoUpdate(false);
    w.session->checkAll(true);
    EXPECT_FALSE(w.session->installSelected());
    EXPECT_EQ(
        w.ui.messageTexts(),
        (Texts{missing, "Korvane Starter will be restarted and patched now. Backup copy of the "
                        "current version will be created ('KVStarter_old.exe').\r\nPlease use the "
                        "backup copy if update fails."}));
    EXPECT_EQ(w.temp.read("kvs/KVSTemp.exe"), newLauncher);
    EXPECT_EQ(w.temp.read("kvs/Renamer"), std::string(64, 'R'));
    EXPECT_EQ(w.started, Texts{w.launcherFile("Renamer") + " KVSTemp.exe --pid 1 --target \"" +
                               w.launcherFile("kvstarter") + "\""});
    EXPECT_EQ(w.quits, 1);

    // The renamer cannot be fetched: patching fails and the program goes on.
    test::UpdateWorld v;
    v.server.serve("/KVStarter.exe", newLauncher);
    v.publishLauncher(false);
    v.session->DoAutoUpdate(false);
    v.session->checkAll(true);
    EXPECT_TRUE(v.session->installSelected());
    EXPECT_EQ(v.ui.messageTexts(),
              (Texts{missing,
                     "Failed to download missing Auto-Download component, please reinstall "
                     "Korvane Starter.",
                     "Failed to update Korvane Starter."}));
    EXPECT_TRUE(v.started.empty());
    EXPECT_EQ(v.quits, 0);
}

TEST(UpdateInstall, ACheckStartedDuringAnInstallSaysSoAndWaits) {
    test::UpdateWorld w;
    const Files f;
    w.publish(config(w, f, sha(f.ai), "http://h/x.exe"));
    w.session->DoAutoUpdate(false);
    w.session->checkAll(true);
    w.session->state().launcher.selected = false;
    // The download window's first report comes while events run: a menu click then.
    struct Reentering : DownloadWindow {
        UpdateSession* session = nullptr;
        void begin(const std::string&, const std::string&) override {
            session->DoAutoUpdate(false);
        }
    } window;
    window.session = w.session.get();
    w.session->env().downloadWindow = &window;
    const size_t configFetches = w.server.requests().size();
    EXPECT_TRUE(w.session->installSelected());
    size_t after = 0;
    for (const auto& r : w.server.requests())
        after += r == "/starter/Config.ini";
    EXPECT_EQ(after, 1u);
    EXPECT_EQ(w.ui.messageTexts().front(),
              "An update is being installed; check again when it has finished.");
    EXPECT_GT(w.server.requests().size(), configFetches);
    EXPECT_EQ(w.temp.read("kvs/Mods/Rules/Tough/rules.vlo"), f.vlo);
}

} // namespace
} // namespace kv::update
