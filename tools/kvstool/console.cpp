#include "tools/kvstool/console.h"

#include "tools/kvstool/terminal_text.h"

#include "core/launcher_folder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <cstdio>
#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#endif

namespace kv::tool {

namespace {

std::vector<const Area*>& areas() {
    static std::vector<const Area*> list;
    return list;
}

} // namespace

Area::Area(std::string name, const char* usage) : name_(std::move(name)), usage_(usage) {
    areas().push_back(this);
}

const std::vector<const Area*>& Area::all() {
    return areas();
}

int Area::badValue(const std::string& option, const std::string& value) const {
    return usage("bad value for " + option + ": " + value);
}

bool Area::helpAsked(const std::vector<std::string>& args) const {
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            std::fputs(usage_, stdout);
            return true;
        }
    }
    return false;
}

int Area::usage(const std::string& problem) const {
    if (!problem.empty())
        std::fprintf(stderr, "kvstool %s: %s\n", name_.c_str(), escapeControls(problem).c_str());
    std::fputs(usage_, stderr);
    return 2;
}

int Area::failure(const std::string& reason) const {
    std::fprintf(stderr, "kvstool %s: %s\n", name_.c_str(), escapeControls(reason).c_str());
    return 1;
}

Answer ConsoleUi::message(const std::string& text, Icon icon, Buttons buttons, const std::string&) {
    const bool question = buttons != Buttons::Ok;
    if (!question || showQuestions) {
        std::string line;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                continue; // CR LF is one break
            line += text[i] == '\r' || text[i] == '\n' ? ' ' : text[i];
        }
        const bool result = informationOnStdout && icon == Icon::Information;
        std::fprintf(result ? stdout : stderr, "%s%s\n", result ? "" : prefix_.c_str(),
                     escapeControls(line).c_str());
    }
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::AbortRetryIgnore:
        return Answer::Ignore;
    case Buttons::OkCancel:
    case Buttons::RetryCancel:
        return Answer::Cancel;
    default:
        return Answer::No;
    }
}

std::string toolFolder() {
#ifdef _WIN32
    char buffer[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    return std::filesystem::path(std::string(buffer, n)).parent_path().string();
#else
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : self.parent_path().string();
#endif
}

std::string toolLauncherFolder() {
    return chooseLauncherFolder(toolFolder()).folder;
}

void printJson(const QJsonValue& value) {
    const QByteArray text = value.isArray()
                                ? QJsonDocument(value.toArray()).toJson(QJsonDocument::Indented)
                                : QJsonDocument(value.toObject()).toJson(QJsonDocument::Indented);
    std::fwrite(text.constData(), 1, std::size_t(text.size()), stdout);
}

} // namespace kv::tool
