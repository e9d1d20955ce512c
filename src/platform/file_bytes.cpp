#include "platform/file_bytes.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace anitrope {
namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

bool ReadAll(int fd, std::vector<uint8_t>& out, std::size_t maxBytes) {
    uint8_t chunk[65536];
    for (;;) {
        ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0) return false;
        if (n == 0) return true;
        if (out.size() + static_cast<std::size_t>(n) > maxBytes) return false;
        out.insert(out.end(), chunk, chunk + n);
    }
}

}  // namespace

FileBytes::~FileBytes() { Release(); }

void FileBytes::Release() {
    if (mapping_) munmap(mapping_, size_);
    mapping_ = nullptr;
    data_ = nullptr;
    size_ = 0;
    buffer_.clear();
}

bool FileBytes::Open(const std::string& path, std::size_t maxBytes, std::size_t maxStreamBytes) {
    Release();
    FileDescriptor fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) return false;
    struct stat info {};
    if (fstat(fd.Get(), &info) != 0) return false;
    if (S_ISDIR(info.st_mode)) return false;
    if (S_ISREG(info.st_mode)) {
        const auto size = static_cast<std::size_t>(info.st_size);
        if (size > maxBytes) return false;
        if (size == 0) return true;
        void* map = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd.Get(), 0);
        if (map != MAP_FAILED) {
            mapping_ = map;
            data_ = static_cast<const uint8_t*>(map);
            size_ = size;
            return true;
        }
    }
    // Pipes, devices, or a file mmap refused: read it, bounded.
    if (!ReadAll(fd.Get(), buffer_, std::min(maxBytes, maxStreamBytes))) {
        buffer_.clear();
        return false;
    }
    data_ = buffer_.data();
    size_ = buffer_.size();
    return true;
}

}  // namespace anitrope
