#include "lobby/message.h"

#include <cstddef>

namespace kv::lobby {

namespace {

constexpr std::array<const char*, 14> kCommandNames = {
    "nickname",   "aiconfig",       "disconnect",       "message",    "kdgconfig",
    "startgame",  "updatemystatus", "nicknameresponse", "ping",       "pingresponse",
    "synchronai", "getuserdetails", "senduserdetails",  "disablemods"};

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

} // namespace

const char* commandName(Command command) {
    return kCommandNames[size_t(command)];
}

std::string buildMessage(Command command, std::string_view payload, std::string_view nick) {
    std::string message = commandName(command);
    message.append(kFieldSeparator).append(payload).append(kFieldSeparator).append(nick);
    return message;
}

std::vector<std::string> splitOn(std::string_view text, std::string_view separator) {
    std::vector<std::string> items;
    size_t start = 0;
    for (size_t at = text.find(separator); at != std::string_view::npos;
         at = text.find(separator, start)) {
        items.emplace_back(text.substr(start, at - start));
        start = at + separator.size();
    }
    items.emplace_back(text.substr(start));
    return items;
}

std::string joinItems(const std::vector<std::string>& items, std::string_view separator) {
    std::string joined;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            joined.append(separator);
        joined.append(items[i]);
    }
    return joined;
}

Block parseBlock(std::string_view block) {
    Block parsed;
    parsed.fields = splitOn(block, kFieldSeparator);
    std::string name = parsed.fields.front();
    for (char& c : name)
        c = lowerAscii(c);
    for (size_t i = 0; i < kCommandNames.size(); ++i)
        if (name == kCommandNames[i]) {
            parsed.command = Command(i);
            break;
        }
    return parsed;
}

std::string aiConfigPayload(const AiConfig& config) {
    std::string payload;
    auto item = [&payload](std::string_view text) { payload.append(text).append(kItemSeparator); };
    for (const auto& player : config.players)
        item(player);
    item(config.rules);
    for (const auto size : config.playerSizes)
        item(std::to_string(size));
    item(std::to_string(config.rulesSize));
    return payload;
}

} // namespace kv::lobby
