#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace anitrope {

// A whole file's bytes for a parser: regular files are mapped read-only (no copy, no heap
// growth with file size), anything else is read up to maxBytes.
class FileBytes {
public:
    FileBytes() = default;
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;
    ~FileBytes();

    // False when the file cannot be opened, read, or is larger than maxBytes. Streams
    // (pipes, devices) are read only up to maxStreamBytes: an endless one must fail fast.
    bool Open(const std::string& path, std::size_t maxBytes = std::size_t{1} << 32,
              std::size_t maxStreamBytes = std::size_t{1} << 28);

    std::span<const uint8_t> Bytes() const { return {data_, size_}; }

private:
    void Release();

    const uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    void* mapping_ = nullptr;
    std::vector<uint8_t> buffer_;
};

}  // namespace anitrope
