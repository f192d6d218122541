#include "launcher/links_file.h"

#include "common/ui_port.h"
#include "content/line_syntax.h"
#include "core/colour_contrast.h"
#include "launcher/launcher.h"
#include "platform/files.h"
#include "platform/text.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <vector>

namespace kv {

namespace {

std::string upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return char(std::toupper(c)); });
    return s;
}

std::vector<std::string_view> lines(std::string_view text) {
    std::vector<std::string_view> out;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        out.push_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return out;
}

// A quoted value as in every description file, or a bare one after the equals sign.
bool keyValue(const std::string& cleaned, const content::FolderVars& vars, content::KeyValue& kv) {
    if (content::isKeyLine(cleaned))
        return content::keyAndValue(cleaned, vars, kv);
    const auto eq = cleaned.find('=');
    if (eq == std::string::npos)
        return false;
    kv.key = std::string(platform::trimBlanksTabs(std::string_view(cleaned).substr(0, eq)));
    const std::string value(platform::trimBlanksTabs(std::string_view(cleaned).substr(eq + 1)));
    if (kv.key.empty() || value.empty())
        return false;
    kv.value = content::expandValue(value, vars);
    return true;
}

} // namespace

bool parseLinkColour(std::string_view text, std::uint32_t& colour) {
    if (text.empty() || text.size() > 8)
        return false;
    std::uint32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + std::uint32_t(c - '0');
    }
    if (value > 0xFFFFFF)
        return false;
    colour = value;
    return true;
}

namespace {

// Text on a custom background stays readable on every palette: the file's own text colour
// when it gives one, else black or white by contrast.
class ReadableColours {
public:
    explicit ReadableColours(MainLinkSettings& settings) : settings_(settings) {}
    ~ReadableColours() {
        if (set(settings_.background) && !set(settings_.textColor))
            settings_.textColor = readableTextOn(settings_.background);
        if (set(settings_.backgroundFlash) && !set(settings_.textFlash))
            settings_.textFlash = readableTextOn(settings_.backgroundFlash);
        settings_.startButtonText = readableTextOn(settings_.startButtonBack);
    }
    void noteSet(const std::uint32_t* colour) { set_.push_back(colour); }

private:
    bool set(const std::uint32_t& colour) const {
        return std::find(set_.begin(), set_.end(), &colour) != set_.end();
    }
    MainLinkSettings& settings_;
    std::vector<const std::uint32_t*> set_;
};

} // namespace

bool applyLinksText(std::string_view text, const content::FolderVars& vars,
                    MainLinkSettings& settings) {
    ReadableColours readable(settings);
    for (std::string_view raw : lines(text)) {
        const std::string cleaned = content::cleanLine(raw);
        content::KeyValue kv;
        if (!keyValue(cleaned, vars, kv))
            continue;
        const std::string key = upper(kv.key);
        std::string* textSetting = key == "MAINLINKTEXTEXPANDED"    ? &settings.textExpanded
                                   : key == "MAINLINKTEXTCOLLAPSED" ? &settings.textCollapsed
                                   : key == "MAINLINKURL"           ? &settings.url
                                                                    : nullptr;
        if (textSetting) {
            *textSetting = kv.value;
            continue;
        }
        std::uint32_t* colour = key == "MAINLINKBACKGROUND"             ? &settings.background
                                : key == "MAINLINKTEXTCOLOR"            ? &settings.textColor
                                : key == "MAINLINKBACKGROUNDFLASHCOLOR" ? &settings.backgroundFlash
                                : key == "MAINLINKTEXTFLASHCOLOR"       ? &settings.textFlash
                                : key == "STARTBUTTONBACKCOLOR"         ? &settings.startButtonBack
                                                                        : nullptr;
        if (colour && !parseLinkColour(kv.value, *colour))
            return false;
        if (colour)
            readable.noteSet(colour);
    }
    return true;
}

void InitializeMainLink(Launcher& l) {
    l.mainLink = MainLinkSettings{};
}

bool LoadCustomKVSLinks(Launcher& l) {
    const std::string path = l.paths.underLauncher(kLinksFile);
    if (!platform::fileExists(path))
        return false;
    std::string text;
    if (!platform::readFile(path, text))
        return false;
    const auto vars = content::FolderVars::from(l.paths, l.installations.currentGameFolder());
    applyLinksText(text, vars, l.mainLink);
    l.view().refresh();
    return true;
}

bool isOpenableAddress(std::string_view target) {
    if (std::any_of(target.begin(), target.end(),
                    [](unsigned char c) { return c < 0x20 || c == 0x7f; }))
        return false;
    for (std::string_view scheme : {"http://", "https://"})
        if (target.size() > scheme.size() &&
            platform::equalsNoCase(target.substr(0, scheme.size()), scheme))
            return true;
    // A query could attach a file or fill in a message the user never wrote.
    const std::string_view mailto = "mailto:";
    return target.size() > mailto.size() &&
           platform::equalsNoCase(target.substr(0, mailto.size()), mailto) &&
           target.find('?') == std::string_view::npos;
}

namespace {

// The question with the address on a line of its own, so the user sees where a Yes
// leads; an address that is no web or mail address is refused without a question.
bool allowedAndAsked(Launcher& l, const std::string& question, const std::string& target) {
    if (!isOpenableAddress(target)) {
        std::string shown;
        for (char c : target)
            shown += static_cast<unsigned char>(c) < 0x20 || c == 0x7f ? '?' : c;
        l.ui().message("This address is not opened: only web addresses (http:, https:) and "
                       "e-mail addresses are.\r\n" +
                           shown,
                       Icon::Exclamation);
        return false;
    }
    return l.ui().message(question + "\r\n" + target, Icon::Question, Buttons::YesNo) ==
           Answer::Yes;
}

} // namespace

bool followMainLink(Launcher& l) {
    if (!allowedAndAsked(l, "Go to " + l.mainLink.textExpanded + " ?", l.mainLink.url))
        return false;
    const bool opened = l.openInShell(l.mainLink.url);
    l.view().minimise();
    return opened;
}

namespace {

bool askThenOpen(Launcher& l, const std::string& question, const std::string& target) {
    if (!allowedAndAsked(l, question, target))
        return false;
    if (l.alwaysOnTop)
        l.view().minimise();
    return l.openInShell(target);
}

std::string authorOrUnknown(const std::string& author) {
    return author.empty() ? std::string("unknown") : author;
}

} // namespace

bool followAuthorHomepage(Launcher& l, const std::string& author, const std::string& homepage) {
    if (homepage.empty())
        return false;
    return askThenOpen(l, "Go to " + authorOrUnknown(author) + "'s Homepage?", homepage);
}

bool writeToAuthor(Launcher& l, const std::string& author, const std::string& address) {
    if (address.empty())
        return false;
    return askThenOpen(l,
                       "Open E-mail client to send an e-mail to " + authorOrUnknown(author) + " (" +
                           address + ")" + " ?",
                       "mailto:" + address);
}

bool writeToAddress(Launcher& l, const std::string& address) {
    if (address.empty())
        return false;
    return askThenOpen(l, "Open E-mail client to send an e-mail to " + address + " ?",
                       "mailto:" + address);
}

} // namespace kv
