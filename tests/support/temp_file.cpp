#include "support/temp_file.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace anitrope::test {

TempFile::TempFile(std::span<const uint8_t> bytes, const std::string& suffix) {
    std::string pattern = (std::filesystem::temp_directory_path() / "anitrope-XXXXXX").string();
    pattern += suffix;
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = mkstemps(name.data(), static_cast<int>(suffix.size()));
    if (fd < 0) throw std::runtime_error("cannot create a temporary file");
    path_ = name.data();
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
        if (n <= 0) {
            close(fd);
            std::remove(path_.c_str());
            throw std::runtime_error("cannot write a temporary file");
        }
        written += static_cast<std::size_t>(n);
    }
    close(fd);
}

TempFile::~TempFile() { std::remove(path_.c_str()); }

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "anitrope-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!mkdtemp(name.data())) throw std::runtime_error("cannot create a temporary directory");
    path_ = name.data();
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace anitrope::test
