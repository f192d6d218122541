// The configuration checks as a peer's blocks drive them: every difference with its exact
// notice and the user list column it leaves, and the blocks that must end in the error box.
#include "tests/lobby/lobby_world.h"

#include "platform/files.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

using lobby::AiConfig;

struct Checked {
    Checked() : a("Al", freePort()) { feed("nickname||10.0.0.9||Bob"); }
    // Back to the state after the greeting, for the next case of a table.
    void reset() {
        auto& choices = a.launcher->content.choices;
        for (auto& list : choices.players)
            list.select("<don't change>");
        choices.rules.select("<don't change>");
        a.state().users[0].notReady.clear();
        a.state().rows.at(0).configuration = "OK";
        a.ui.clear();
    }
    void feed(const std::string& block) {
        a.lobby().remote_parseCommands(block, 0);
        drain();
    }
    // The boxes a block causes are shown from the event loop, after the block.
    void drain() {
        EXPECT_TRUE(waitUntil([this] { return a.lobby().pendingNotices() == 0; }));
    }
    AiConfig local() { return a.lobby().localAiConfig(); }
    void sendAi(const AiConfig& c) { feed("aiconfig||" + lobby::aiConfigPayload(c) + "||Bob"); }
    std::uint64_t size(const std::string& path) { return *platform::fileLength(path); }
    std::string column() { return a.state().rows.at(0).configuration; }
    LobbyPeer a;
};

TEST(LobbyChecks, EachAiAndRulesDifferenceHasItsNoticeAndColumn) {
    struct Case {
        const char* what;
        std::function<void(Checked&, AiConfig&)> change;
        std::string notice;
        const char* column;
    };
    Checked c;
    const std::string lead = "Bob's AI configuration is not compatible with your configuration: \r\n";
    const std::vector<Case> cases = {
        {"AI text", [](Checked&, AiConfig& p) { p.players[2] = "Raider"; },
         lead + "Player2:\r\nYour AI: '<don't change>'\r\nBob's AI: 'Raider'", "Not ready (AI)"},
        {"AI size",
         [](Checked& c, AiConfig& p) {
             c.a.launcher->content.choices.players[2].select("Raider");
             p.players[2] = "Raider";
             p.playerSizes[2] =
                 c.size(c.a.world.launcherFolder + "Mods/SkirmishAI/Raider.kvai") + 1;
         },
         lead + "Bob uses a different version of 'Raider'\r\n(Player2)", "Not ready (AI)"},
        {"slot script size", [](Checked&, AiConfig& p) { p.playerSizes[3] += 7; },
         lead + "Bob uses a different AI version for Player3", "Not ready (AI)"},
        {"rules text", [](Checked&, AiConfig& p) { p.rules = "Hard Times"; },
         "Bob's AI (rules) configuration is not compatible with your configuration: "
         "'<don't change>' - 'Hard Times'",
         "Not ready (Rules)"},
        {"rules size",
         [](Checked& c, AiConfig& p) {
             c.a.launcher->content.choices.rules.select("Hard Times");
             p.rules = "Hard Times";
             p.rulesSize = 1;
         },
         lead + "Bob uses a different 'Hard Times' version", "Not ready (Rules)"},
        {"game rules size", [](Checked&, AiConfig& p) { p.rulesSize += 1; },
         lead + "Bob uses a different rules file version\r\n(" +
             c.a.launcher->installations.currentGameFolder() + "multiplay\\skirmish\\rules.slo)",
         "Not ready (Rules)"},
        // The first difference stops the check: the rules are never looked at.
        {"AI and rules",
         [](Checked&, AiConfig& p) {
             p.players[0] = "Hunter";
             p.rules = "Classic";
         },
         lead + "Player0:\r\nYour AI: '<don't change>'\r\nBob's AI: 'Hunter'", "Not ready (AI)"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        c.reset();
        AiConfig peer = c.local();
        k.change(c, peer);
        c.sendAi(peer);
        EXPECT_EQ(c.a.ui.messageTexts(), std::vector{k.notice});
        EXPECT_EQ(c.column(), k.column);
        // The same configuration sent again after the fix clears it.
        c.a.ui.clear();
        c.sendAi(c.local());
        EXPECT_EQ(c.column(), "OK");
        EXPECT_EQ(c.a.ui.messageTexts(), std::vector<std::string>{});
    }
    // "<Random>" on both sides compares the slot scripts.
    c.reset();
    c.a.launcher->content.choices.players[3].select("<Random>");
    EXPECT_EQ(c.local().playerSizes[3], c.size(c.a.game("multiplay/skirmish/player3.slo")));
    c.sendAi(c.local());
    EXPECT_EQ(c.column(), "OK");
    EXPECT_TRUE(c.a.ui.messages().empty());
}

TEST(LobbyChecks, EachModDifferenceHasItsNoticeAndColumn) {
    const std::string notActiveHere =
        "'Desert' is active on Bob's PC, but it's not active on your PC.\r\nActivate this MOD "
        "to make your Korvane campatible with HOST's Korvane.";
    struct Case {
        const char* payload;
        std::vector<std::string> notices;
        const char* column;
    };
    const std::vector<Case> cases = {
        {"Tanks//Islands", {}, "OK"},
        {"Islands//Tanks", {}, "OK"},
        {"Tanks//Islands//Moon",
         {"Bob's KDG configuration is not compatible with your configuration: 'Moon' MOD was "
          "not found"},
         "Not ready (KDG)"},
        {"Tanks",
         {"'Islands' is active on your PC, but it's not active on Bob's PC.\r\nDeactivate this "
          "MOD to make your Korvane campatible with Bob's Korvane."},
         "Not ready (KDG)"},
        // A MOD only the peer has on: said, but it does not change the readiness.
        {"Tanks//Islands//Desert", {notActiveHere}, "OK"},
        // No MOD at all passes, whatever is active here.
        {"", {}, "OK"},
        // Names are compared exactly.
        {"tanks//Islands",
         {"Bob's KDG configuration is not compatible with your configuration: "
          "'tanks' MOD was not found"},
         "Not ready (KDG)"},
    };
    Checked c;
    for (const Case& k : cases) {
        SCOPED_TRACE(k.payload);
        c.reset();
        c.feed(std::string("kdgconfig||") + k.payload + "||Bob");
        EXPECT_EQ(c.a.ui.messageTexts(), k.notices);
        EXPECT_EQ(c.column(), k.column);
    }
    // A reason stays until its own check passes: a matching AI configuration leaves it.
    c.reset();
    c.feed("kdgconfig||Moon||Bob");
    c.sendAi(c.local());
    EXPECT_EQ(c.column() + "|" + c.a.state().users[0].notReady, "Not ready (KDG)|kdg");
}

TEST(LobbyChecks, BrokenBlocksEndInTheErrorBoxAndLeaveTheReadiness) {
    const std::string subscript =
        "Error:\n9: Subscript out of range\nError in: remote_parseCommands()";
    std::string fortyMods;
    for (int i = 0; i < 40; ++i)
        fortyMods += (i ? "//M" : "M") + std::to_string(i);
    struct Case {
        std::string block;
        std::string box; // empty: ignored without a word
    };
    const std::vector<Case> cases = {
        {"aiconfig||<don't change>//<don't change>//<don't change>||Bob", subscript},
        {"kdgconfig||" + fortyMods + "||Bob", subscript},
        {"message||only two", subscript},
        {"aiconfig", subscript},
        {"senduserdetails||no separator||Bob", subscript},
        {"synchronai||a//b||Bob", subscript},
        {"aiconfig||<don't change>//<don't change>//<don't change>//<don't change>//"
         "<don't change>//<don't change>//<don't change>//<don't change>//<don't change>//"
         "x//1//1//1//1//1//1//1//1//||Bob",
         "Error:\n13: Type mismatch\nError in: remote_parseCommands()"},
        {"messages||x||Bob", ""},
        // An address that is no address is refused: no row, no record.
        {"nickname||1.2.3.4\" -ovyrdelmkasitroquenbafp -game \"CAM_3A||Eve", ""},
        {"nickname||-connect||Eve", ""},
        {"hello||world||Bob", ""},
        {std::string("\x01\xff||\0||", 7), ""},
    };
    Checked c;
    for (const Case& k : cases) {
        SCOPED_TRACE(k.block);
        c.reset();
        c.feed(k.block);
        EXPECT_EQ(c.a.ui.messageTexts(), k.box.empty() ? std::vector<std::string>{} : std::vector{k.box});
        EXPECT_TRUE(k.box.empty() || c.a.ui.messages().at(0).icon == Icon::Critical);
        EXPECT_EQ(c.a.rows(), std::vector<std::string>{"10.0.0.9|Bob|OK"});
    }
}

} // namespace
} // namespace kv::test
