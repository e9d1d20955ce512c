#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace anitrope::test {

// A file with the given bytes in the temporary directory, removed when this goes away, for
// code that only reads paths.
class TempFile {
  public:
    explicit TempFile(std::span<const uint8_t> bytes, const std::string& suffix = ".gif");
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

// An empty directory in the temporary directory, removed with everything in it when this
// goes away.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    // The path of `name` inside the directory.
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

}  // namespace anitrope::test
