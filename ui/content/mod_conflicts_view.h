#pragma once
// The MODs page's "Conflicts" view: a tree of the active MODs, each with the entries it
// shares with other active MODs or with the game's own archives. Worked out on a worker
// thread; a result that a newer request has overtaken is dropped.
#include "content/content_state.h"
#include "content/mod_conflicts.h"
#include "kdg/name_tables.h"

#include <QGroupBox>
#include <QThreadPool>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

class QLabel;
class QTreeWidget;

namespace kv::ui {

class ModConflictsView : public QGroupBox {
    Q_OBJECT
public:
    explicit ModConflictsView(QWidget* parent = nullptr);
    ~ModConflictsView() override;

    // Looks again when the game folder or the MOD list differ from the last look, or
    // always when `force` is set (the list was rebuilt from the folder). Without `tables`
    // the name tables are read from the launcher folder.
    void recompute(const content::ContentState& state, const content::ContentEnv& env,
                   const kdg::NameTables* tables, bool force);

    QTreeWidget* tree() const { return tree_; }
    QLabel* status() const { return status_; }
    // True while a look is running whose result will be shown.
    bool busy() const { return shown_ != requested_; }

signals:
    // A result has been put into the tree.
    void updated();

private:
    void start(std::string gameFolder, content::OriginalKdgs originals,
               std::shared_ptr<const kdg::NameTables> tables);
    void showReport(std::uint64_t generation, const content::ConflictReport& report);

    QTreeWidget* tree_;
    QLabel* status_;
    std::string fingerprint_;
    const kdg::NameTables* tablesSource_ = nullptr;
    std::shared_ptr<const kdg::NameTables> tables_;
    // Newest request; a worker whose generation is older stops early.
    std::shared_ptr<std::atomic<std::uint64_t>> latest_;
    std::uint64_t requested_ = 0;
    std::uint64_t shown_ = 0;
    // One worker: requests queue behind each other and leave the second core free.
    QThreadPool pool_;
};

} // namespace kv::ui
