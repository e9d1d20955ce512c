#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace anitrope {

// Replaces a file so that it is never seen half-written: bytes go to a temporary file beside
// the target, every write and the close are checked, and only Commit renames it over the
// target. A writer that is not committed removes its temporary file and leaves the previous
// file untouched. A symbolic link is followed: the file it names is replaced.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const std::string& path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // False once anything failed, from opening on; later writes are then ignored.
    bool Ok() const { return fd_ >= 0; }
    bool Write(std::span<const uint8_t> bytes);
    // Syncs, closes and renames; false (and the target untouched) on any failure.
    bool Commit();

private:
    void Abandon();

    std::string target_;
    std::string temp_;
    int fd_ = -1;
};

// The whole of `bytes` as the new content of `path`, through an AtomicFileWriter.
bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes);

}  // namespace anitrope
