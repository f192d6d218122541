#pragma once
// The "New KDG" page: prepares the folder of a new KDG archive project.
#include "kdg/project_builder.h"

#include <QWidget>

#include <optional>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

namespace kv {
class Launcher;
}

namespace kv::ui {

class NewKdgPage : public QWidget {
    Q_OBJECT
public:
    explicit NewKdgPage(Launcher& launcher, QWidget* parent = nullptr);

    const kdg::KdgProject& project() const { return project_; }
    // Lists the resource lists of the launcher's "Mods\KRFs" folder again.
    void reloadResourceLists();

private:
    void createProject();
    void addFile();
    void removeFile();
    void openProject();
    void openFile();
    void openResourceList();
    void showProject();

    Launcher& launcher_;
    kdg::KdgProject project_;
    QPushButton* create_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* open_ = nullptr;
    QListWidget* files_ = nullptr;
    QListWidget* krfs_ = nullptr;
    QLabel* addonLev_ = nullptr;
    QLabel* gamedescLev_ = nullptr;
};

// Asks for several of `choices` at once with check boxes; the ticked indices, or nothing
// when cancelled.
std::optional<std::vector<int>> pickSeveral(QWidget* parent, const std::string& prompt,
                                            const std::vector<std::string>& choices);

} // namespace kv::ui
