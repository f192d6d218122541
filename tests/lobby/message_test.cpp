#include "lobby/host_address.h"
#include "lobby/message.h"

#include <gtest/gtest.h>

namespace kv::lobby {
namespace {

using Fields = std::vector<std::string>;

TEST(LobbyMessage, BuildsThreeFieldsAndListPayloads) {
    EXPECT_EQ(buildMessage(Command::DisableMods, "", "Al"), "disablemods||||Al");
    EXPECT_EQ(buildMessage(Command::KdgConfig, joinItems({}, kItemSeparator), "Al"),
              "kdgconfig||||Al");
    AiConfig c;
    c.players = {"<don't change>", "Raider", "", "<Random>", "a", "b", "c", "d"};
    c.rules = "Hard Times";
    c.playerSizes = {1, 2, 3, 4, 5, 6, 7, 8};
    c.rulesSize = 900;
    EXPECT_EQ(aiConfigPayload(c), "<don't change>//Raider////<Random>//a//b//c//d//Hard "
                       "Times//1//2//3//4//5//6//7//8//900//");
}

TEST(LobbyMessage, ParsesBlocksTheWayPeersSendThem) {
    struct Case {
        std::string block;
        std::optional<Command> command;
        Fields fields;
    };
    const std::vector<Case> cases = {
        {"nickname||10.0.0.2||Al", Command::Nickname, {"nickname", "10.0.0.2", "Al"}},
        // Upper and mixed case are accepted; the fields keep their case.
        {"NickName||x||Al", Command::Nickname, {"NickName", "x", "Al"}},
        {"DISABLEMODS||||Al", Command::DisableMods, {"DISABLEMODS", "", "Al"}},
        // Two messages in one block: one message whose nick runs into the next command.
        {"message||hi||Almessage||there||Al",
         Command::Message,
         {"message", "hi", "Almessage", "there", "Al"}},
        // A nick holding "||" gives extra fields; field 2 is still read as the nick.
        {"ping||1.2.3.4||A||l", Command::Ping, {"ping", "1.2.3.4", "A", "l"}},
        {"nickname", Command::Nickname, {"nickname"}},
        {"", std::nullopt, {""}},
        {"nick||x||y", std::nullopt, {"nick", "x", "y"}},
        {"nicknames||x||y", std::nullopt, {"nicknames", "x", "y"}},
        {" ping||x||y", std::nullopt, {" ping", "x", "y"}},
        {"|||||", std::nullopt, {"", "", "|"}},
        {std::string("ping\0||x", 8), std::nullopt, {std::string("ping\0", 5), "x"}},
    };
    for (const Case& c : cases) {
        const Block b = parseBlock(c.block);
        EXPECT_EQ(b.command, c.command) << c.block;
        EXPECT_EQ(b.fields, c.fields) << c.block;
    }
    // Every command name survives a round trip.
    for (int i = 0; i <= int(Command::DisableMods); ++i)
        EXPECT_EQ(parseBlock(buildMessage(Command(i), " ", "n")).command, Command(i));
}

TEST(LobbyMessage, OnlyAnAddressIsAHostAddress) {
    const std::string longest = std::string(63, 'a') + "." + std::string(63, 'b') + "." +
                                std::string(63, 'c') + "." + std::string(61, 'd');
    const std::string tooLong = longest + "d";
    for (const std::string good : {"10.0.0.7", "host-2.lan", "KORVANE", longest.c_str()})
        EXPECT_TRUE(isHostAddress(good)) << good;
    for (const std::string bad : {"", "1.2.3.4\" -ovyrdelmkasitroquenbafp", "-host", "a..b", "a b",
                                  "10.0.0.7.", "a/b", "h\xe9te", tooLong.c_str()})
        EXPECT_FALSE(isHostAddress(bad)) << bad;
}

} // namespace
} // namespace kv::lobby
