// Installing ticked offers against a loopback server: the order, every message, the files
// in place, and failures that leave the old files alone.
#include "platform/files.h"
#include "tests/update/update_world.h"
#include "tools/worldgen/digest.h"

#include <gtest/gtest.h>

namespace kv::update {
namespace {

using Texts = std::vector<std::string>;

struct Files {
    std::string ai = std::string(900, 'A'), ini = std::string(50, 'I'), kdg = std::string(4000, 'K'),
                kdgIni = std::string(60, 'J'), slo = std::string(300, 'S'), vlo = std::string(400, 'V'),
                map = std::string(500, 'M');
};

// An AI with its description and a KDG with its own, rules and a misc file, all served.
std::string config(test::UpdateWorld& w, const Files& f, const std::string& aiSha,
                   const std::string& launcherUrl) {
    const std::vector<std::pair<std::string, std::string>> bodies = {
        {"/Hunter.kvai", f.ai},         {"/Hunter.ini", f.ini},     {"/kdg/HunterGfx.kdg", f.kdg},
        {"/HunterGfx.ini", f.kdgIni},   {"/Tough/rules.slo", f.slo}, {"/Tough/rules.vlo", f.vlo},
        {"/maps/Isle.map", f.map}};
    for (const auto& [path, body] : bodies)
        w.server.serve(path, body);
    return test::configText(
        "[KVS]{Version=2.2;Size=2000;URL=" + launcherUrl + "}[AI]{[SCRIPT]{Title=Hunter;URL=" +
        w.url("/Hunter.kvai") + ";SHA256=" + aiSha + ";[INI]{URL=" + w.url("/Hunter.ini") +
        "}[KDG]{URL=" + w.url("/kdg/HunterGfx.kdg") + ";[INI]{URL=" + w.url("/HunterGfx.ini") +
        "}}}}[RULES]{[SCRIPT]{Title=Tough;SloURL=" + w.url("/Tough/rules.slo") + ";VloURL=" +
        w.url("/Tough/rules.vlo") + "}}[MISC]{[Isle]{URL=" + w.url("/maps/Isle.map") +
        ";LocalPath=%KVSPath%Maps}}");
}

TEST(UpdateInstall, EverythingTickedLandsInPlaceAfterAFailedLauncherDownload) {
    test::UpdateWorld w;
    const Files f;
    int refreshes = 0;
    w.session->env().refreshModList = [&] { ++refreshes; };
    w.publish(config(w, f, worldgen::sha256Hex(f.ai), w.url("/missing/KVStarter.exe")));
    w.session->DoAutoUpdate(false);
    ASSERT_EQ(w.session->offers().size(), 4u);
    w.session->checkAll(true);
    refreshes = 0;
    EXPECT_TRUE(w.session->installSelected());

    EXPECT_EQ(w.ui.messageTexts(), (Texts{"File was not found on the server.",
                                          "Failed to download Korvane Starter update.", "Done."}));
    EXPECT_EQ(std::pair(w.quits, refreshes), std::pair(0, 1));
    for (const auto& [file, body] : std::vector<std::pair<std::string, std::string>>{
             {"SkirmishAI/Hunter.kvai", f.ai}, {"INI/AI/Hunter.ini", f.ini},
             {"Required KDGs/HunterGfx.kdg", f.kdg}, {"INI/KDG Files/HunterGfx.ini", f.kdgIni},
             {"Rules/Tough/rules.slo", f.slo}, {"Rules/Tough/rules.vlo", f.vlo}, {"../Maps/Isle.map", f.map}})
        EXPECT_TRUE(w.temp.read("kvs/Mods/" + file) == body) << file;
    EXPECT_FALSE(platform::fileExists(w.launcherFile("KVSTemp.exe")));

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
    w.publish(config(w, f, worldgen::sha256Hex(f.ai), "http://h/x.exe"));
    w.server.closeHalfWay("/kdg/HunterGfx.kdg", f.kdg);
    w.session->DoAutoUpdate(false);
    w.session->setChecked(1, true);
    w.session->installSelected();

    const std::string error = "Error while downloading.", failed = "Failed to install new AI.";
    EXPECT_EQ(w.ui.messageTexts(), (Texts{error, failed, "Done.", error, failed, "Done."}));
    EXPECT_EQ(w.temp.read("kvs/Mods/SkirmishAI/Hunter.kvai"), std::string(10, 'a'));
    EXPECT_FALSE(platform::fileExists(w.launcherFile("Mods/INI/AI/Hunter.ini")));
    for (const auto& e : platform::listDirectory(w.paths.aiFolder))
        EXPECT_EQ(e.name, "Hunter.kvai"); // no part left beside it
}

} // namespace
} // namespace kv::update
