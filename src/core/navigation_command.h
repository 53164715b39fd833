#pragma once

#include "core/url.h"

#include <variant>

namespace sarvik {

// A one-shot command for the active tab's web view.
struct NavigationCommand {
    struct Load {
        Url url;
        friend bool operator==(const Load&, const Load&) = default;
    };
    struct Zoom {
        double factor = 1.0;  // 1.0 = 100 %
        friend bool operator==(const Zoom&, const Zoom&) = default;
    };
    struct GoBack { friend bool operator==(const GoBack&, const GoBack&) = default; };
    struct GoForward { friend bool operator==(const GoForward&, const GoForward&) = default; };
    struct Reload { friend bool operator==(const Reload&, const Reload&) = default; };
    struct Stop { friend bool operator==(const Stop&, const Stop&) = default; };

    std::variant<Load, Zoom, GoBack, GoForward, Reload, Stop> action;

    static NavigationCommand load(Url url) { return {Load{std::move(url)}}; }
    static NavigationCommand zoom(double factor) { return {Zoom{factor}}; }
    static NavigationCommand goBack() { return {GoBack{}}; }
    static NavigationCommand goForward() { return {GoForward{}}; }
    static NavigationCommand reload() { return {Reload{}}; }
    static NavigationCommand stop() { return {Stop{}}; }

    friend bool operator==(const NavigationCommand&, const NavigationCommand&) = default;
};

}  // namespace sarvik
