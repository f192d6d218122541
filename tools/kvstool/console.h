#pragma once
// How every kvstool area talks to its caller: its usage, bad arguments (exit code 2) and
// failures (exit code 1) on standard error, message boxes as lines, JSON on standard
// output.
#include "common/dialogless_ui.h"

#include <string>
#include <vector>

class QJsonValue;

namespace kv::tool {

class Area {
public:
    // `name` as it follows "kvstool " ("kdg project"); `usage` ends with a line break.
    // Every area lives for the whole run and is listed in all(), in the order of its
    // construction: the man page and the shell completion are made from that list.
    Area(std::string name, const char* usage);
    static const std::vector<const Area*>& all();
    const std::string& name() const { return name_; }
    const char* usageText() const { return usage_; }

    // True after printing the usage on standard output, when an argument asks for help.
    bool helpAsked(const std::vector<std::string>& args) const;
    // The problem, if any, and the usage on standard error; returns 2.
    int usage(const std::string& problem = {}) const;
    // One line "kvstool AREA: reason" on standard error; returns 1.
    int failure(const std::string& reason) const;
    // A value its option does not take: "bad value for OPTION: VALUE" and the usage.
    int badValue(const std::string& option, const std::string& value) const;

private:
    std::string name_;
    const char* usage_;
};

// Message boxes as one line each on standard error (line breaks become blanks, control
// characters are escaped). Nobody is there to answer: a question is answered No (or
// Cancel), and an Abort/Retry/Ignore box Ignore, so the work goes on without the item.
class ConsoleUi : public DialoglessUi {
public:
    explicit ConsoleUi(std::string prefix = {}) : prefix_(std::move(prefix)) {}

    bool informationOnStdout = false; // information boxes are results: stdout, no prefix
    bool showQuestions = true;

    Answer message(const std::string& text, Icon icon, Buttons buttons,
                   const std::string& title) override;

private:
    std::string prefix_;
};

// The folder kvstool runs from.
std::string toolFolder();

// The launcher folder kvstarter beside this kvstool uses: the program's own folder, or
// for an installed copy the user's folder (filled from the shipped files as kvstarter
// fills it). It holds the name tables and the list of the game's own archives.
std::string toolLauncherFolder();

// An object or array, indented, on standard output.
void printJson(const QJsonValue& value);

} // namespace kv::tool
