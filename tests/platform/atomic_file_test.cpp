#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace anitrope {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::size_t EntriesIn(const fs::path& dir) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/anitrope-atomic-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override {
        if (mounted_) umount(dir_.c_str());
        fs::remove_all(dir_);
    }
    // A 16 KiB filesystem, to run out of space for real; needs the right to mount.
    bool MountTinyFilesystem() {
        mounted_ = mount("tmpfs", dir_.c_str(), "tmpfs", 0, "size=16k") == 0;
        return mounted_;
    }
    fs::path dir_;
    bool mounted_ = false;
};

TEST_F(AtomicFileTest, ReplacesContentWholeAndLeavesNoTemporary) {
    const fs::path file = dir_ / "a.bin";
    std::ofstream(file) << "old content that is longer";
    const std::string fresh = "new";
    ASSERT_TRUE(WriteFileAtomically(
        file, {reinterpret_cast<const uint8_t*>(fresh.data()), fresh.size()}));
    EXPECT_EQ(Slurp(file), "new");
    EXPECT_EQ(EntriesIn(dir_), 1u);
}

TEST_F(AtomicFileTest, UncommittedWriterLeavesTheOldFile) {
    const fs::path file = dir_ / "b.bin";
    std::ofstream(file) << "keep";
    {
        AtomicFileWriter writer(file);
        const uint8_t bytes[] = {1, 2, 3};
        ASSERT_TRUE(writer.Write(bytes));
    }  // dropped without Commit, as when an encoder fails halfway
    EXPECT_EQ(Slurp(file), "keep");
    EXPECT_EQ(EntriesIn(dir_), 1u);
}

TEST_F(AtomicFileTest, FollowsASymbolicLinkToTheFileItNames) {
    const fs::path real = dir_ / "real.bin", link = dir_ / "link.bin";
    std::ofstream(real) << "x";
    fs::create_symlink(real, link);
    const uint8_t bytes[] = {'y'};
    ASSERT_TRUE(WriteFileAtomically(link, bytes));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Slurp(real), "y");
}

TEST_F(AtomicFileTest, FullDiskFailsAndKeepsTheOldFile) {
    if (!MountTinyFilesystem()) GTEST_SKIP() << "cannot mount a small filesystem here";
    const fs::path file = dir_ / "c.bin";
    std::ofstream(file) << "previous";
    const std::vector<uint8_t> big(64 * 1024, 0xAB);
    EXPECT_FALSE(WriteFileAtomically(file, big));
    EXPECT_EQ(Slurp(file), "previous");
    EXPECT_EQ(EntriesIn(dir_), 1u) << "the temporary file was left behind";
}

}  // namespace
}  // namespace anitrope
