#include "views/preferences/preferences_fixture.h"
#include "support/display/widget_search.h"

#include "support/display/widget_screenshot.h"
#include "views/preferences/preferences_general_page.h"
#include "views/preferences/preferences_window.h"

#include <gtkmm/entry.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace sarvik {
namespace {

using testing::findAll;
using testing::findButton;
using testing::runMainLoopUntil;

Gtk::Entry& homeField(PreferencesView& view) { return *findAll<Gtk::Entry>(view.generalPage()).front(); }

class PreferencesWindowTest : public testing::PreferencesFixture {};

TEST_F(PreferencesWindowTest, TheWindowIsTitledPreferencesAndSizedForItsView) {
    PreferencesWindow window(m_state, m_auctions);
    EXPECT_EQ(window.get_title(), "Preferences");
    int width = 0, height = 0;
    window.get_default_size(width, height);
    EXPECT_EQ(width, 560);
    EXPECT_EQ(height, 420);
    EXPECT_EQ(window.view(), nullptr) << "nothing is built before the window opens";

    window.open();
    ASSERT_NE(window.view(), nullptr);
    EXPECT_TRUE(runMainLoopUntil([&] { return window.view()->get_mapped() && window.view()->get_width() > 0; }));
    EXPECT_TRUE(testing::saveWidgetPng(window, m_dataDir / "window.png"));
    testing::saveScreenshotIfRequested(window, "preferences-window");
}

TEST_F(PreferencesWindowTest, TheWindowEditsTheSharedStateAndReopensFresh) {
    PreferencesWindow window(m_state, m_auctions);
    window.open();
    ASSERT_TRUE(runMainLoopUntil([&] { return window.view()->get_mapped(); }));
    homeField(*window.view()).set_text("https://home.example/");
    ASSERT_TRUE(testing::click(findButton(window.view()->generalPage(), "Set")));
    EXPECT_EQ(m_state.homePage.get(), "https://home.example/");
    homeField(*window.view()).set_text("typed but not set");
    window.view()->selectTab(PreferencesTab::auction);

    auto* first = window.view();
    window.open();
    EXPECT_EQ(window.view(), first) << "opening a shown window only raises it";

    window.close();
    ASSERT_TRUE(runMainLoopUntil([&] { return !window.get_visible(); }));
    EXPECT_EQ(window.view(), nullptr);
    window.open();
    ASSERT_NE(window.view(), nullptr);
    EXPECT_EQ(window.view()->selectedTab(), PreferencesTab::general);
    EXPECT_EQ(homeField(*window.view()).get_text(), "https://home.example/");
}

class PreferencesSheetTest : public testing::PreferencesFixture {
protected:
    PreferencesSheetTest() {
        m_parent.set_default_size(800, 600);
        m_parent.present();
        runMainLoopUntil([&] { return m_parent.get_mapped(); });
    }

    PreferencesSheet& openSheet() {
        PreferencesSheet::present(m_parent, m_state, m_auctions);
        auto* sheet = PreferencesSheet::shownOver(m_parent);
        EXPECT_NE(sheet, nullptr);
        EXPECT_TRUE(runMainLoopUntil([&] { return sheet->view().get_mapped() && sheet->view().get_width() > 0; }));
        return *sheet;
    }

    bool sheetGoes() {
        return runMainLoopUntil([&] { return PreferencesSheet::shownOver(m_parent) == nullptr; });
    }

    Gtk::Window m_parent;
};

TEST_F(PreferencesSheetTest, TheSheetIsModalOverItsParentAndOnlyOnce) {
    auto& sheet = openSheet();
    EXPECT_TRUE(sheet.get_modal());
    EXPECT_EQ(sheet.get_transient_for(), &m_parent);
    PreferencesSheet::present(m_parent, m_state, m_auctions);
    EXPECT_EQ(PreferencesSheet::shownOver(m_parent), &sheet);
    EXPECT_TRUE(testing::saveWidgetPng(sheet, m_dataDir / "sheet.png"));
    testing::saveScreenshotIfRequested(sheet, "preferences-sheet");

    ASSERT_TRUE(testing::click(findButton(sheet, "Done")));
    EXPECT_TRUE(sheetGoes());
}

TEST_F(PreferencesSheetTest, EachOpeningBuildsAFreshView) {
    auto& first = openSheet();
    first.view().selectTab(PreferencesTab::appearance);
    homeField(first.view()).set_text("typed but not set");
    ASSERT_TRUE(testing::click(findButton(first, "Done")));
    ASSERT_TRUE(sheetGoes());

    auto& second = openSheet();
    EXPECT_EQ(second.view().selectedTab(), PreferencesTab::general);
    EXPECT_EQ(std::string(homeField(second.view()).get_text()), kDefaultHomePage);
}

TEST_F(PreferencesSheetTest, EscapeClosesTheSheet) {
    openSheet();
    // A real key press through the X server, as the user gives it.
    ASSERT_EQ(std::system("xdotool search --name '^Preferences$' windowfocus --sync key Escape >/dev/null 2>&1"), 0);
    EXPECT_TRUE(sheetGoes());
}

TEST_F(PreferencesSheetTest, TheSheetGoesWithItsParent) {
    auto parent = std::make_unique<Gtk::Window>();
    parent->present();
    PreferencesSheet::present(*parent, m_state, m_auctions);
    auto* sheet = PreferencesSheet::shownOver(*parent);
    ASSERT_NE(sheet, nullptr);
    bool destroyed = false;
    sheet->signal_destroy().connect([&] { destroyed = true; });
    runMainLoopUntil([&] { return sheet->get_mapped(); });

    parent.reset();
    EXPECT_TRUE(runMainLoopUntil([&] { return destroyed; }));
    // Nothing of the sheet is left to observe the shared state (the sanitizer build checks).
    m_state.colorTheme = OrvelColorTheme::grape;
    m_state.pageZoom = 1.5;
    m_auctions.addItem("Lamp", "https://auctions.example/9", AuctionSite::custom, 1, m_clock.now(), std::nullopt);
    EXPECT_EQ(PreferencesSheet::shownOver(m_parent), nullptr);
}

}  // namespace
}  // namespace sarvik
