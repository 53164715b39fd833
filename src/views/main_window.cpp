#include "views/main_window.h"

namespace sarvik {
namespace {

constexpr int kDefaultWidth = 1200;
constexpr int kDefaultHeight = 800;

}  // namespace

MainWindow::MainWindow(BrowserState& browserState, AuctionStore& auctionStore, std::filesystem::path dataDirectory)
    : m_contentView(browserState, auctionStore, std::move(dataDirectory)), m_handlers(browserState) {
    set_name("main-window");
    set_default_size(kDefaultWidth, kDefaultHeight);
    set_titlebar(m_contentView.titleBar());
    set_child(m_contentView);
    set_show_menubar(true);
}

}  // namespace sarvik
