#pragma once

namespace sarvik {

// What the browser opens when it starts: the home page, or the tabs open when it last ended.
enum class StartPages { homePage, lastTabs };

}  // namespace sarvik
