#pragma once
// `FrmMODs`, the MODs and AI manager: the library's AIs, rules sets and MODs with what
// their description files say, and the edits of the library. It keeps no data of its
// own; every list is filled from the launcher's catalogues.
#include <QDialog>

#include <cstddef>
#include <string>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace kv {
class Launcher;
}

namespace kv::ui {

class FrmMODs : public QDialog {
    Q_OBJECT
public:
    explicit FrmMODs(Launcher& launcher, QWidget* parent = nullptr);

    // Fills the three lists again from the catalogues.
    void reload();

private:
    QWidget* createAiSection();
    QWidget* createRulesSection();
    QWidget* createModsSection();
    void showAi();
    void showRules();
    void showMod();
    // The library changed: the main window's lists follow.
    void changed();
    QString selectedAi() const;
    // The index in the MOD list of the selected row's entry, -1 when there is none.
    int selectedModEntry() const;

    Launcher& launcher_;
    QTreeWidget* ais_ = nullptr;
    QLabel* aiAuthor_ = nullptr;
    QLabel* aiMaxInstances_ = nullptr;
    QLabel* aiConfiguration_ = nullptr;
    QLabel* aiCustomizing_ = nullptr;
    QListWidget* aiRequired_ = nullptr;
    QPlainTextEdit* aiDescription_ = nullptr;
    QLabel* aiEmail_ = nullptr;
    QLabel* aiHomepage_ = nullptr;
    QPushButton* deleteAi_ = nullptr;
    QPushButton* deleteAiConfig_ = nullptr;

    QListWidget* rules_ = nullptr;
    QPlainTextEdit* rulesDescription_ = nullptr;
    QPushButton* deleteRules_ = nullptr;

    QTreeWidget* mods_ = nullptr;
    QLabel* modAuthor_ = nullptr;
    QLabel* modConfiguration_ = nullptr;
    QPlainTextEdit* modDescription_ = nullptr;
    QPlainTextEdit* modKeyLines_ = nullptr;
    QLabel* modEmail_ = nullptr;
    QLabel* modHomepage_ = nullptr;
    QPushButton* deleteMod_ = nullptr;
    QPushButton* deleteModConfig_ = nullptr;
    QPushButton* extractMod_ = nullptr;
};

} // namespace kv::ui
