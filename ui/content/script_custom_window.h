#pragma once
// `FrmScriptCustom`: the picks of every customizable player slot and of the rules. One
// row per field (description, value list, info button), moved by a scroll bar so long
// scripts stay usable.
#include "content/content_state.h"
#include "ui/content/content_env_source.h"

#include <QWidget>

#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;

namespace kv::ui {

class FrmScriptCustom : public QWidget {
    Q_OBJECT
public:
    FrmScriptCustom(content::ContentState& state, ContentEnvSource env, QWidget* parent = nullptr);

    // Fills the script list from the slots and shows the window.
    void open();
    // A choice changed while the window is open: the list again, the same slot kept
    // selected when it still has fields.
    void reloadEntries();

    static constexpr int kRowHeight = 30;

signals:
    // A pick was stored: the slot's enable box is ticked and Apply may install it.
    void valueStored();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Row {
        QLabel* description;
        QComboBox* values;
        QPushButton* info;
    };

    void fillList();
    void showEntry();
    void clearRows();
    void placeRows();
    void showMoreInfo(size_t field);

    content::ContentState& state_;
    ContentEnvSource env_;
    QListWidget* list_;
    QWidget* rowArea_;
    QScrollBar* scroll_;
    std::vector<Row> rows_;
    int slot_ = -1;
    // The script whose fields the rows show: a pick is stored only while the slot still
    // holds it.
    std::string shownScript_;
    QWidget* moreInfo_ = nullptr;
    QPlainTextEdit* moreInfoText_ = nullptr;
};

} // namespace kv::ui
