#include "stores/favorites_html.h"

#include "stores/favorites_html_text.h"
#include "stores/favorites_tree.h"
#include "stores/store_text.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace sarvik {
namespace {

using namespace favorites_html;

constexpr std::string_view kDoctype = "<!DOCTYPE NETSCAPE-Bookmark-file-1>";
constexpr std::size_t kMaximumAddressBytes = 64 * 1024;

bool beginsWithDoctype(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return false;
    text.remove_prefix(first);
    return text.size() >= kDoctype.size() && equalsIgnoringCase(text.substr(0, kDoctype.size()), kDoctype);
}

// Builds the flat tree while the scanner walks the tags.
class TreeBuilder {
public:
    FavoritesHtml take() {
        finishText();
        return std::move(m_result);
    }

    void onTag(const Tag& tag) {
        if (tag.name == "a" && !tag.closing) return openLink(tag.attributes);
        if (tag.name == "h3" && !tag.closing) return openFolder();
        if (!endsText(tag.name)) return;  // formatting inside a title
        finishText();
        if (tag.name == "dl") tag.closing ? closeList() : openList();
    }

    void onText(std::string_view text) {
        if (m_capturing) m_text.append(text);
    }

private:
    static bool endsText(std::string_view name) {
        static constexpr std::array<std::string_view, 10> kStructural{"a",  "h3", "dt", "dd",    "dl",
                                                                      "p",  "h1", "hr", "title", "meta"};
        return std::find(kStructural.begin(), kStructural.end(), name) != kStructural.end();
    }

    std::size_t depthOfContainer() const {
        const auto& top = m_containers.back();
        return top ? m_depths[*top] : 0;
    }

    std::size_t add(ImportedFavorite item) {
        m_result.items.push_back(std::move(item));
        m_depths.push_back(depthOfContainer() + 1);
        return m_result.items.size() - 1;
    }

    void openFolder() {
        finishText();
        m_pendingFolder.reset();
        m_capturing = true;
        if (depthOfContainer() >= kMaximumFavoritesHtmlDepth) return;  // its favorites go one level up
        m_target = add({"", "", true, m_containers.back()});
        m_pendingFolder = m_target;
    }

    void openLink(std::string_view attributes) {
        finishText();
        m_pendingFolder.reset();  // a list after a link is no folder's: items stay in document order
        m_capturing = true;
        auto href = attributeValue(attributes, "href");
        const auto url = href ? trimmedAddress(*href) : std::string();
        if (!isImportableFavoriteAddress(url)) {
            ++m_result.skippedLinks;
            return;
        }
        m_target = add({"", url, false, m_containers.back()});
    }

    // A list belongs to the folder heading just before it; a stray one adds
    // no level.
    void openList() {
        m_containers.push_back(m_pendingFolder ? m_pendingFolder : m_containers.back());
        m_pendingFolder.reset();
    }

    void closeList() {
        if (m_containers.size() > 1) m_containers.pop_back();
        m_pendingFolder.reset();
    }

    void finishText() {
        if (m_target) {
            auto& item = m_result.items[*m_target];
            item.title = collapsedText(m_text);
            if (item.title.empty() && !item.isFolder) item.title = collapsedWhitespace(item.url);
        }
        m_target.reset();
        m_capturing = false;
        m_text.clear();
    }

    FavoritesHtml m_result;
    std::vector<std::size_t> m_depths;                            // folder levels of each item
    std::vector<std::optional<std::size_t>> m_containers{std::nullopt};  // open lists; none is the top
    std::optional<std::size_t> m_pendingFolder;                   // heading waiting for its list
    std::optional<std::size_t> m_target;                          // item whose title is being read
    bool m_capturing = false;
    std::string m_text;
};

}  // namespace

bool isImportableFavoriteAddress(std::string_view url) {
    if (url.empty() || url.size() > kMaximumAddressBytes || !isValidUtf8(url)) return false;
    if (std::any_of(url.begin(), url.end(), [](unsigned char c) { return c < 0x20 || c == 0x7F; })) return false;
    const auto colon = url.find(':');
    if (colon == std::string_view::npos) return false;
    const auto scheme = url.substr(0, colon);
    for (std::string_view allowed : {"http", "https", "ftp", "file"})
        if (equalsIgnoringCase(scheme, allowed)) return true;
    return false;
}

std::optional<FavoritesHtml> parseFavoritesHtml(std::string_view text) {
    if (!beginsWithDoctype(text)) return std::nullopt;
    TreeBuilder builder;
    scanHtml(text, [&](const Tag& tag) { builder.onTag(tag); }, [&](std::string_view run) { builder.onText(run); });
    return builder.take();
}

namespace {

std::string addDate(const Bookmark& bookmark) {
    const double seconds = bookmark.createdAt.unixTime();
    if (!std::isfinite(seconds) || seconds < 0 || seconds > 1e15) return {};
    return " ADD_DATE=\"" + std::to_string(static_cast<long long>(seconds)) + "\"";
}

// Writes the tree depth first without recursion, as the favorites tree shows it.
class TreeWriter {
public:
    explicit TreeWriter(const std::vector<Bookmark>& bookmarks) : m_bookmarks(bookmarks), m_tree(bookmarks) {}

    std::string write() {
        m_out = std::string(kDoctype) +
                "\n<!-- This is an automatically generated file.\n     It will be read and overwritten.\n"
                "     DO NOT EDIT! -->\n<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
                "<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks</H1>\n<DL><p>\n";
        m_frames.push_back({&m_tree.childrenOf(std::nullopt), 0});
        while (!m_frames.empty()) step();
        return std::move(m_out);
    }

private:
    struct Frame {
        const std::vector<std::size_t>* list;
        std::size_t next;
    };

    void indent() { m_out.append(4 * m_frames.size(), ' '); }

    void step() {
        auto& frame = m_frames.back();
        if (frame.next == frame.list->size()) {
            m_frames.pop_back();
            m_out.append(4 * m_frames.size(), ' ');
            m_out += "</DL><p>\n";
            return;
        }
        const Bookmark& record = m_bookmarks[(*frame.list)[frame.next++]];
        indent();
        if (!record.isFolder) {
            m_out += "<DT><A HREF=\"" + escapedText(record.url) + "\"" + addDate(record) + ">" +
                     escapedText(record.title) + "</A>\n";
            return;
        }
        m_out += "<DT><H3" + addDate(record) + ">" + escapedText(record.title) + "</H3>\n";
        indent();
        m_out += "<DL><p>\n";
        m_frames.push_back({&m_tree.childrenOf(record.id), 0});
    }

    const std::vector<Bookmark>& m_bookmarks;
    FavoritesTree m_tree;
    std::vector<Frame> m_frames;
    std::string m_out;
};

}  // namespace

std::string writeFavoritesHtml(const std::vector<Bookmark>& bookmarks) { return TreeWriter(bookmarks).write(); }

}  // namespace sarvik
