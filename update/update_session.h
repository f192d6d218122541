#pragma once
// One update check and what follows from it: the parsed records, the news list, the offer
// list and the install of the ticked offers. The update window shows a session; kvstool
// drives the same session without a window.
#include "update/update_env.h"
#include "update/update_records.h"

#include <string>
#include <vector>

namespace kv::update {

// The running launcher's own version.
inline constexpr float kOwnVersion = 2.144f;
inline constexpr const char* kCaption = "Korvane Starter";
inline constexpr const char* kTempLauncherName = "KVSTemp.exe";
#ifdef _WIN32
inline constexpr const char* kRenamerName = "Renamer.exe";
#else
inline constexpr const char* kRenamerName = "Renamer";
#endif
// Where the maker publishes "Config.ini"; the "UpdateServer" setting and KVS_UPDATE_URL
// override it.
inline constexpr const char* kDefaultUpdateUrl =
    "http://update.korvane-starter.example/starter/Config.ini";
inline constexpr const char* kFallbackPath = "/KVS/Config.ini";
// The whole configuration fetch, fallback and signature included, ends within this.
inline constexpr int kConfigDeadlineMs = 60000;

// The keys the launcher trusts: those built in (KV_UPDATE_PUBLIC_KEYS at configure time)
// and those of the "UpdateKey" setting.
std::vector<std::string> knownUpdateKeys(const std::string& setting);

struct ServerLocations {
    std::string home;
    std::string fallback; // same scheme and host, path "/KVS/Config.ini"
};
ServerLocations serverLocations(const std::string& setting);

struct Offer {
    std::string key; // "kvs:0", "ai:3", ...
    std::string name;
    std::string type; // "KVS", "AI", "Rules", "Misc"
    std::string version;
    std::string sizeText; // "12 Kb"
    double bytes = 0;
    bool checked = false;
};

class UpdateSession {
public:
    explicit UpdateSession(UpdateEnv env) : env_(std::move(env)) {}

    UpdateEnv& env() { return env_; }
    UpdateState& state() { return state_; }
    const UpdateState& state() const { return state_; }

    // One complete check (`DoAutoUpdate`).
    void DoAutoUpdate(bool silent);

    // The checks' parts, each usable on its own.
    bool fetchConfiguration(bool silent); // reset, fetch, parse
    int refreshModDescriptions(bool silent);
    void autoDownloadMisc();
    void fillNews();
    bool buildOffers();

    // The check's "Config.ini" was signed by a known key; false also when no key is known.
    bool offersSigned() const { return signed_; }
    // Ends the running check or install at its next step; the transfer in flight stops at
    // once and keeps the old file.
    void cancel() { cancelled_ = true; }
    bool cancelled() const { return cancelled_; }

    const std::vector<std::string>& news() const { return news_; }
    const std::vector<Offer>& offers() const { return offers_; }
    bool showAll = false;
    // A check refreshes changed descriptions and fetches the automatic downloads; a tool
    // that only looks turns this off.
    bool applyAutomatic = true;

    // Ticking an item sets its record's selected flag.
    void setChecked(size_t offer, bool checked);
    void checkAll(bool checked);
    std::string totalSizeLabel() const;
    std::string descriptionOf(size_t offer) const;

    // The download button; false when the launcher was patched and must end now.
    bool installSelected();

    // Downloads one file into a pending file (`download`), with the download window and
    // the failure messages.
    bool download(const std::string& url, const std::string& displayName, double size,
                  const std::string& target, const std::string& sha256, PendingFile& out);

    bool installMisc(MiscRecord& misc);
    bool installAi(const AiRecord& ai);
    bool installRules(const RulesRecord& rules);
    bool patchLauncher();

    // True while a check or an install runs; both serve the event loop, so a second one
    // could otherwise start inside the first and pull the records from under it.
    bool busy() const { return busy_; }

    // Messages of the parse, kept for tools.
    const std::vector<std::string>& parseMessages() const { return parseMessages_; }

private:
    void say(const std::string& text, Icon icon);
    void caption(const std::string& suffix);
    // An empty text when `target` is none of the files the launcher keeps for itself,
    // otherwise the message that refuses it.
    std::string protectedFileRefusal(const std::string& target) const;
    std::string miscTarget(const MiscRecord& misc, std::string* refusal,
                           bool* guarded = nullptr) const;
    bool verifySignature(const std::string& signature, const std::string& config);
    // With a signed configuration, a record that runs code needs a SHA256 to be trusted.
    bool refuseUnhashedCode(const std::string& sha256, const std::string& name);
    bool offerAi(const AiRecord& ai) const;
    bool offerRules(const RulesRecord& rules) const;
    bool miscDiffers(const MiscRecord& misc) const;

    UpdateEnv env_;
    UpdateState state_;
    std::vector<std::string> news_;
    std::vector<Offer> offers_;
    std::vector<std::string> parseMessages_;
    bool silent_ = false;
    bool busy_ = false;
    bool signed_ = false;
    bool cancelled_ = false;
};

// "### ### ##0.0" as the total-size label writes numbers.
std::string formatSpacedNumber(double value);

} // namespace kv::update
