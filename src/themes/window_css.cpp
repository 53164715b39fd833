#include "themes/window_css.h"

#include "themes/address_suggestions_css.h"
#include "themes/auction_panel_css.h"
#include "themes/downloads_css.h"
#include "themes/explorer_bar_css.h"
#include "themes/find_bar_css.h"
#include "themes/preferences_css.h"
#include "themes/scrapbook_panel_css.h"
#include "themes/session_restore_css.h"
#include "themes/storage_notice_css.h"
#include "themes/text_roles.h"
#include "themes/theme_css.h"

namespace sarvik {

std::string windowCss(OrvelColorTheme theme) {
    return themeCss(theme) + explorerBarCss(theme) + auctionPanelCss(theme) + scrapbookPanelCss(theme) +
           preferencesCss(theme) + findBarCss(theme) + storageNoticeCss(theme) + sessionRestoreCss(theme) + downloadsCss(theme) +
           addressSuggestionsCss(theme) + textRolesCss(theme);
}

}  // namespace sarvik
