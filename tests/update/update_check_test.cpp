// The update check as a user meets it: where the configuration comes from, what a manual
// and a silent check show and what the offer list holds.
#include "platform/files.h"
#include "tests/update/update_world.h"
#include "update/offer_signature.h"

#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace kv::update {
namespace {

using Texts = std::vector<std::string>;

std::string launcherSection(const std::string& version, int size) {
    return test::configText("[KVS]{Version=" + version + ";Size=" + std::to_string(size) +
                            ";URL=http://h/KVStarter.exe;Description=Newer}");
}
const std::string kNoConfig = "Failed to download Auto-Update configuration file.";

TEST(UpdateCheck, ConfigurationSourcesAndFailures) {
    test::UpdateWorld w;
    // Nothing at home nor at the fallback: one message, and nothing when silent.
    w.session->DoAutoUpdate(false);
    EXPECT_EQ(w.ui.messageTexts(), Texts{kNoConfig});
    EXPECT_EQ(w.server.requests(), (Texts{"/starter/Config.ini", "/KVS/Config.ini"}));
    EXPECT_EQ(w.windowShown, 0);
    w.ui.clear();
    w.session->DoAutoUpdate(true);
    EXPECT_TRUE(w.ui.messages().empty());

    // Too short, or an HTML page, counts as failed; the fallback path on the same host
    // is tried next.
    for (const char* home : {"[MAIN]:", "<!DOCTYPE html><html>maintenance</html>"}) {
        w.ui.clear();
        w.publish(home);
        w.server.serve("/KVS/Config.ini", launcherSection("2.5", 1));
        w.session->DoAutoUpdate(false);
        EXPECT_TRUE(w.ui.messages().empty()) << home;
        EXPECT_EQ(w.session->state().launcher.version, 2.5f) << home;
        EXPECT_EQ(w.server.requests().back(), "/KVS/Config.ini");
    }

    // A server that trickles a byte now and then, at home and at the fallback: the check
    // ends at its one deadline; a cancel ends it at once, silently.
    w.server.trickle("/starter/Config.ini");
    w.server.trickle("/KVS/Config.ini");
    w.session->env().transfer.deadlineMs = 800;
    for (const bool cancel : {false, true}) {
        w.ui.clear();
        if (cancel)
            QTimer::singleShot(100, [&] { w.session->cancel(); });
        QElapsedTimer clock;
        clock.start();
        w.session->DoAutoUpdate(false);
        EXPECT_LT(clock.elapsed(), cancel ? 600 : 1500) << cancel;
        EXPECT_EQ(w.ui.messageTexts(), cancel ? Texts{} : Texts{kNoConfig});
    }

    // KVS_UPDATE_URL wins over the setting; the fallback keeps the fixed path.
    ::setenv("KVS_UPDATE_URL", "http://127.0.0.1:9/mirror/Config.ini?x=1", 1);
    const ServerLocations l = serverLocations("http://other.example/a/Config.ini");
    ::unsetenv("KVS_UPDATE_URL");
    EXPECT_EQ(l.home + " " + l.fallback,
              "http://127.0.0.1:9/mirror/Config.ini?x=1 http://127.0.0.1:9/KVS/Config.ini");
}

TEST(UpdateCheck, WhatTheOfferListHolds) {
    test::UpdateWorld w;
    w.installedAi("Same", 700);
    w.installedAi("Changed", 700);
    w.temp.write("kvs/Maps/here.map", std::string(300, 'm'));
    const std::string misc = test::configText(
        "[MISC]{[Here]{URL=http://h/here.map;LocalPath=Maps;Size=300}"
        "[Gone]{URL=http://h/gone.map;LocalPath=Maps;Size=3000;Version=2,145}}");
    const std::string ais = test::configText("[AI]{[SCRIPT]{Title=Same;Size=700}"
                                             "[SCRIPT]{Title=Changed;Size=701}"
                                             "[SCRIPT]{Title=New;Size=2048;Version=1.5}}");
    // The running launcher is 2.144 and 5000 bytes: same version and size, not offered.
    w.publish(launcherSection("2.144", 5000) + ais + misc);
    w.session->DoAutoUpdate(false);
    EXPECT_EQ(w.windowShown, 1);
    Texts rows;
    for (const Offer& o : w.session->offers())
        rows.push_back(o.key + "|" + o.name + "|" + o.type + "|" + o.version + "|" + o.sizeText);
    EXPECT_EQ(rows, (Texts{"ai:1|Changed|AI|0|0 Kb", "ai:2|New|AI|1.5|2 Kb",
                             "misc:1|Gone|Misc|2.145|2 Kb"}));

    // A newer version, or another size, offers the launcher by itself.
    for (const std::string& config :
         {launcherSection("2.145", 5000), launcherSection("2.144", 4999)}) {
        w.publish(config);
        w.session->DoAutoUpdate(false);
        ASSERT_FALSE(w.session->offers().empty());
        EXPECT_EQ(w.session->offers()[0].key, "kvs:0");
    }
    EXPECT_EQ(w.session->offers()[0].name, "Korvane Starter 2.144");
    // A packaged copy is updated by its package manager, never offered here.
    w.session->env().selfUpdate = false;
    w.session->DoAutoUpdate(false);
    EXPECT_TRUE(w.session->offers().empty() || w.session->offers()[0].key != "kvs:0");
}

TEST(UpdateCheck, WithAKeyOnlyASignedConfigurationIsOffered) {
    test::UpdateWorld w;
    const auto key = generateKeyPair();
    const auto other = generateKeyPair();
    ASSERT_TRUE(key && other);
    const std::string config = launcherSection("2.2", 5000);
    w.publish(config);
    // No key known: today's behaviour, marked unsigned.
    w.session->DoAutoUpdate(false);
    EXPECT_EQ(w.session->offers().size(), 1u);
    EXPECT_FALSE(w.session->offersSigned());

    w.session->env().publicKeys = parsePublicKeys(" ," + other->publicHex + ", " + key->publicHex);
    ASSERT_EQ(w.session->env().publicKeys.size(), 2u);
    const std::string unsignedText = "The update server's configuration is not signed (no "
                                     "Config.ini.sig); its offers are not shown.";
    const std::string forgedText = "The update server's configuration does not carry a valid "
                                   "signature of a known key; its offers are not shown.";
    struct Case {
        const char* what;
        std::optional<std::string> signature; // none: no ".sig" on the server
        std::string message;                  // empty: offered
    };
    const std::string good = *signMessage(config, key->secretHex);
    std::string flipped = good;
    flipped[0] = flipped[0] == '0' ? '1' : '0';
    for (const Case& c : {Case{"signed", good + "\n", {}},
                          Case{"unsigned", std::nullopt, unsignedText},
                          Case{"other bytes", *signMessage(config + " ", key->secretHex), forgedText},
                          Case{"flipped", flipped, forgedText},
                          Case{"not hex", std::string(128, 'x'), forgedText},
                          Case{"short", good.substr(2), forgedText}}) {
        w.ui.clear();
        w.server.serve("/starter/Config.ini.sig", c.signature.value_or(""),
                       c.signature ? 200 : 404);
        w.session->DoAutoUpdate(false);
        EXPECT_EQ(w.session->offersSigned(), c.message.empty()) << c.what;
        EXPECT_EQ(w.session->offers().size(), c.message.empty() ? 1u : 0u) << c.what;
        EXPECT_EQ(w.ui.messageTexts(), c.message.empty() ? Texts{} : Texts{c.message}) << c.what;
    }
    // Signed, a launcher record without SHA256 runs code nobody vouched for.
    w.server.serve("/starter/Config.ini.sig", good);
    w.session->DoAutoUpdate(false);
    w.ui.clear();
    w.session->checkAll(true);
    EXPECT_TRUE(w.session->installSelected());
    EXPECT_EQ(w.ui.messageTexts(),
              (Texts{"'Korvane Starter Update' runs as a program and its record carries no "
                     "SHA256; it is not downloaded.",
                     "Failed to download Korvane Starter update.", "Done."}));
    EXPECT_FALSE(platform::fileExists(w.launcherFile("KVSTemp.exe")));
}

TEST(UpdateCheck, SilentCheckAsksOnlyWhenSomethingIsOfferedAndADisabledOneSaysSoWhenAsked) {
    test::UpdateWorld w;
    w.publish(launcherSection("2.144", 5000));
    w.session->DoAutoUpdate(true);
    EXPECT_TRUE(w.ui.messages().empty());
    w.publish(launcherSection("2.2", 5000));
    for (const Answer a : {Answer::No, Answer::Yes}) {
        w.ui.answerMessage(a);
        w.session->DoAutoUpdate(true);
    }
    EXPECT_EQ(w.ui.messageTexts(),
              (Texts(2, "There are new downloads available, would you like to see a list of "
                        "available downloads?")));
    EXPECT_EQ(w.ui.messages()[0].buttons, Buttons::YesNo);
    EXPECT_EQ(w.windowShown, 1);

    w.ui.clear();
    w.publish(test::configText("[MAIN]{AutoUpdateActive=0;[Odd]}") + launcherSection("9", 1));
    w.session->DoAutoUpdate(true);
    EXPECT_TRUE(w.ui.messages().empty());
    w.session->DoAutoUpdate(false);
    EXPECT_EQ(w.ui.messageTexts(),
              (Texts{"Unknown Main section: Odd",
                     "Auto-Update feature is temporary disabled.\r\nPlease try again later."}));
    EXPECT_EQ(w.windowShown, 1);
}

TEST(UpdateCheck, DescriptionRefreshAndMiscAutoDownload) {
    test::UpdateWorld w;
    w.installedAi("Hunter", 100, /*descriptionSize=*/10);
    w.installedAi("Current", 100, /*descriptionSize=*/20);
    const std::string ini(20, 'i');
    for (const auto& [path, body] : std::vector<std::pair<std::string, std::string>>{
             {"/Hunter.ini", ini}, {"/Current.ini", ini}, {"/Other.ini", ini},
             {"/Gfx.ini", std::string(30, 'g')}, {"/tool.bat", std::string(40, 'b')},
             {"/readme.txt", std::string(40, 't')}})
        w.server.serve(path, body);
    w.server.serveUnsized("/short.txt", std::string(20, 's'));
    // A program file replaced by a misc record loses its executable bit.
    const std::string readme = w.temp.write("kvs/Docs/readme.txt", "#!/bin/sh\n");
    std::filesystem::permissions(readme, std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
    const std::string settings = w.temp.write("kvs/Settings/starter.ini", "Ver=2.144\r\n");
    auto section = [&](const std::string& title, const std::string& iniKeys, const std::string& kdg) {
        return "[SCRIPT]{Title=" + title + ";[INI]{URL=" + w.url("/" + title + ".ini") + ";" +
               iniKeys + "Size=20}" + kdg + "}";
    };
    const std::string kdg = "[KDG]{URL=http://h/Gfx.kdg;[INI]{URL=" + w.url("/Gfx.ini") + ";Size=30}}";
    auto misc = [&](const std::string& name, const std::string& file, const std::string& local) {
        return "[" + name + "]{URL=" + w.url("/" + file) + ";LocalPath=" + local +
               ";Size=40;AutoDownload=True;AutoExecute=True}";
    };
    w.installedAi("Other", 100, /*descriptionSize=*/10);
    w.publish(test::configText(
        "[AI]{" + section("Hunter", "", kdg) + section("Current", "", kdg) + section("Absent", "", "") +
        section("Other", "SHA256=" + std::string(64, '0') + ";", "") + "}[MISC]{" +
        misc("Tool", "tool.bat", "Tools") + misc("Readme", "readme.txt", "%KVSPath%Docs") +
        misc("Escape", "tool.bat", "../..") + misc("Abs", "tool.bat", "/tmp") +
        misc("Exe", "kvstarter", "") + misc("Prefs", "starter.ini", "SETTINGS") +
        misc("Short", "short.txt", "Docs") + "}"));
    w.ui.answerMessage(Answer::Yes); // run the batch file
    w.session->DoAutoUpdate(false);
    // Only Hunter's and Other's descriptions differ in size; Hunter's KDG description is
    // missing; Other's does not match its SHA256. The batch file asks before it runs; a text
    // file never does. Paths that leave the launcher folder, or name the launcher's own
    // files, are refused; a body shorter than its record's size (no length header to tell)
    // is not installed.
    const std::string own = "' belongs to Korvane Starter itself; an update may not replace it.";
    EXPECT_EQ(
        w.ui.messageTexts(),
        (Texts{"Error while downloading.", "Failed to download configuration file for Other",
               "One or more errors occured while downloading MOD configurations.",
               "Korvane Starter must run '" + w.launcherFile("Tools/tool.bat") +
                   "', which was just downloaded.\r\nContinue?",
               "'../..' lies outside the Korvane Starter folder.", "Failed to install 'Escape'.",
               "'/tmp' lies outside the Korvane Starter folder.", "Failed to install 'Abs'.",
               "'" + w.launcherFile("kvstarter") + own, "Failed to install 'Exe'.",
               "'" + settings + own, "Failed to install 'Prefs'.", "Error while downloading.",
               "Failed to install 'Short'."}));
    EXPECT_EQ(w.ui.messages().at(3).buttons, Buttons::YesNoCancel);
    for (const char* absent :
         {"Mods/INI/AI/Other.ini", "Mods/INI/AI/Current.ini", "../tool.bat", "Docs/short.txt"})
        EXPECT_FALSE(platform::fileExists(w.launcherFile(absent))) << absent;
    EXPECT_EQ(w.temp.read("kvs/Mods/INI/AI/Hunter.ini"), ini);
    EXPECT_EQ(w.temp.read("kvs/Mods/INI/KDG Files/Gfx.ini"), std::string(30, 'g'));
    EXPECT_EQ(w.opened, Texts{w.launcherFile("Tools/tool.bat")});
    EXPECT_EQ(w.temp.read("kvs/Docs/readme.txt"), std::string(40, 't'));
    for (const char* file : {"kvs/Docs/readme.txt", "kvs/Tools/tool.bat"})
        EXPECT_EQ(std::filesystem::status(w.temp / file).permissions() &
                      std::filesystem::perms::owner_exec,
                  std::filesystem::perms::none)
            << file;
    EXPECT_EQ(w.temp.read("kvs/kvstarter"), std::string(5000, 'x'));
    EXPECT_EQ(w.temp.read("kvs/Settings/starter.ini"), "Ver=2.144\r\n");
    // Those aimed at the launcher's own files are not even offered.
    for (const Offer& o : w.session->offers())
        EXPECT_TRUE(o.name != "Exe" && o.name != "Prefs") << o.name;
}

} // namespace
} // namespace kv::update
