#include "update/update_session.h"

#include "content/line_syntax.h"
#include "content/text_util.h"
#include "platform/files.h"
#include "platform/text.h"
#include "update/config_parser.h"
#include "update/offer_signature.h"

#include <QElapsedTimer>
#include <QUrl>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace kv::update {

ServerLocations serverLocations(const std::string& setting) {
    ServerLocations l;
    const char* env = std::getenv("KVS_UPDATE_URL");
    l.home = env && *env ? std::string(env) : setting.empty() ? kDefaultUpdateUrl : setting;
    QUrl fallback(QString::fromStdString(l.home));
    fallback.setPath(QString::fromLatin1(kFallbackPath));
    fallback.setQuery(QString());
    fallback.setFragment(QString());
    l.fallback = fallback.toString().toStdString();
    return l;
}

std::vector<std::string> knownUpdateKeys(const std::string& setting) {
#ifdef KV_UPDATE_PUBLIC_KEYS
    std::vector<std::string> keys = parsePublicKeys(KV_UPDATE_PUBLIC_KEYS);
#else
    std::vector<std::string> keys;
#endif
    for (std::string& k : parsePublicKeys(setting))
        keys.push_back(std::move(k));
    return keys;
}

namespace {

// Stops a configuration fetch when the session is cancelled.
class CancelWatch final : public Progress {
public:
    explicit CancelWatch(const bool& cancelled) : cancelled_(cancelled) {}
    void setStatus(const std::string&) override {}
    void setProgress(std::uint64_t, std::uint64_t) override {}
    bool stopRequested() override { return cancelled_; }

private:
    const bool& cancelled_;
};

// "Config.ini.sig" beside "Config.ini", whatever query the address carries.
std::string signatureUrl(const std::string& configUrl) {
    QUrl url(QString::fromStdString(configUrl));
    url.setPath(url.path() + QStringLiteral(".sig"));
    return url.toString().toStdString();
}

} // namespace

void UpdateSession::say(const std::string& text, Icon icon) {
    // A cancelled session (the user's Cancel, or the launcher closing) says nothing more.
    if (!silent_ && !cancelled_)
        env_.ui.message(text, icon);
}

void UpdateSession::caption(const std::string& suffix) {
    if (env_.setCaption)
        env_.setCaption(kCaption + suffix);
}

bool UpdateSession::fetchConfiguration(bool silent) {
    silent_ = silent;
    state_ = UpdateState{};
    offers_.clear();
    news_.clear();
    parseMessages_.clear();
    signed_ = false;
    const ServerLocations where = serverLocations(env_.serverSetting);
    // Fewer than 10 characters, or an HTML page, is no configuration.
    auto usable = [](const TextResult& r) {
        return r.error == TransferError::None && r.text.size() >= 10 && !r.text.starts_with("<!");
    };
    // One deadline for every fetch of the check: a server that trickles bytes restarts the
    // idle timer of each fetch, never this.
    QElapsedTimer clock;
    clock.start();
    CancelWatch watch(cancelled_);
    const int deadline =
        env_.transfer.deadlineMs > 0 ? env_.transfer.deadlineMs : kConfigDeadlineMs;
    auto remaining = [&] { return deadline - int(clock.elapsed()); };
    auto fetch = [&](const std::string& url) {
        TransferOptions options = env_.transfer;
        options.deadlineMs = std::max(1, remaining());
        return fetchText(url, options, &watch);
    };
    std::string from = where.home;
    TextResult got = fetch(from);
    if (!usable(got) && where.fallback != where.home && !cancelled_ && remaining() > 0) {
        from = where.fallback;
        got = fetch(from);
    }
    if (cancelled_)
        return false;
    if (!usable(got)) {
        say("Failed to download Auto-Update configuration file.", Icon::Exclamation);
        return false;
    }
    if (!env_.publicKeys.empty()) {
        const TextResult signature = fetch(signatureUrl(from));
        if (cancelled_)
            return false;
        if (!verifySignature(signature.text, got.text))
            return false;
    }
    const auto vars = content::FolderVars::from(env_.paths, env_.gameFolder);
    ParseResult parsed = parseUpdateConfig(platform::splitLines(got.text), vars);
    state_ = std::move(parsed.state);
    parseMessages_ = std::move(parsed.messages);
    if (!silent)
        for (const auto& m : parseMessages_)
            env_.ui.message(m, Icon::Exclamation, Buttons::Ok, kParseErrorTitle);
    return true;
}

bool UpdateSession::verifySignature(const std::string& signature, const std::string& config) {
    const SignatureCheck check = signature.empty()
                                     ? SignatureCheck::Malformed
                                     : kv::update::checkSignature(config, signature, env_.publicKeys);
    if (check == SignatureCheck::Verified) {
        signed_ = true;
        return true;
    }
    say(signature.empty()
            ? "The update server's configuration is not signed (no Config.ini.sig); its offers "
              "are not shown."
            : "The update server's configuration does not carry a valid signature of a known "
              "key; its offers are not shown.",
        Icon::Exclamation);
    return false;
}

void UpdateSession::DoAutoUpdate(bool silent) {
    if (busy_) {
        // A check asked for while an install runs would read the records it installs from.
        if (!silent)
            env_.ui.message("An update is being installed; check again when it has finished.",
                            Icon::Information);
        return;
    }
    busy_ = true;
    cancelled_ = false;
    silent_ = silent;
    caption(" - checking for updates.....");
    const bool fetched = fetchConfiguration(silent);
    if (fetched && !state_.active)
        say("Auto-Update feature is temporary disabled.\r\nPlease try again later.",
            Icon::Information);
    if (fetched && state_.active && !cancelled_) {
        if (applyAutomatic) {
            const int refreshed = refreshModDescriptions(silent);
            if (refreshed < 0)
                say("One or more errors occured while downloading MOD configurations.",
                    Icon::Exclamation);
            else if (refreshed > 0)
                say("Successfully downloaded " + std::to_string(refreshed) + " configurations.",
                    Icon::Information);
            autoDownloadMisc();
        }
        fillNews();
        // Nothing is shown or asked once the session was cancelled.
        const bool offered = buildOffers() && !cancelled_;
        if (!silent && !cancelled_) {
            if (env_.showWindow)
                env_.showWindow();
        } else if (offered &&
                   env_.ui.message("There are new downloads available, would you like to see a "
                                   "list of available downloads?",
                                   Icon::Question, Buttons::YesNo) == Answer::Yes &&
                   env_.showWindow) {
            env_.showWindow();
        }
    }
    caption("");
    busy_ = false;
}

namespace {

double sizeOf(const std::string& path) {
    const auto n = platform::fileLength(path);
    return n ? double(*n) : -1;
}

bool plainFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\:") == std::string::npos;
}

} // namespace

int UpdateSession::refreshModDescriptions(bool silent) {
    silent_ = silent;
    int installed = 0;
    bool failed = false;
    const Paths& p = env_.paths;

    // One description file: downloaded, then put in place.
    auto fetchInto = [&](const std::string& url, const std::string& display, const IniRecord& ini,
                         const std::string& target, const std::string& downloadFailure,
                         const std::string& installFailure) {
        PendingFile file;
        if (!download(url, display, ini.size, target, ini.sha256, file)) {
            say(downloadFailure, Icon::Exclamation);
            failed = true;
        } else if (!file.commit()) {
            say(installFailure, Icon::Exclamation);
            failed = true;
        } else {
            ++installed;
        }
    };
    auto kdgInis = [&](const std::vector<KdgRecord>& kdgs, const std::string& title) {
        for (const KdgRecord& k : kdgs) {
            if (k.ini.url.empty() || !plainFileName(k.name))
                continue;
            const std::string target =
                joinPath(p.kdgIniFolder, content::withoutExtension(k.name) + ".ini");
            if (sizeOf(target) == double(k.ini.size))
                continue;
            fetchInto(k.ini.url, "'" + k.name + "' INI file", k.ini, target,
                      "Failed to download KDG configuration file for " + title + ".",
                      "Failed to install KDG configuration file for " + title + ".");
        }
    };
    auto refresh = [&](const auto& record, const content::Description* installedInfo,
                       const std::string& iniFolder) {
        if (!record.hasIni || !installedInfo || !plainFileName(record.title))
            return;
        if (installedInfo->fileSize == double(record.ini.size))
            return;
        fetchInto(record.ini.url, "'" + record.title + "' INI file", record.ini,
                  joinPath(iniFolder, record.title + ".ini"),
                  "Failed to download configuration file for " + record.title,
                  "Failed to install configuration file for " + record.title);
        kdgInis(record.kdgs, record.title);
    };
    for (const AiRecord& ai : state_.ais) {
        const auto* have = env_.content.ais.find(ai.title);
        refresh(ai, have ? &have->info : nullptr, p.aiIniFolder);
    }
    for (const RulesRecord& r : state_.rules) {
        const auto* have = env_.content.rules.find(r.title);
        refresh(r, have ? &have->info : nullptr, p.rulesIniFolder);
    }
    if (env_.refreshModList)
        env_.refreshModList();
    if (env_.reloadCatalogues)
        env_.reloadCatalogues();
    return failed ? -1 : installed;
}

std::string UpdateSession::protectedFileRefusal(const std::string& target) const {
    namespace fs = std::filesystem;
    // Compared as the file system would find them: links followed, letters in any case.
    auto real = [](const std::string& path) {
        std::error_code ec;
        const fs::path p = fs::weakly_canonical(fs::path(path), ec);
        return content::toLower(ec ? path : p.string());
    };
    const std::string file = real(target);
    const Paths& p = env_.paths;
    std::string settings = real(p.settingsFolder);
    while (!settings.empty() && (settings.back() == '/' || settings.back() == '\\'))
        settings.pop_back();
    bool guarded = file == settings || (file.starts_with(settings) && file.size() > settings.size() &&
                                        (file[settings.size()] == '/' || file[settings.size()] == '\\'));
    for (const std::string& own :
         {env_.executable, joinPath(p.launcherFolder, kRenamerName),
          joinPath(p.launcherFolder, "Renamer.exe"), joinPath(p.launcherFolder, kTempLauncherName),
          env_.registryStore})
        guarded = guarded || (!own.empty() && real(own) == file);
    if (!guarded)
        return {};
    return "'" + target + "' belongs to Korvane Starter itself; an update may not replace it.";
}

std::string UpdateSession::miscTarget(const MiscRecord& misc, std::string* refusal,
                                      bool* guarded) const {
    const std::string name = urlFileName(misc.url);
    if (!plainFileName(name)) {
        if (refusal)
            *refusal = "'" + misc.url + "' names no file.";
        return {};
    }
    // Relative paths are taken from the launcher folder; the result must stay inside it.
    const QString root = QUrl::fromLocalFile(QString::fromStdString(env_.paths.launcherFolder))
                             .adjusted(QUrl::NormalizePathSegments)
                             .toLocalFile();
    const QString base = root.endsWith('/') ? root.chopped(1) : root;
    std::string local = misc.localPath;
    for (char& c : local)
        if (c == '\\')
            c = '/';
    QString path = QString::fromStdString(local);
    if (!path.startsWith('/'))
        path = base + '/' + path;
    path = QUrl::fromLocalFile(path + '/' + QString::fromStdString(name))
               .adjusted(QUrl::NormalizePathSegments)
               .toLocalFile();
    const QString inside = base + '/';
    if (!path.startsWith(inside) || path.contains(QStringLiteral("/../"))) {
        if (refusal)
            *refusal = "'" + misc.localPath + "' lies outside the Korvane Starter folder.";
        return {};
    }
    std::string target = platform::resolvePath(path.toStdString());
    if (std::string own = protectedFileRefusal(target); !own.empty()) {
        if (refusal)
            *refusal = std::move(own);
        if (guarded)
            *guarded = true;
        return {};
    }
    return target;
}

bool UpdateSession::miscDiffers(const MiscRecord& misc) const {
    const std::string target = miscTarget(misc, nullptr);
    return !target.empty() && sizeOf(target) != double(misc.size);
}

void UpdateSession::autoDownloadMisc() {
    for (MiscRecord& m : state_.misc)
        // A refused path is tried too, so the user hears why it never arrives.
        if (m.autoDownload && (miscTarget(m, nullptr).empty() || miscDiffers(m)) && !installMisc(m))
            say("Failed to install '" + m.name + "'.", Icon::Exclamation);
}

void UpdateSession::fillNews() {
    news_.clear();
    for (const MessageRecord& m : state_.messages)
        news_.push_back(m.name + " (" + m.author + ")");
}

bool UpdateSession::offerAi(const AiRecord& ai) const {
    const auto* have = env_.content.ais.find(ai.title);
    if (showAll || !have)
        return true;
    // The catalogue keeps no version of an installed AI, so only the size can tell.
    const float installedVersion = 0;
    if (installedVersion != 0 && ai.version != 0 && ai.version > installedVersion)
        return true;
    return ai.size != 0 && sizeOf(joinPath(have->directory, ai.title + ".kvai")) != ai.size;
}

bool UpdateSession::offerRules(const RulesRecord& r) const {
    const auto* have = env_.content.rules.find(r.title);
    if (showAll || !have)
        return true;
    const std::string folder = have->directory;
    return (r.sloSize != 0 && sizeOf(joinPath(folder, "rules.slo")) != r.sloSize) ||
           (r.vloSize != 0 && sizeOf(joinPath(folder, "rules.vlo")) != r.vloSize);
}

namespace {

Offer makeOffer(std::string key, std::string name, const char* type, float version, double bytes) {
    Offer o;
    o.key = std::move(key);
    o.name = std::move(name);
    o.type = type;
    o.version = formatVersion(version);
    o.bytes = bytes;
    o.sizeText = std::to_string(static_cast<long long>(std::floor(bytes / 1024))) + " Kb";
    return o;
}

} // namespace

bool UpdateSession::buildOffers() {
    offers_.clear();
    const LauncherRecord& l = state_.launcher;
    // A file without a launcher address has no launcher to offer.
    const bool hasLauncher = l.url.find_first_not_of(" \t") != std::string::npos;
    if (hasLauncher && env_.selfUpdate &&
        (l.version > kOwnVersion || showAll ||
         (l.size != 0 && sizeOf(env_.executable) != double(l.size))))
        offers_.push_back(makeOffer("kvs:0", "Korvane Starter " + formatVersion(l.version), "KVS",
                                    l.version, l.size));
    for (size_t i = 0; i < state_.ais.size(); ++i)
        if (offerAi(state_.ais[i]))
            offers_.push_back(makeOffer("ai:" + std::to_string(i), state_.ais[i].title, "AI",
                                        state_.ais[i].version, state_.ais[i].size));
    for (size_t i = 0; i < state_.rules.size(); ++i) {
        const RulesRecord& r = state_.rules[i];
        if (offerRules(r))
            offers_.push_back(makeOffer("rules:" + std::to_string(i), r.title, "Rules", r.version,
                                        r.sloSize + r.vloSize));
    }
    for (size_t i = 0; i < state_.misc.size(); ++i) {
        const MiscRecord& m = state_.misc[i];
        // A record aimed at the launcher's own files is never offered, not even to explain.
        bool guarded = false;
        const bool refused = miscTarget(m, nullptr, &guarded).empty();
        if (!guarded && (showAll || miscDiffers(m) || refused))
            offers_.push_back(
                makeOffer("misc:" + std::to_string(i), m.name, "Misc", m.version, m.size));
    }
    // A record's ticks live in the record; a rebuilt list shows them.
    for (Offer& o : offers_) {
        const auto colon = o.key.find(':');
        const size_t i = std::strtoul(o.key.c_str() + colon + 1, nullptr, 10);
        const std::string type = o.key.substr(0, colon);
        o.checked = type == "kvs"     ? state_.launcher.selected
                    : type == "ai"    ? state_.ais[i].selected
                    : type == "rules" ? state_.rules[i].selected
                                      : state_.misc[i].selected;
    }
    return !offers_.empty();
}

void UpdateSession::setChecked(size_t offer, bool checked) {
    if (offer >= offers_.size())
        return;
    Offer& o = offers_[offer];
    o.checked = checked;
    const auto colon = o.key.find(':');
    const size_t i = std::strtoul(o.key.c_str() + colon + 1, nullptr, 10);
    const std::string type = o.key.substr(0, colon);
    if (type == "kvs")
        state_.launcher.selected = checked;
    else if (type == "ai")
        state_.ais[i].selected = checked;
    else if (type == "rules")
        state_.rules[i].selected = checked;
    else
        state_.misc[i].selected = checked;
}

void UpdateSession::checkAll(bool checked) {
    for (size_t i = 0; i < offers_.size(); ++i)
        setChecked(i, checked);
}

std::string formatSpacedNumber(double value) {
    char digits[64];
    std::snprintf(digits, sizeof digits, "%.1f", std::fabs(value));
    const std::string text = digits;
    const size_t point = text.find('.');
    std::string whole = text.substr(0, point);
    // Nine digit places in three groups; "#" places stay empty, the spaces between the
    // groups are literal and always written.
    std::string out;
    const char* pattern = "### ### ##0";
    int digitPlace = 0;
    for (int i = int(std::string_view(pattern).size()) - 1; i >= 0; --i) {
        const char c = pattern[i];
        if (c == ' ') {
            out.insert(out.begin(), ' ');
            continue;
        }
        const int fromRight = digitPlace++;
        if (fromRight < int(whole.size()))
            out.insert(out.begin(), whole[whole.size() - 1 - size_t(fromRight)]);
    }
    if (whole.size() > 9)
        out.insert(0, whole.substr(0, whole.size() - 9));
    return (value < 0 ? "-" : "") + out + text.substr(point);
}

std::string UpdateSession::totalSizeLabel() const {
    double total = 0;
    for (const Offer& o : offers_)
        if (o.checked)
            total += o.bytes;
    double value = total / 1024;
    const char* unit = " KBs";
    if (value > 1024) {
        value /= 1024;
        unit = " MBs";
    }
    return "Total size: " + formatSpacedNumber(value) + unit;
}

std::string UpdateSession::descriptionOf(size_t offer) const {
    if (offer >= offers_.size())
        return {};
    const Offer& o = offers_[offer];
    const auto colon = o.key.find(':');
    const size_t i = std::strtoul(o.key.c_str() + colon + 1, nullptr, 10);
    const std::string type = o.key.substr(0, colon);
    return type == "kvs"     ? state_.launcher.description
           : type == "ai"    ? state_.ais[i].description
           : type == "rules" ? state_.rules[i].description
                             : state_.misc[i].description;
}

} // namespace kv::update
