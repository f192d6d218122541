#pragma once
// The one way the system's operations reach the user. The Qt layer implements it with
// real dialogs; tests use a scripted implementation that records every message.
#include <optional>
#include <string>
#include <vector>

namespace kv {

enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Buttons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class Answer { Ok, Cancel, Abort, Retry, Ignore, Yes, No };

class Ui {
public:
    virtual ~Ui() = default;

    // A modal message box. An empty title means the program's name.
    virtual Answer message(const std::string& text, Icon icon = Icon::None,
                           Buttons buttons = Buttons::Ok, const std::string& title = {}) = 0;

    // The same box with `defaultButton` the one Enter presses; without it the box's first
    // button is. Questions whose safe answer is another button name it here.
    Answer message(const std::string& text, Icon icon, Buttons buttons, const std::string& title,
                   Answer defaultButton) {
        return messageWithDefault(text, icon, buttons, title, defaultButton);
    }

    // An input box; nothing when cancelled.
    virtual std::optional<std::string> input(const std::string& prompt,
                                             const std::string& title = {},
                                             const std::string& defaultText = {}) = 0;

    // File dialogs. `filter` is "description|pattern|description|pattern..." with
    // patterns separated by ';'. They return the chosen file's full path.
    virtual std::optional<std::string> openFile(const std::string& title, const std::string& filter,
                                                const std::string& initialFolder = {}) = 0;
    virtual std::optional<std::string> saveFile(const std::string& title, const std::string& filter,
                                                const std::string& initialFolder = {},
                                                const std::string& defaultName = {}) = 0;

    // A folder picker; the folder ends with a separator.
    virtual std::optional<std::string> pickFolder(const std::string& title,
                                                  const std::string& initialFolder = {}) = 0;

    // Lets the user pick one of `items`; the index, or nothing when cancelled.
    virtual std::optional<int> choose(const std::string& title,
                                      const std::vector<std::string>& items, int current = 0) = 0;

    // Lets pending window messages (timers, sockets, repaints) run.
    virtual void pumpEvents() = 0;

protected:
    // Ports where a key can press a button override this; the others have nothing to
    // default and show the plain box.
    virtual Answer messageWithDefault(const std::string& text, Icon icon, Buttons buttons,
                                      const std::string& title, Answer /*defaultButton*/) {
        return message(text, icon, buttons, title);
    }
};

} // namespace kv
