#pragma once
// "Settings\KVS\KVSLinks.ini": replaces the main link's texts, address and colours and
// the start button's colour. Key lines as in the update configuration file; keys in any
// letter case; the later line wins.
#include "core/main_link.h"

#include <string>
#include <string_view>

namespace kv {

class Launcher;
namespace content {
struct FolderVars;
}

inline constexpr const char* kLinksFile = "Settings\\KVS\\KVSLinks.ini";

// A colour as the file writes it: a decimal whole number from 0 to 0xFFFFFF. False for
// anything else, which stops the rest of the file from being applied.
bool parseLinkColour(std::string_view text, std::uint32_t& colour);

// Applies the file's lines to `settings` in order. False when a bad colour stopped it;
// what came before stays applied. A background set without its text colour gets black or
// white text, whichever reads better on it, and so does the start button always.
bool applyLinksText(std::string_view text, const content::FolderVars& vars,
                    MainLinkSettings& settings);

// The defaults of the link settings (`InitializeOnce`).
void InitializeMainLink(Launcher& launcher);

// Reads the file when it exists; true when it was read. The window recolours from the
// launcher's settings when it is refreshed.
bool LoadCustomKVSLinks(Launcher& launcher);

// Only http:, https: and mailto: addresses without a query are handed to the desktop's
// opener: a link from a content file could otherwise run a local program or script, or
// attach a file to a mail. Every link below is refused with a message otherwise, and
// asks its question with the address on a line of its own.
bool isOpenableAddress(std::string_view target);

// The main link was clicked: after a Yes the page opens and the main window goes to the
// task bar, so the browser is not hidden behind it. True when the page was opened.
bool followMainLink(Launcher& launcher);

// The selected MOD's author links. With always-on-top the main window goes to the task
// bar first, so the browser or mail window is not hidden. True when something opened.
bool followAuthorHomepage(Launcher& launcher, const std::string& author,
                          const std::string& homepage);
bool writeToAuthor(Launcher& launcher, const std::string& author, const std::string& address);
// The About page's and the manager's e-mail labels: the address alone.
bool writeToAddress(Launcher& launcher, const std::string& address);

} // namespace kv
