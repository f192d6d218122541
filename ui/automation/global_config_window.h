#pragma once
// `FrmGlobalConfigLoad`: lists the global configurations with their descriptions, applies
// the chosen one (button or double click) and deletes one with its settings file.
#include <QDialog>

class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;

namespace kv {
class Launcher;
}

namespace kv::ui {

class FrmGlobalConfigLoad : public QDialog {
    Q_OBJECT
public:
    explicit FrmGlobalConfigLoad(Launcher& launcher, QWidget* parent = nullptr);

    // Fills the list from the global folder and selects the first entry.
    void GlobalConfigurations_Load();
    // Applies the selected entry; true when it was applied (the window then closes).
    bool LoadSelectedINI();
    void deleteSelected();
    // The item the user chose: the current one when it is also selected.
    QListWidgetItem* chosenItem() const;

signals:
    // A configuration was applied: the main window shows the new state.
    void configurationApplied();

private:
    void showDescription();

    Launcher& launcher_;
    QListWidget* list_;
    QPlainTextEdit* description_;
    std::vector<std::string> descriptions_;
};

} // namespace kv::ui
