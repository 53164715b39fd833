#pragma once

#include "core/atomic_file.h"

#include <cerrno>
#include <string>

namespace sarvik::testing {

// The real file calls, except that while armed the named step ("create",
// "write", "flush", "rename", "sync" or "link") fails with `code`. Counts the saves begun.
class FaultyFiles final : public FileLayer {
public:
    FaultyFiles() = default;
    FaultyFiles(std::string step, int code) { arm(std::move(step), code); }
    void arm(std::string step, int code) { m_step = std::move(step), m_code = code; }
    void disarm() { m_step.clear(); }
    int failures() const { return m_failures; }
    int creates() const { return m_creates; }

    int create(const char* p) override { return ++m_creates, fails("create") ? -1 : FileLayer::create(p); }
    ssize_t write(int fd, const void* d, std::size_t n) override { return fails("write") ? -1 : FileLayer::write(fd, d, n); }
    int flush(int fd) override { return fails("flush") ? -1 : FileLayer::flush(fd); }
    int rename(const char* a, const char* b) override { return fails("rename") ? -1 : FileLayer::rename(a, b); }
    int syncDirectory(const char* p) override { return fails("sync") ? -1 : FileLayer::syncDirectory(p); }
    int link(const char* a, const char* b) override { return fails("link") ? -1 : FileLayer::link(a, b); }

private:
    bool fails(const char* step) {
        if (m_step != step) return false;
        ++m_failures;
        errno = m_code;
        return true;
    }
    std::string m_step;
    int m_code = 0;
    int m_failures = 0;
    int m_creates = 0;
};

}  // namespace sarvik::testing
