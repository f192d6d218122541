#include "ui/content/ai_page.h"

#include "content/catalogue_scan.h"
#include "tests/content/content_world.h"
#include "tests/support/qt_application.h"

#include <QComboBox>
#include <gtest/gtest.h>

namespace kv::ui {
namespace {

using test::ContentWorld;

TEST(AiPage, ChoicesReachTheStateAndTheWarningShowsOnce) {
    test::application();
    ContentWorld w;
    w.addAi("Alpha");
    w.scan();
    int warned = 0;
    AiPage page(w.state, [&w] { return w.env(); });
    page.setOverwriteWarnedFlag(&warned);
    page.show();
    EXPECT_EQ(warned, -1);
    EXPECT_EQ(w.ui.messages().size(), 1u);
    page.hide();
    page.show();
    EXPECT_EQ(w.ui.messages().size(), 1u);

    int changed = -1;
    QObject::connect(&page, &AiPage::playerChoiceChanged, [&changed](int p) { changed = p; });
    QComboBox* p4 = page.findChild<QComboBox*>("ComboAI4");
    ASSERT_EQ(p4->count(), 3);
    p4->activated(1);
    EXPECT_EQ(changed, 4);
    EXPECT_EQ(w.state.choices.choice(4), "Alpha");

    // A rescan done elsewhere shows on reload, the choice kept.
    w.addAi("Beta");
    w.scan();
    page.reload();
    EXPECT_EQ(p4->count(), 4);
    EXPECT_EQ(p4->currentText(), "Alpha");
}

} // namespace
} // namespace kv::ui
