#include "themes/auction_panel_css.h"

#include "themes/theme_css.h"
#include "themes/standard_colors.h"

#include <sstream>

namespace sarvik {
namespace {

// The standard colours the panel names; the panel's only colour values
// besides the theme roles.
using standard_colors::kOrange;
using standard_colors::kRed;
using standard_colors::kGreen;
using standard_colors::kBlue;
using standard_colors::kGray;
using standard_colors::kPurple;
using standard_colors::kWhite;
using standard_colors::kSecondaryLabel;

void colourNames(std::ostringstream& out, OrvelColorTheme theme) {
    out << "@define-color auction_primary " << cssColor(primaryColor(theme)) << ";\n"
        << "@define-color auction_orange " << cssColor(kOrange) << ";\n"
        << "@define-color auction_red " << cssColor(kRed) << ";\n"
        << "@define-color auction_green " << cssColor(kGreen) << ";\n"
        << "@define-color auction_blue " << cssColor(kBlue) << ";\n"
        << "@define-color auction_gray " << cssColor(kGray) << ";\n"
        << "@define-color auction_purple " << cssColor(kPurple) << ";\n"
        << "@define-color auction_white " << cssColor(kWhite) << ";\n"
        << "@define-color auction_secondary_label " << cssColor(kSecondaryLabel) << ";\n";
}

constexpr const char* kHeaderRules = R"(
.auction-header { padding: 6px 10px; }
.auction-badge { padding: 2px 6px; border-radius: 999px; background-color: alpha(@auction_orange, 0.15); }
.auction-badge label { font-size: 10px; font-weight: bold; }
.auction-badge image { -gtk-icon-size: 9px; }
.auction-refresh image, .auction-form-toggle image { -gtk-icon-size: 11px; }
.auction-form-toggle { background: none; border: none; box-shadow: none;
  padding: 2px 4px; min-height: 0; min-width: 0; }
.auction-segment button { font-size: 11px; padding: 2px 10px; min-height: 0; }
)";

constexpr const char* kEmptyRules = R"(
.auction-empty { padding: 0 16px; }
.auction-empty-icon { -gtk-icon-size: 36px; color: alpha(@auction_primary, 0.3); }
.auction-empty-title { font-size: 13px; font-weight: 500; }
.auction-empty-subtitle { font-size: 11px; }
)";

constexpr const char* kRowRules = R"(
.auction-list, .auction-list > row { background: none; padding: 0; }
.auction-list { padding: 4px 0; }
.auction-list > row { margin: 1px 0; }
.auction-row { border-radius: 4px; background-color: transparent; }
.auction-row.last-hour { background-color: alpha(@auction_orange, 0.05); }
.auction-main-line { padding: 6px 10px; }
.auction-status-icon { -gtk-icon-size: 14px; }
.status-active { color: @auction_blue; }
.status-ended { color: @auction_gray; }
.status-watching { color: @auction_purple; }
@keyframes auction-pulse { from { opacity: 1; } to { opacity: 0.3; } }
.auction-pulse-dot { min-width: 5px; min-height: 5px; border-radius: 999px; background-color: @auction_orange;
  animation: auction-pulse 0.8s ease-in-out infinite alternate; }
.auction-title { font-size: 11px; font-weight: 500; }
.auction-site-line { font-size: 9px; }
.auction-site-line image { -gtk-icon-size: 8px; }
.auction-site-sign { font-size: 7px; font-weight: bold; min-width: 9px; min-height: 9px; border-radius: 999px;
  background-color: @auction_secondary_label; color: @auction_white; }
.auction-time.last-hour { font-weight: bold; }
.auction-price { font-size: 12px; font-weight: bold; }
.auction-trend { font-size: 9px; }
.auction-trend image { -gtk-icon-size: 7px; }
.auction-bids { font-size: 9px; }
.auction-max-bid-warning { padding: 0 10px 4px 10px; font-size: 9px; }
.auction-max-bid-warning image { -gtk-icon-size: 9px; }
)";

constexpr const char* kFormRules = R"(
.auction-form { padding: 12px; }
.auction-form-problem { font-size: 10px; }
.auction-form-label { font-size: 11px; font-weight: 500; min-width: 50px; }
.auction-field { padding: 4px; min-height: 0; border-radius: 4px; background-color: @auction_white;
  border: 1px solid alpha(@auction_gray, 0.3); box-shadow: none; outline: none; }
.auction-currency { font-size: 12px; }
.auction-date-time { font-size: 11px; }
.auction-date-time > menubutton > button { padding: 2px 6px; min-height: 0; }
.auction-date-time spinbutton { min-height: 0; }
.auction-date-time spinbutton > text { padding: 2px 4px; min-width: 0; }
.auction-date-time spinbutton > button { padding: 0 2px; min-width: 14px; min-height: 0; }
.auction-site-entry image { -gtk-icon-size: 12px; color: @auction_secondary_label; }
.auction-site-entry .auction-site-sign { font-size: 9px; min-width: 13px; min-height: 13px; }
.auction-cancel { background: none; border: none; box-shadow: none; }
)";

}  // namespace

std::string auctionPanelCss(OrvelColorTheme theme) {
    std::ostringstream out;
    colourNames(out, theme);
    out << kHeaderRules << kEmptyRules << kRowRules << kFormRules;
    return out.str();
}

}  // namespace sarvik
