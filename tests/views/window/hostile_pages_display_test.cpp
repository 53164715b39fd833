#include "support/display/browser_window_harness.h"
#include "support/display/ui_driver.h"
#include "stores/store_text.h"
#include "support/file_helpers.h"
#include "views/explorer_bar/favorites/favorites_panel.h"

#include <gtest/gtest.h>

// Pages that push at the browser: pop-up floods, self-navigation loops, huge titles
// and scripts reaching for local files. The window stays usable
// and what it keeps stays sane.
namespace sarvik {
namespace {

using testing::runMainLoopUntil;

std::size_t characterCount(const std::string& text) {
    std::size_t count = 0;
    for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

class HostilePagesDisplayTest : public ::testing::Test, public testing::BrowserWindowHarness {
protected:
    void SetUp() override { ASSERT_TRUE(activeLoaded("Home")); }
    // As a user does: Ctrl+L, the address, Return; the page loads within a few seconds.
    bool typeAddressAndLoad(const std::string& path, const std::string& title) {
        testing::sendKeysTo(*window);
        testing::pressKeys("ctrl+l");
        if (!runMainLoopUntil([&] { return testing::hasFocusWithin(content().toolbar().expanded().addressField()); }))
            return false;
        testing::typeText(server.url(path));
        testing::pressKeys("Return");
        return runMainLoopUntil([&] { return activeAddress() == server.url(path) && !state.activeTab()->isLoading &&
                                             state.activeTab()->title == title; },
                                std::chrono::seconds(5));
    }
    const std::vector<HistoryItem>& history() { return content().dataStore().history().get(); }
};

TEST_F(HostilePagesDisplayTest, PopUpFloodsAndSelfNavigationLoopsLeaveTheUserInChargeAndNoTrail) {
    serve("/flood", "Flooding", "<script>for(let i=0;i<1000;i++)window.open('/popup');document.title='Flooded'</script>");
    state.navigate(server.url("/flood"));
    ASSERT_TRUE(activeLoaded("Flooded"));
    server.serve("/loop", "<!doctype html><title>Loop</title><script>const n=+location.search.slice(1)||0;"
                          "setTimeout(()=>location.replace('/loop?'+(n+1)),10)</script>");
    state.navigate(server.url("/loop"));
    ASSERT_TRUE(runMainLoopUntil([&] { return server.requestCount("/loop?100") == 1; }));
    serve("/after", "After");
    EXPECT_TRUE(typeAddressAndLoad("/after", "After")) << "typed while the page kept going";
    EXPECT_EQ(state.tabs->size(), 1u);
    EXPECT_EQ(server.requestCount("/popup"), 0);
    ASSERT_TRUE(runMainLoopUntil([&] { return history().size() >= 4; }));
    EXPECT_LT(history().size(), 7u) << "the loop's pages are no visits";
    std::int64_t visits = 0;
    for (const auto& item : history()) visits += item.visitCount;
    EXPECT_LT(visits, 7);
}

TEST_F(HostilePagesDisplayTest, AMegabyteTitleIsShownAndKeptShortened) {
    std::string huge;
    for (int i = 0; i < (1 << 19); ++i) huge += "\u00e9";  // two bytes each: a cut must not split one
    serve("/long", huge);
    state.navigate(server.url("/long"));
    // The engine reports the title in pieces while it parses; wait for the whole one.
    ASSERT_TRUE(runMainLoopUntil([&] {
        return characterCount(state.activeTab()->title) >= kMaximumTitleCharacters && !state.activeTab()->isLoading;
    }));
    const std::string shown = state.activeTab()->title;
    EXPECT_EQ(characterCount(shown), kMaximumTitleCharacters);
    EXPECT_EQ(huge.rfind(shown, 0), 0u) << "a prefix, cut between characters";
    EXPECT_EQ(window->get_title().raw(), shown + " \u2014 SarvikBrowser");
    const std::string storedAsShown = "\"title\":\"" + shown + "\"";
    ASSERT_TRUE(runMainLoopUntil([&] { return history().size() == 2; }));
    EXPECT_EQ(history().back().title, shown);
    content().dataStore().waitForSaves();
    EXPECT_NE(testing::readFile(content().dataStore().historyFile()).find(storedAsShown), std::string::npos);
    state.isExplorerBarVisible = true;
    state.selectedExplorerTab = ExplorerBarTab::favorites;
    testing::drainMainLoop();
    const auto before = content().dataStore().bookmarks()->size();
    auto* favorites = dynamic_cast<FavoritesPanel*>(content().explorerBar()->panel());
    ASSERT_NE(favorites, nullptr);
    testing::emitClicked(favorites->addPageButton());
    ASSERT_EQ(content().dataStore().bookmarks()->size(), before + 1);
    EXPECT_EQ(content().dataStore().bookmarks()->back().title, shown);
    EXPECT_NE(testing::readFile(content().dataStore().bookmarksFile()).find(storedAsShown), std::string::npos);
}

TEST_F(HostilePagesDisplayTest, ScriptsCannotReadLocalFiles) {
    testing::writeFile(folder / "secret.txt", "sarvik-secret");
    // The page tries fetch, XMLHttpRequest and an iframe, and says which ones got the file's words.
    const auto stealer = [](const std::string& address, const std::string& words) {
        return "<script>const file='" + address + "',words='" + words + "',got=[];"
               "const seen=(how,text)=>{got.push(how+(String(text).includes(words)?':read':':refused'));"
               "if(got.length==3)document.title=words+' '+got.sort().join(' ')};"
               "fetch(file).then(r=>r.text()).then(t=>seen('fetch',t),()=>seen('fetch',''));"
               "const x=new XMLHttpRequest();x.open('GET',file);x.onload=()=>seen('xhr',x.responseText);"
               "x.onerror=()=>seen('xhr','');x.send();"
               "const f=document.createElement('iframe');f.src=file;document.body.append(f);"
               "setTimeout(()=>{let t='';try{t=f.contentDocument.body.textContent}catch(e){}seen('iframe',t)},1000)"
               "</script>";
    };
    server.serve("/words", "the page's own words", "text/plain");
    const struct {
        std::string address, words, answer;
    } table[] = {{server.url("/words"), "own words", "read"},  // the reading itself works
                 {"file:///etc/passwd", "root:", "refused"},
                 {"file://" + (folder / "secret.txt").string(), "sarvik-secret", "refused"}};
    for (const auto& row : table) {
        serve("/steal", "Stealing", stealer(row.address, row.words));
        state.navigate(server.url("/steal"));
        ASSERT_TRUE(runMainLoopUntil([&] { return state.activeTab()->title.rfind(row.words + " fetch", 0) == 0; }));
        const std::string& a = row.answer;
        EXPECT_EQ(state.activeTab()->title, row.words + " fetch:" + a + " iframe:" + a + " xhr:" + a);
    }
}

}  // namespace
}  // namespace sarvik
