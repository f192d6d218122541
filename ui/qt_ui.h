#pragma once
// The Ui port over Qt dialogs.
#include "common/ui_port.h"

#include <QString>

#include <memory>
#include <optional>

class QMessageBox;
class QWidget;

namespace kv::ui {

// "Text files|*.txt|All|*.*" → "Text files (*.txt);;All (*.*)"
QString toQtFilter(const std::string& filter);

// The box `QtUi::message` runs, configured (icon, buttons, escape and default button,
// title, text) but not yet shown, so its set-up can be checked without a modal loop.
std::unique_ptr<QMessageBox> makeMessageBox(const std::string& text, Icon icon, Buttons buttons,
                                            const std::string& title, QWidget* parent = nullptr,
                                            std::optional<Answer> defaultButton = {});

class QtUi : public Ui {
public:
    explicit QtUi(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    using Ui::message;
    Answer message(const std::string& text, Icon icon, Buttons buttons,
                   const std::string& title) override;
    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) override;
    std::optional<std::string> openFile(const std::string& title, const std::string& filter,
                                        const std::string& initialFolder) override;
    std::optional<std::string> saveFile(const std::string& title, const std::string& filter,
                                        const std::string& initialFolder,
                                        const std::string& defaultName) override;
    std::optional<std::string> pickFolder(const std::string& title,
                                          const std::string& initialFolder) override;
    std::optional<int> choose(const std::string& title, const std::vector<std::string>& items,
                              int current) override;
    void pumpEvents() override;

protected:
    Answer messageWithDefault(const std::string& text, Icon icon, Buttons buttons,
                              const std::string& title, Answer defaultButton) override;

private:
    QWidget* parent_;
};

} // namespace kv::ui
