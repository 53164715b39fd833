#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace sarvik {

// The system calls a save goes through, so tests can make any step fail.
// Each returns what the POSIX call returns and sets errno on failure.
class FileLayer {
public:
    virtual ~FileLayer() = default;
    virtual int create(const char* path);  // a new file, never an existing one
    virtual ssize_t write(int fd, const void* data, std::size_t size);
    virtual int flush(int fd);  // fsync
    virtual int close(int fd);
    virtual int rename(const char* from, const char* to);
    virtual int syncDirectory(const char* path);
    virtual int remove(const char* path);
    virtual int link(const char* from, const char* to);  // a second name, never replacing one

    static FileLayer& system();
};

struct FileError {
    std::string step;  // "create", "write", "flush", "rename", "sync"
    int code = 0;      // errno
    std::string description() const;
};

// Replaces `target` with `bytes` so that a reader, a crash or a power loss
// sees either the old or the new whole file: the bytes go to a temporary file
// beside it, which is flushed to disk, renamed over the target, and then the
// folder is flushed. On failure the old file is untouched, no temporary file
// is left behind, and the error is returned.
std::optional<FileError> writeFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                                             FileLayer& files = FileLayer::system());

// The whole content of a regular file, or nothing if it cannot be read or is
// a symlink (the folders above it may be symlinks).
std::optional<std::string> readWholeFile(const std::filesystem::path& path);

// Removes temporary files that a save of `target` interrupted by a crash left.
void removeStaleTemporaryFiles(const std::filesystem::path& target);
// The same for every file in `folder` whose name `isTarget` accepts; only
// regular files named as the atomic writer names its temporaries go.
void removeStaleTemporaryFilesIn(const std::filesystem::path& folder,
                                 const std::function<bool(std::string_view)>& isTarget);

// Keeps a damaged file before it is overwritten: gives it a second name,
// "<name>.damaged-N" with the first N that is free, so no earlier kept copy is
// ever replaced. Where hard links are not supported the bytes are copied to
// that name instead. Returns the new name, or nothing if the file could not be
// kept (a folder in its place, say).
std::optional<std::filesystem::path> keepDamagedCopy(const std::filesystem::path& file,
                                                     FileLayer& files = FileLayer::system());

}  // namespace sarvik
