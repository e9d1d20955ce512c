#include "installer/szdd.h"

#include <gtest/gtest.h>

#include <random>

namespace anitrope {
namespace {

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

// Runs, repeats at every distance up to the window, and noise: every kind of LZSS item.
std::vector<uint8_t> MixedMegabyte() {
    std::mt19937 random(19);
    std::vector<uint8_t> data;
    while (data.size() < (1u << 20)) {
        const auto kind = random() % 3;
        const std::size_t length = 1 + random() % 300;
        if (kind == 0 || data.size() < 4096) {
            for (std::size_t i = 0; i < length; ++i) data.push_back(static_cast<uint8_t>(random()));
        } else if (kind == 1) {
            data.insert(data.end(), length, static_cast<uint8_t>(random()));
        } else {
            const std::size_t from = data.size() - 1 - random() % 4095;
            for (std::size_t i = 0; i < length; ++i) data.push_back(data[from + i]);
        }
    }
    return data;
}

TEST(Szdd, PackedFilesExpandToTheirBytesThroughLibmspack) {
    const struct {
        const char* name;
        std::vector<uint8_t> data;
        char missing;
    } cases[] = {
        {"empty", {}, 0},
        {"small", Bytes("Anitrope Anitrope Anitrope, animated GIF files"), 'h'},
        {"spaces like the initial window", std::vector<uint8_t>(5000, ' '), 'x'},
        {"one megabyte of mixed data", MixedMegabyte(), 'e'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto packed = PackSzdd(c.data, c.missing);
        ASSERT_TRUE(packed.has_value());
        const SzddContents expanded = ExpandSzdd(*packed);
        ASSERT_EQ(expanded.status, SzddStatus::Ok);
        EXPECT_EQ(expanded.header.missingChar, c.missing);
        EXPECT_EQ(expanded.header.length, c.data.size());
        EXPECT_TRUE(expanded.data == c.data);
    }
    // Compression actually happens on repetitive data.
    EXPECT_LT(PackSzdd(std::vector<uint8_t>(5000, 'a'), 0)->size(), 1000u);
}

TEST(Szdd, DamagedFilesAreRefused) {
    const std::vector<uint8_t> good =
        *PackSzdd(Bytes(std::string(3000, 'q') + "tail of the file"), 't');
    auto withLength = [&](uint32_t length) {
        std::vector<uint8_t> file = good;
        for (int i = 0; i < 4; ++i) file[10 + i] = static_cast<uint8_t>(length >> (8 * i));
        return file;
    };
    std::vector<uint8_t> badMagic = good;
    badMagic[3] = 'X';
    const struct {
        const char* name;
        std::vector<uint8_t> file;
        SzddStatus status;
    } cases[] = {
        {"bad magic", badMagic, SzddStatus::NotSzdd},
        {"cut inside the header", {good.begin(), good.begin() + 10}, SzddStatus::NotSzdd},
        {"cut in the data", {good.begin(), good.end() - 5}, SzddStatus::Damaged},
        {"header only", {good.begin(), good.begin() + kSzddHeaderSize}, SzddStatus::Damaged},
        {"length larger than the data", withLength(3017), SzddStatus::Damaged},
        {"length smaller than the data", withLength(100), SzddStatus::Damaged},
        {"length beyond the limit", withLength(0xFFFFFFF0u), SzddStatus::TooLarge},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SzddContents expanded = ExpandSzdd(c.file);
        EXPECT_EQ(expanded.status, c.status);
        EXPECT_TRUE(expanded.data.empty());
    }
}

TEST(Szdd, NamesLoseTheirLastLetterToTheHeader) {
    const struct {
        const char* name;
        const char* compressed;
        char missing;
    } cases[] = {
        {"anitrope.qch", "anitrope.qc_", 'h'},
        {"index.html", "index.htm_", 'l'},
        {"a.c", "a._", 'c'},
        {"uninstall", "uninstall._", 0},
        {"dir.d/anitrope", "dir.d/anitrope._", 0},
    };
    for (const auto& c : cases) {
        char missing = '?';
        EXPECT_EQ(CompressedName(c.name, &missing), c.compressed);
        EXPECT_EQ(missing, c.missing) << c.name;
        EXPECT_EQ(ExpandedName(c.compressed, c.missing), c.name);
    }
    EXPECT_EQ(ExpandedName("plain.txt", 'x'), "plain.txt");
}

}  // namespace
}  // namespace anitrope
