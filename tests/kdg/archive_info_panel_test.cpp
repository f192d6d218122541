#include "tests/support/qt_application.h"
#include "tests/support/temp_folder.h"
#include "ui/kdg/archive_info_panel.h"

#include <QLineEdit>
#include <QListWidget>

#include <gtest/gtest.h>

namespace kv::ui {
namespace {

TEST(KdgArchiveInfoPanel, ShowsTheArchiveAndOpensExistingSectionDocuments) {
    test::application();
    test::TempFolder dir;
    dir.write("Mods/KRFs/Texts.krf", "document");

    ArchiveInfoPanel panel(Paths::fromRoot(dir.path()));
    std::vector<QString> opened;
    panel.setOpener([&](const QString& file) { opened.push_back(file); });
    kdg::KdgArchiveInfo info;
    info.InternalId = "42";
    info.InternalName = "mymod";
    info.Sections = {"Texts.krf", "$ABC6.krf"};
    panel.ShowArchiveInfo(info);
    info.Sections = {"Texts.krf", "$ABC7", "Caf\xe9.krf"}; // shown again: replaced, not added
    panel.ShowArchiveInfo(info);

    auto* list = panel.findChild<QListWidget*>("ListKRFs");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(2)->text(), QString::fromUtf8("Caf\u00e9.krf"));
    EXPECT_EQ(panel.internalIdField()->text(), "42");
    EXPECT_EQ(panel.internalNameField()->text(), "mymod");

    emit list->itemDoubleClicked(list->item(1)); // no document for this one
    emit list->itemDoubleClicked(list->item(0));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QString::fromStdString(dir / "Mods/KRFs/Texts.krf"));
}

} // namespace
} // namespace kv::ui
