#include "stores/favorites_html.h"

#include "stores/browser_data_store.h"
#include "support/fake_clock.h"
#include "support/temporary_directory.h"

#include <gtest/gtest.h>

namespace sarvik {
namespace {

using namespace sarvik::testing;

constexpr std::string_view kHeader = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<TITLE>Bookmarks</TITLE>\n";

// "Folder/Sub/Title=url" lines, depth first, for comparing trees.
std::vector<std::string> outline(const std::vector<ImportedFavorite>& items) {
    std::vector<std::string> paths;
    for (const auto& item : items) {
        std::string path = item.title;
        for (auto parent = item.parent; parent; parent = items[*parent].parent) path = items[*parent].title + "/" + path;
        paths.push_back(item.isFolder ? path + "/" : path + "=" + item.url);
    }
    return paths;
}

std::vector<std::string> outlineOf(std::string_view text) {
    const auto parsed = parseFavoritesHtml(text);
    return parsed ? outline(parsed->items) : std::vector<std::string>{"<not a bookmark file>"};
}

std::string file(std::string_view body) { return std::string(kHeader) + std::string(body); }

TEST(FavoritesHtmlTest, ReadsNestedFoldersAndLinksAsOtherBrowsersWriteThem) {
    const auto text = file(R"html(<H1>Bookmarks</H1>
<DL><p>
    <DT><H3 ADD_DATE="1700000000" PERSONAL_TOOLBAR_FOLDER="true">Toolbar</H3>
    <DL><p>
        <DT><A HREF="https://example.com/" ADD_DATE="1700000000" ICON="data:image/png;base64,AAAA">Example</A>
        <DT><H3>Deeper</H3>
        <DL><p>
            <DT><A HREF="http://127.0.0.1/a?b=1&amp;c=2">A &amp; B</A>
        </DL><p>
    </DL><p>
    <DT><a href='ftp://files.example.org/'>Files</a>
    <DD>A description that is no favorite
</DL><p>
)html");
    EXPECT_EQ(outlineOf(text), (std::vector<std::string>{"Toolbar/", "Toolbar/Example=https://example.com/",
                                                         "Toolbar/Deeper/",
                                                         "Toolbar/Deeper/A & B=http://127.0.0.1/a?b=1&c=2",
                                                         "Files=ftp://files.example.org/"}));
}

TEST(FavoritesHtmlTest, DecodesEntitiesAndTidiesTitleText) {
    const auto text = file("<DL><DT><A HREF=\"https://e.org/\">  &lt;b&gt; &quot;Q&quot; &#39;s&#x27; &#233;t&eacute;\n"
                           "  <b>bold</b>\t&#0; &#xD800; &#99999999; &amp </A></DL>");
    const auto parsed = parseFavoritesHtml(text);
    ASSERT_TRUE(parsed);
    ASSERT_EQ(parsed->items.size(), 1u);
    // Unknown names stay as written; references to no character become U+FFFD.
    EXPECT_EQ(parsed->items[0].title,
              "<b> \"Q\" 's' \xC3\xA9t&eacute; bold \xEF\xBF\xBD \xEF\xBF\xBD \xEF\xBF\xBD &amp");
}

TEST(FavoritesHtmlTest, RejectsTextsThatAreNoBookmarkFile) {
    EXPECT_FALSE(parseFavoritesHtml(""));
    EXPECT_FALSE(parseFavoritesHtml("<html><body><a href=\"https://e.org/\">x</a></body></html>"));
    EXPECT_FALSE(parseFavoritesHtml("[{\"title\":\"json\"}]"));
    EXPECT_FALSE(parseFavoritesHtml("\x89PNG\r\n\x1a\n"));
    EXPECT_FALSE(parseFavoritesHtml("<!DOCTYPE NETSCAPE-Bookmark-file"));
    // A byte order mark, white space and any letter case are fine.
    EXPECT_TRUE(parseFavoritesHtml("\xEF\xBB\xBF\n  <!doctype netscape-bookmark-file-1>"));
}

TEST(FavoritesHtmlTest, KeepsOnlyWebAndFileAddresses) {
    const auto text = file(R"html(<DL>
<DT><A HREF="javascript:alert(document.cookie)">Bookmarklet</A>
<DT><A HREF=" JavaScript:void(0)">Mixed case</A>
<DT><A HREF="data:text/html,<script>x</script>">Data</A>
<DT><A HREF="vbscript:msgbox">VB</A>
<DT><A>No address</A>
<DT><A HREF="no-scheme.example">Relative</A>
<DT><A HREF="https://a.example/&#10;b">Control character</A>
<DT><A HREF="  HTTPS://ok.example/  ">Kept</A>
<DT><A HREF="file:///home/me/notes.html">Local</A>
</DL>)html");
    const auto parsed = parseFavoritesHtml(text);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(outline(parsed->items),
              (std::vector<std::string>{"Kept=HTTPS://ok.example/", "Local=file:///home/me/notes.html"}));
    EXPECT_EQ(parsed->skippedLinks, 7u);
}

TEST(FavoritesHtmlTest, UnclosedTagsEndWhereTheNextEntryBegins) {
    EXPECT_EQ(outlineOf(file("<DL><DT><H3>Folder<DL><DT><A HREF=\"https://a.example/\">A<DT><A HREF=\"https://b.example/\">B")),
              (std::vector<std::string>{"Folder/", "Folder/A=https://a.example/", "Folder/B=https://b.example/"}));
    // A tag cut off by the end of the file, an unbalanced quote, a stray '<'.
    EXPECT_EQ(outlineOf(file("<DL><DT><A HREF=\"https://a.example/>A</A> 1 < 2 <DT><A HREF=\"https://b")),
              (std::vector<std::string>{"A=https://a.example/"}));
    EXPECT_EQ(outlineOf(file("<DL><DT><A HREF=\"https://a.example/\">1 < 2</A><!-- unclosed comment <A HREF=x>")),
              (std::vector<std::string>{"1 < 2=https://a.example/"}));
    // A link without a title is named after its address; extra closing lists do no harm.
    EXPECT_EQ(outlineOf(file("</DL></DL><DT><A HREF=\"https://c.example/\"></A></DL>")),
              (std::vector<std::string>{"https://c.example/=https://c.example/"}));
}

// Inputs the fuzz target found: a title made from an address with runs of
// spaces, and a link between a folder heading and a list.
TEST(FavoritesHtmlTest, FuzzFindingsReadBackAsWritten) {
    for (const std::string_view body : {"<DL><DT><A HREF=\"http://127.0.   <DT\"></A></DL>",
                                        "<DL><DT><H3>F</H3><DT><A HREF=\"https://a.example/\">A</A><DL><DT><H3>G</H3></DL></DL>"}) {
        const auto parsed = parseFavoritesHtml(file(body));
        ASSERT_TRUE(parsed);
        std::vector<Bookmark> bookmarks;
        for (std::size_t i = 0; i < parsed->items.size(); ++i) {
            const auto& item = parsed->items[i];
            std::optional<Uuid> parent;
            if (item.parent) parent = bookmarks[*item.parent].id;
            bookmarks.push_back({Uuid::random(), item.title, item.url, parent, item.isFolder, Date{0},
                                 static_cast<std::int64_t>(i)});
        }
        EXPECT_EQ(parseFavoritesHtml(writeFavoritesHtml(bookmarks))->items, parsed->items) << body;
    }
}

TEST(FavoritesHtmlTest, HugeNestingIsFlattenedBelowTheDepthLimit) {
    std::string body;
    for (int i = 0; i < 100000; ++i) body += "<DT><H3>F</H3><DL>";
    body += "<DT><A HREF=\"https://deep.example/\">Deep</A>";
    const auto parsed = parseFavoritesHtml(file(body));
    ASSERT_TRUE(parsed);
    ASSERT_EQ(parsed->items.size(), kMaximumFavoritesHtmlDepth + 1);
    const auto& deep = parsed->items.back();
    EXPECT_EQ(deep.title, "Deep");
    EXPECT_EQ(deep.parent, kMaximumFavoritesHtmlDepth - 1);
    std::size_t depth = 0;
    for (auto parent = deep.parent; parent; parent = parsed->items[*parent].parent) ++depth;
    EXPECT_EQ(depth, kMaximumFavoritesHtmlDepth);
}

TEST(FavoritesHtmlTest, InvalidUtf8IsReplacedNotKept) {
    const auto parsed = parseFavoritesHtml(file("<DL><DT><H3>Caf\xE9 \xFF\xFE</H3><DL><DT><A HREF=\"https://x.example/\xC0\">bad</A></DL>"));
    ASSERT_TRUE(parsed);
    ASSERT_EQ(parsed->items.size(), 1u);
    EXPECT_EQ(parsed->items[0].title, "Caf\xEF\xBF\xBD \xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(parsed->skippedLinks, 1u);  // an address is not repaired: it would lead elsewhere
}

class FavoritesHtmlStoreTest : public ::testing::Test {
protected:
    TemporaryDirectory dir;
    FakeClock clock{Date{786000000.25}};
    BrowserDataStore store{dir.path(), clock};
};

TEST_F(FavoritesHtmlStoreTest, ExportThenImportRoundTripsANestedTreeWithOddTitles) {
    const auto topId = store.bookmarksInFolder(std::nullopt).front().id;  // "Toolbar Favorites"
    store.addFolder("Work & <Play> \"quoted\" 'single'", topId);
    const auto workId = store.bookmarks().get().back().id;
    store.addBookmark("</A><A HREF=\"javascript:x\">evil</A>", "https://e.example/?a=1&b=\"2\"", workId);
    store.addFolder("Empty", workId);
    store.addBookmark("Ünïcødé ✓ &amp; literal", "https://u.example/", std::nullopt);
    store.renameBookmark(store.bookmarksInFolder(topId).front().id, "Google (renamed)");

    const auto exported = writeFavoritesHtml(store.bookmarks().get());
    const auto parsed = parseFavoritesHtml(exported);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->skippedLinks, 0u);
    EXPECT_EQ(outline(parsed->items),
              (std::vector<std::string>{"Toolbar Favorites/", "Toolbar Favorites/Google (renamed)=https://www.google.com",
                                        "Toolbar Favorites/Apple=https://www.apple.com",
                                        "Toolbar Favorites/Wikipedia=https://www.wikipedia.org",
                                        "Toolbar Favorites/Work & <Play> \"quoted\" 'single'/",
                                        "Toolbar Favorites/Work & <Play> \"quoted\" 'single'/</A><A HREF=\"javascript:x\">evil</A>=https://e.example/?a=1&b=\"2\"",
                                        "Toolbar Favorites/Work & <Play> \"quoted\" 'single'/Empty/",
                                        "Ünïcødé ✓ &amp; literal=https://u.example/"}));

    const auto before = store.bookmarks().get().size();
    const auto folderId = store.addFavoritesTree("bookmarks.html", parsed->items);
    const auto& all = store.bookmarks().get();
    ASSERT_EQ(all.size(), before + 1 + parsed->items.size());
    const auto top = store.bookmarksInFolder(std::nullopt);
    EXPECT_EQ(top.back().id, folderId);
    EXPECT_EQ(top.back().title, "bookmarks.html");
    EXPECT_EQ(top.back().sortOrder, 2);  // after the folder and the favorite already at the top

    // The imported copy exports to the same tree, one level down.
    std::vector<Bookmark> imported;
    for (const auto& b : all)
        if (&b >= &all[before + 1]) imported.push_back(b);
    for (auto& b : imported)
        if (b.parentFolderId == folderId) b.parentFolderId.reset();
    EXPECT_EQ(outline(parseFavoritesHtml(writeFavoritesHtml(imported))->items), outline(parsed->items));
}

TEST_F(FavoritesHtmlStoreTest, ImportedTreeIsSavedAndSiblingsAreOrdered) {
    const auto parsed = parseFavoritesHtml(file("<DL><DT><H3>A</H3><DL><DT><A HREF=\"https://1.example/\">1</A>"
                                                "<DT><A HREF=\"https://2.example/\">2</A></DL>"
                                                "<DT><A HREF=\"https://3.example/\">3</A></DL>"));
    ASSERT_TRUE(parsed);
    const auto folderId = store.addFavoritesTree("mine.html", parsed->items);
    BrowserDataStore reloaded(dir.path(), clock);
    const auto inFolder = reloaded.bookmarksInFolder(folderId);
    ASSERT_EQ(inFolder.size(), 2u);
    EXPECT_EQ(inFolder[0].title, "A");
    EXPECT_EQ(inFolder[1].title, "3");
    EXPECT_EQ(inFolder[1].sortOrder, 1);
    const auto inA = reloaded.bookmarksInFolder(inFolder[0].id);
    ASSERT_EQ(inA.size(), 2u);
    EXPECT_EQ(inA[0].url, "https://1.example/");
    EXPECT_EQ(inA[1].sortOrder, 1);
}

TEST_F(FavoritesHtmlStoreTest, ATreeWhoseParentsPointForwardOrAtLinksStaysInTheNewFolder) {
    const std::vector<ImportedFavorite> items{{"link", "https://a.example/", false, 1},
                                              {"folder", "", true, std::nullopt},
                                              {"under a link", "https://b.example/", false, 0},
                                              {"itself", "", true, 3}};
    const auto folderId = store.addFavoritesTree("odd", items);
    EXPECT_EQ(store.bookmarksInFolder(folderId).size(), 4u);
}

TEST_F(FavoritesHtmlStoreTest, ExportSurvivesAFolderThatIsItsOwnAncestor) {
    std::vector<Bookmark> looped{{Uuid::random(), "A", "", std::nullopt, true, clock.now(), 0}};
    looped.push_back({Uuid::random(), "B", "", looped[0].id, true, clock.now(), 0});
    looped[0].parentFolderId = looped[1].id;  // unreachable from the top: written as an empty list
    looped.push_back({Uuid::random(), "Top", "https://t.example/", std::nullopt, false, clock.now(), 0});
    EXPECT_EQ(outline(parseFavoritesHtml(writeFavoritesHtml(looped))->items),
              (std::vector<std::string>{"Top=https://t.example/"}));
}

}  // namespace
}  // namespace sarvik
