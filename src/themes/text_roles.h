#pragma once

#include "core/color_theme.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sarvik {

// What a text role's glyphs sit on. Light surfaces are the window and the
// panels over it; theme fills are the gradients of the themed controls.
enum class TextBackdrop {
    explorerPanel,     // the side bar's faint primary tint over the window
    explorerHeader,    // the side bar's header: the toolbar gradient at half strength
    orangeTint,        // an orange-tinted badge on the side bar
    statusBar,         // the toolbar gradient at 0.3 over the window
    findBand,          // the find bar: the toolbar gradient at 0.6 over the window
    toolbar,           // theme fill: the toolbar gradient itself
    buttonFill,        // theme fill: the button gradient with its gloss
    selectedTab,       // theme fill: the button gradient on the side bar's header
    solidOrange,       // the deep orange capsule
};

bool isThemeFill(TextBackdrop backdrop);

// One kind of text: where it appears, its colour and the surface under it.
struct TextRole {
    std::string_view name;
    std::string_view selector;
    Rgba (*foreground)(OrvelColorTheme);
    TextBackdrop backdrop;
    double fontPixels;
    bool bold;
};

std::span<const TextRole> textRoles();

// The opaque colours a backdrop shows in a theme, from its lightest to its
// darkest band, for judging text against the worst of them.
std::vector<Rgba> backdropSamples(TextBackdrop backdrop, OrvelColorTheme theme);

// The lowest contrast ratio of a role's text over its backdrop's samples.
double worstContrast(const TextRole& role, OrvelColorTheme theme);
double contrastRatio(const Rgba& a, const Rgba& b);  // both opaque

// "selector { color: ...; }" for every role, written after every other rule.
std::string textRolesCss(OrvelColorTheme theme);

}  // namespace sarvik
