#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

namespace anitrope {
namespace {

std::string ResolveTarget(const std::string& path) {
    char resolved[PATH_MAX];
    struct stat info {};
    if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode) &&
        realpath(path.c_str(), resolved))
        return resolved;
    return path;
}

mode_t ModeFor(const std::string& target) {
    struct stat info {};
    if (stat(target.c_str(), &info) == 0) return info.st_mode & 07777;
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(const std::string& path) : target_(ResolveTarget(path)) {
    std::vector<char> name(target_.begin(), target_.end());
    const std::string suffix = ".saving-XXXXXX";
    name.insert(name.end(), suffix.begin(), suffix.end());
    name.push_back('\0');
    fd_ = mkstemp(name.data());
    if (fd_ < 0) return;
    temp_ = name.data();
    // The replacement keeps the permissions of the file it replaces.
    if (fchmod(fd_, ModeFor(target_)) != 0) Abandon();
}

AtomicFileWriter::~AtomicFileWriter() { Abandon(); }

void AtomicFileWriter::Abandon() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    if (!temp_.empty()) unlink(temp_.c_str());
    temp_.clear();
}

bool AtomicFileWriter::Write(std::span<const uint8_t> bytes) {
    while (fd_ >= 0 && !bytes.empty()) {
        ssize_t n = write(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            Abandon();
            break;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return Ok();
}

bool AtomicFileWriter::Commit() {
    if (fd_ < 0) return false;
    const bool synced = fsync(fd_) == 0;
    const bool closed = close(fd_) == 0;
    fd_ = -1;
    if (synced && closed && rename(temp_.c_str(), target_.c_str()) == 0) {
        temp_.clear();
        return true;
    }
    Abandon();
    return false;
}

bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes) {
    AtomicFileWriter writer(path);
    return writer.Write(bytes) && writer.Commit();
}

}  // namespace anitrope
