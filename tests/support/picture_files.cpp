#include "support/picture_files.h"

#include <algorithm>
#include <fstream>

namespace anitrope::test {
namespace {

void Le(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// Rows bottom first, blue-green-red, each padded to `align` bytes.
std::vector<uint8_t> BgrRows(int32_t width, int32_t height, const PixelAt& pixel, int align) {
    std::vector<uint8_t> rows;
    for (int32_t y = height - 1; y >= 0; --y) {
        for (int32_t x = 0; x < width; ++x) Le(rows, pixel(x, y), 3);
        while (rows.size() % align != 0) rows.push_back(0);
    }
    return rows;
}

}  // namespace

std::vector<uint8_t> Bmp24File(int32_t width, int32_t height, const PixelAt& pixel) {
    const std::vector<uint8_t> rows = BgrRows(width, height, pixel, 4);
    std::vector<uint8_t> file{'B', 'M'};
    Le(file, static_cast<uint32_t>(54 + rows.size()), 4);
    Le(file, 0, 4);
    Le(file, 54, 4);
    Le(file, 40, 4);
    Le(file, static_cast<uint32_t>(width), 4);
    Le(file, static_cast<uint32_t>(height), 4);
    Le(file, 1, 2);
    Le(file, 24, 2);
    for (int i = 0; i < 6; ++i) Le(file, 0, 4);
    file.insert(file.end(), rows.begin(), rows.end());
    return file;
}

std::vector<uint8_t> Tga24File(int32_t width, int32_t height, const PixelAt& pixel,
                               std::size_t keepBytes) {
    std::vector<uint8_t> file{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Le(file, static_cast<uint32_t>(width), 2);
    Le(file, static_cast<uint32_t>(height), 2);
    file.push_back(24);
    file.push_back(0);  // origin bottom left
    const std::vector<uint8_t> rows = BgrRows(width, height, pixel, 1);
    file.insert(file.end(), rows.begin(),
                rows.begin() + static_cast<std::ptrdiff_t>(std::min(keepBytes, rows.size())));
    return file;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace anitrope::test
