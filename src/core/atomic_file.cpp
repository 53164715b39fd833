#include "core/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

namespace sarvik {
namespace fs = std::filesystem;

int FileLayer::create(const char* path) { return ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600); }
ssize_t FileLayer::write(int fd, const void* data, std::size_t size) { return ::write(fd, data, size); }
int FileLayer::flush(int fd) { return ::fsync(fd); }
int FileLayer::close(int fd) { return ::close(fd); }
int FileLayer::rename(const char* from, const char* to) { return ::rename(from, to); }
int FileLayer::remove(const char* path) { return ::unlink(path); }
int FileLayer::link(const char* from, const char* to) { return ::link(from, to); }

int FileLayer::syncDirectory(const char* path) {
    const int fd = ::open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return -1;
    const int result = ::fsync(fd);
    const int savedErrno = errno;
    ::close(fd);
    errno = savedErrno;
    return result;
}

FileLayer& FileLayer::system() {
    static FileLayer layer;
    return layer;
}

std::string FileError::description() const { return step + ": " + std::strerror(code); }

namespace {

constexpr std::string_view kTemporaryMarker = ".tmp-";

std::string randomSuffix() {
    static thread_local std::mt19937_64 engine{std::random_device{}()};
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(engine()));
    return text;
}

fs::path folderOf(const fs::path& target) {
    const fs::path parent = target.parent_path();
    return parent.empty() ? fs::path(".") : parent;
}

bool writeAll(FileLayer& files, int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = files.write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (written == 0) {
            errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

std::optional<FileError> writeFileAtomically(const fs::path& target, std::string_view bytes, FileLayer& files) {
    const fs::path temporary = target.string() + std::string(kTemporaryMarker) + randomSuffix();
    const int fd = files.create(temporary.c_str());
    if (fd < 0) return FileError{"create", errno};

    const auto abandon = [&](const char* step) {
        const int code = errno;
        files.remove(temporary.c_str());
        return FileError{step, code};
    };
    if (!writeAll(files, fd, bytes)) {
        const FileError error = abandon("write");
        files.close(fd);
        return error;
    }
    if (files.flush(fd) != 0) {
        const FileError error = abandon("flush");
        files.close(fd);
        return error;
    }
    if (files.close(fd) != 0) return abandon("close");
    if (files.rename(temporary.c_str(), target.c_str()) != 0) return abandon("rename");
    // The new file is in place; a failed folder flush only weakens durability, but it is still reported.
    if (files.syncDirectory(folderOf(target).c_str()) != 0) return FileError{"sync", errno};
    return std::nullopt;
}

// One read() into a buffer sized from fstat: the data files can be tens of
// megabytes, and stream copies cost more than the read itself.
std::optional<std::string> readWholeFile(const fs::path& path) {
    // Never wait on a FIFO, never read through a symlink planted in the data folder.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0) return std::nullopt;
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    std::string content;
    content.resize(static_cast<std::size_t>(info.st_size));
    std::size_t filled = 0;
    for (;;) {
        if (filled == content.size()) content.resize(content.size() + 4096);  // the file may have grown
        const ssize_t got = ::read(fd, content.data() + filled, content.size() - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
    }
    content.resize(filled);
    return content;
}

void removeStaleTemporaryFilesIn(const fs::path& folder, const std::function<bool(std::string_view)>& isTarget) {
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        const auto marker = name.rfind(kTemporaryMarker);
        if (marker == std::string::npos || name.size() - marker - kTemporaryMarker.size() != 16) continue;
        const std::string_view suffix = std::string_view(name).substr(marker + kTemporaryMarker.size());
        if (!std::all_of(suffix.begin(), suffix.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; })) continue;
        if (!isTarget(std::string_view(name).substr(0, marker))) continue;
        if (it->symlink_status(error).type() == fs::file_type::regular) fs::remove(it->path(), error);
    }
}

void removeStaleTemporaryFiles(const fs::path& target) {
    const std::string name = target.filename().string();
    removeStaleTemporaryFilesIn(folderOf(target), [&](std::string_view each) { return each == name; });
}

namespace {

// For filesystems without hard links: the bytes go to a new name that did not
// exist (O_EXCL), so an earlier kept copy is never replaced either.
// Returns 0, or the errno of the step that failed (EEXIST: name taken).
int copyToNewName(const std::string& bytes, const fs::path& kept) {
    const int fd = ::open(kept.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return errno;
    const bool written = writeAll(FileLayer::system(), fd, bytes) && ::fsync(fd) == 0;
    const int code = written ? 0 : errno;
    ::close(fd);
    if (!written) ::unlink(kept.c_str());
    return code;
}

}  // namespace

std::optional<fs::path> keepDamagedCopy(const fs::path& file, FileLayer& files) {
    std::optional<std::string> bytes;  // read only when a hard link cannot be made
    for (int n = 1; n < 10000; ++n) {
        const fs::path kept = file.string() + ".damaged-" + std::to_string(n);
        // link() never replaces an existing name, so earlier copies are safe.
        if (files.link(file.c_str(), kept.c_str()) == 0) return kept;
        if (errno == EEXIST) continue;
        if (errno != EPERM && errno != EXDEV && errno != ENOTSUP && errno != EMLINK && errno != ENOSYS)
            return std::nullopt;
        if (!bytes) bytes = readWholeFile(file);
        if (!bytes) return std::nullopt;  // a folder in its place, or unreadable: nothing to copy
        const int code = copyToNewName(*bytes, kept);
        if (code == 0) return kept;
        if (code != EEXIST) return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace sarvik
