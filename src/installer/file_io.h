#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace anitrope {

// The whole file, or nullopt when it cannot be read or is larger than `limit` bytes.
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path, std::size_t limit);

// Writes `bytes` to a temporary beside `path`, then renames it over `path`, so that `path`
// holds either its old contents or all of the new ones. False (and no temporary left) on any
// failure.
bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes, mode_t mode);
bool WriteTextAtomically(const std::string& path, const std::string& text, mode_t mode);

// The directory part of `path` ("" for a bare name) and the part after the last '/'.
std::string DirectoryOf(const std::string& path);
std::string FileNameOf(const std::string& path);

}  // namespace anitrope
