#pragma once

#include <functional>
#include <optional>
#include <string>

namespace sarvik {

// Something that can archive the page it shows: the web layer's view does it
// with the engine, tests with canned bytes. The scrapbook needs nothing more.
class PageArchiver {
public:
    // Either the archive's bytes, or none and the error's description.
    using Completion = std::function<void(std::optional<std::string> bytes, std::string errorDescription)>;

    virtual ~PageArchiver() = default;

    // Reports exactly once, later, possibly on another thread.
    virtual void createArchive(Completion completion) = 0;
};

}  // namespace sarvik
