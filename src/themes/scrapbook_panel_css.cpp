#include "themes/scrapbook_panel_css.h"

#include "themes/theme_css.h"
#include "themes/standard_colors.h"

#include <sstream>

namespace sarvik {
namespace {

// The standard colours the panel names besides its theme role.
using standard_colors::kGreen;
using standard_colors::kRed;
using standard_colors::kYellow;
using standard_colors::kSecondaryLabel;

void colourNames(std::ostringstream& out, OrvelColorTheme theme) {
    out << "@define-color scrapbook_primary " << cssColor(primaryColor(theme)) << ";\n"
        << "@define-color scrapbook_green " << cssColor(kGreen) << ";\n"
        << "@define-color scrapbook_red " << cssColor(kRed) << ";\n"
        << "@define-color scrapbook_yellow " << cssColor(kYellow) << ";\n"
        << "@define-color scrapbook_secondary_label " << cssColor(kSecondaryLabel) << ";\n";
}

constexpr const char* kHeaderRules = R"(
.scrapbook-header { padding: 6px 8px; }
.scrapbook-header-button image { -gtk-icon-size: 11px; }
.scrapbook-save-result { -gtk-icon-size: 12px; }
.scrapbook-save-result.success { color: @scrapbook_green; }
.scrapbook-save-result.failure { color: @scrapbook_red; }
.scrapbook-new-folder-row { padding: 4px 12px; background-color: alpha(@scrapbook_yellow, 0.1); }
.scrapbook-new-folder-row entry { font-size: 12px; background: none; box-shadow: none; min-height: 0; }
.scrapbook-new-folder-row button { background: none; border: none; box-shadow: none; min-height: 0;
  min-width: 0; padding: 0 4px; }
.scrapbook-folder-icon { -gtk-icon-size: 12px; color: @scrapbook_primary; }
)";

constexpr const char* kRowRules = R"(
.scrapbook-list, .scrapbook-list > row { background: none; padding: 0; }
.scrapbook-list { padding: 4px 0; }
.scrapbook-row.scrapbook-folder { padding: 5px 12px; }
.scrapbook-row.scrapbook-folder .scrapbook-row-icon { -gtk-icon-size: 12px; color: @scrapbook_primary; }
.scrapbook-row.scrapbook-folder .scrapbook-row-title { font-size: 12px; font-weight: 500; }
.scrapbook-folder-count { font-size: 9px; padding: 1px 4px;
  border-radius: 999px; background-color: alpha(@scrapbook_secondary_label, 0.15); }
.scrapbook-row.scrapbook-item { padding: 4px 8px 4px 12px; }
.scrapbook-row.scrapbook-item.in-folder { padding-left: 28px; }
.scrapbook-row.scrapbook-item.selected { background-color: alpha(@scrapbook_primary, 0.1); }
.scrapbook-row.scrapbook-item .scrapbook-row-icon { -gtk-icon-size: 11px; color: @scrapbook_secondary_label; }
.scrapbook-row-title { font-size: 11px; font-weight: 500; }
.scrapbook-row-date { font-size: 9px; }
)";

constexpr const char* kEmptyRules = R"(
.scrapbook-empty { padding: 30px 16px 0 16px; }
.scrapbook-empty-icon { -gtk-icon-size: 28px; color: alpha(@scrapbook_primary, 0.2); }
.scrapbook-empty-title { font-size: 13px; font-weight: 500; }
.scrapbook-empty-hint { font-size: 10px; }
)";

}  // namespace

std::string scrapbookPanelCss(OrvelColorTheme theme) {
    std::ostringstream out;
    colourNames(out, theme);
    out << kHeaderRules << kRowRules << kEmptyRules;
    return out.str();
}

}  // namespace sarvik
