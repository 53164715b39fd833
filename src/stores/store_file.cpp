#include "stores/store_file.h"

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

bool StoreFile::write(const std::optional<std::string>& bytes) {
    if (!bytes) return false;
    if (m_isDamaged) {
        // Never overwrite the only copy of what the user had; try again at the next save.
        if (!keepDamagedCopy(m_path, m_files) && isPresent(m_path)) return false;
        m_isDamaged = false;
    }
    return !writeFileAtomically(m_path, *bytes, m_files);
}

}  // namespace sarvik
