#include "web/error_page.h"

#include "themes/error_page_css.h"

#include <glib.h>

namespace sarvik {
namespace {

std::string escaped(const std::string& text) {
    gchar* markup = g_markup_escape_text(text.c_str(), static_cast<gssize>(text.size()));
    std::string result = markup;
    g_free(markup);
    return result;
}

}  // namespace

std::string errorPageHtml(const std::string& address, const std::string& message, OrvelColorTheme theme) {
    const std::string shownAddress = escaped(address);
    return "<!doctype html><html><head><meta charset='utf-8'><title>" + std::string(kErrorPageTitle) +
           "</title><style>" + errorPageCss(theme) + "</style></head><body>"
           "<div class='band'><h1>This page could not be loaded</h1></div><div class='content'>"
           "<p class='message'>" + escaped(message) + "</p>"
           "<p class='address'>" + shownAddress + "</p>"
           "<a class='try-again' id='try-again' href=\"" + shownAddress + "\">Try Again</a>"
           "</div></body></html>";
}

}  // namespace sarvik
