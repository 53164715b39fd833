#include "stores/store_file.h"

#include "core/storage_problems.h"

#include <utility>

namespace sarvik {
namespace fs = std::filesystem;

namespace {

bool isPresent(const fs::path& file) {
    std::error_code error;
    return fs::exists(fs::symlink_status(file, error));
}

}  // namespace

StoreFile::StoreFile(fs::path path, FileLayer& files) : m_path(std::move(path)), m_files(files) {}

std::optional<std::string> StoreFile::read() {
    auto text = readWholeFile(m_path);
    if (!text && isPresent(m_path)) m_isDamaged = true;
    return text;
}

std::optional<fs::path> StoreFile::keepDamagedAside() {
    auto kept = keepDamagedCopy(m_path, m_files);
    if (!kept) return std::nullopt;
    m_files.remove(m_path.c_str());  // left in place, the next save replaces it: the copy is safe either way
    m_isDamaged = false;
    return kept;
}

bool StoreFile::write(const std::optional<std::string>& bytes) {
    if (!bytes) return false;
    auto& problems = StorageProblems::shared();
    if (m_isDamaged) {
        // Never overwrite the only copy of what the user had; try again at the next save.
        if (!keepDamagedCopy(m_path, m_files) && isPresent(m_path)) {
            problems.saveFailed(m_path, "the unreadable file in its place cannot be kept aside");
            return false;
        }
        m_isDamaged = false;
    }
    if (const auto error = writeFileAtomically(m_path, *bytes, m_files)) {
        problems.saveFailed(m_path, error->description());
        return false;
    }
    problems.saveSucceeded(m_path);
    return true;
}

}  // namespace sarvik
