#include "themes/explorer_bar_css.h"

#include "themes/theme_css.h"
#include "themes/standard_colors.h"


namespace sarvik {
namespace {

using standard_colors::kOrange;
using standard_colors::kTextOrange;
using standard_colors::kWhite;
using standard_colors::kBlack;

std::string frameCss(OrvelColorTheme theme) {
    const Rgba primary = primaryColor(theme);
    return ".orvel-explorer-bar { background-image: linear-gradient(to right, " + cssColor(primary.withAlpha(0.15)) +
           ", " + cssColor(primary.withAlpha(0.05)) + "); border-right: 1px solid " + cssColor(primary.withAlpha(0.2)) +
           "; }\n"
           ".orvel-explorer-header { background-image: " + cssGradient(toolbarGradient(theme), 0.5) + "; }\n"
           ".orvel-explorer-title { font-size: 13px; font-weight: bold; }\n"
           ".orvel-explorer-badge { font-size: 9px; font-weight: bold; background-color: " + cssColor(kTextOrange) + "; padding: 1px 5px; border-radius: 999px; }\n"
           ".orvel-explorer-dot { background-color: " + cssColor(kOrange) +
           "; min-width: 6px; min-height: 6px; border-radius: 3px; margin: 0px -2px 0px 0px; }\n"
           ".orvel-explorer-close { padding: 0; min-width: 0; min-height: 0; background: none; border: none;"
           " box-shadow: none; }\n"
           ".orvel-explorer-close image { -gtk-icon-size: 14px; }\n"
           ".orvel-explorer-tab-title { font-size: 9px; }\n"
           ".orvel-explorer-tab image { -gtk-icon-size: 14px; }\n"
           ".orvel-explorer-bar listview, .orvel-explorer-bar scrolledwindow { background: none; }\n"
           ".orvel-explorer-bar listview > row { padding: 0; }\n";
}

std::string panelCss(OrvelColorTheme theme) {
    const Rgba primary = primaryColor(theme);
    return ".orvel-faint { opacity: 0.6; }\n"
           ".orvel-plain-entry { border: none; box-shadow: none; background: none; outline: none;"
           " min-height: 0; padding: 0; font-size: 12px; }\n"
           ".orvel-plain-button { padding: 0; min-width: 0; min-height: 0; background: none; border: none;"
           " box-shadow: none; }\n"
           ".orvel-web-search-box { background-color: " + cssColor(kWhite) + "; border-radius: 6px; padding: 8px;"
           " box-shadow: 0 1px 2px " + cssColor(kBlack.withAlpha(0.1)) + "; }\n"
           ".orvel-history-search-box { background-color: " + cssColor(kWhite) + "; border-radius: 4px;"
           " padding: 6px 10px; box-shadow: 0 1px 1px " + cssColor(kBlack.withAlpha(0.05)) + "; }\n"
           ".orvel-small-icon { -gtk-icon-size: 10px; }\n"
           ".orvel-row-icon { -gtk-icon-size: 11px; }\n"
           ".orvel-chevron { -gtk-icon-size: 8px; }\n"
           ".orvel-folder-icon { -gtk-icon-size: 12px; color: " + cssColor(primary) + "; }\n"
           ".orvel-row-title { font-size: 12px; }\n"
           ".orvel-favorite-row.selected { background-color: " + cssColor(primary.withAlpha(0.12)) +
           "; border-radius: 3px; }\n"
           ".orvel-favorite-row.drop-into { background-color: " + cssColor(primary.withAlpha(0.25)) +
           "; border-radius: 3px; }\n"
           ".orvel-favorite-row.drop-before { box-shadow: inset 0 2px " + cssColor(primary) + "; }\n"
           ".orvel-favorite-row.drop-after { box-shadow: inset 0 -2px " + cssColor(primary) + "; }\n"
           ".orvel-new-folder-row { background-color: " + cssColor(Rgba{1, 1, 0, 0.1}) + "; }\n"
           ".orvel-history-header { font-size: 11px; font-weight: bold; background-color: " + cssColor(primary.withAlpha(0.05)) + "; padding: 6px 12px; }\n"
           ".orvel-history-title { font-size: 11px; font-weight: 500; }\n"
           ".orvel-history-url { font-size: 9px; }\n"
           ".orvel-history-time { font-size: 9px; }\n"
           ".orvel-history-badge { font-size: 8px; font-weight: bold; color: " + cssColor(kWhite) +
           "; background-color: " + cssColor(primary.withAlpha(0.6)) + "; padding: 1px 4px; border-radius: 999px; }\n"
           ".orvel-empty-icon { -gtk-icon-size: 28px; color: " + cssColor(primary.withAlpha(0.2)) + "; }\n"
           ".orvel-no-results-icon { -gtk-icon-size: 24px; opacity: 0.4; }\n"
           ".orvel-empty-title { font-size: 12px; }\n"
           ".orvel-empty-detail { font-size: 10px; opacity: 0.6; }\n";
}

}  // namespace

std::string explorerBarCss(OrvelColorTheme theme) { return frameCss(theme) + panelCss(theme); }

}  // namespace sarvik
