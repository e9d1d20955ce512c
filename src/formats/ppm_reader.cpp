#include "formats/ppm_reader.h"

#include <cctype>
#include <optional>

#include "model/picture_limits.h"
#include "platform/file_bytes.h"

namespace anitrope {
namespace {

// Header fields are decimal numbers between whitespace and "#" comments to the line's end.
class PpmHeader {
public:
    explicit PpmHeader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    std::optional<int64_t> Number() {
        SkipSpaceAndComments();
        int64_t value = 0;
        std::size_t digits = 0;
        while (pos_ < bytes_.size() && std::isdigit(bytes_[pos_])) {
            value = value * 10 + (bytes_[pos_++] - '0');
            if (++digits > 9) return std::nullopt;  // far beyond any allowed size
        }
        if (digits == 0) return std::nullopt;
        return value;
    }
    // The single whitespace byte that ends the header.
    bool EndOfHeader() {
        if (pos_ >= bytes_.size() || !std::isspace(bytes_[pos_])) return false;
        ++pos_;
        return true;
    }
    std::size_t Position() const { return pos_; }
    void Skip(std::size_t n) { pos_ += n; }

private:
    void SkipSpaceAndComments() {
        while (pos_ < bytes_.size()) {
            if (std::isspace(bytes_[pos_])) {
                ++pos_;
            } else if (bytes_[pos_] == '#') {
                while (pos_ < bytes_.size() && bytes_[pos_] != '\n') ++pos_;
            } else {
                break;
            }
        }
    }
    std::span<const uint8_t> bytes_;
    std::size_t pos_ = 0;
};

PictureReadResult Fail(const char* why) { return {std::nullopt, why}; }

}  // namespace

PictureReadResult DecodePpm(std::span<const uint8_t> bytes) {
    if (bytes.size() < 2 || bytes[0] != 'P' || bytes[1] != '6') return Fail("not a binary PPM file");
    PpmHeader header(bytes);
    header.Skip(2);
    auto width = header.Number(), height = header.Number(), maxval = header.Number();
    if (!width || !height || !maxval || !header.EndOfHeader() || *maxval < 1 || *maxval > 65535)
        return Fail("damaged PPM header");
    if (*width == 0 || *height == 0 || !PictureSizeAllowed(*width, *height))
        return Fail("picture too large");
    const std::size_t sampleBytes = *maxval > 255 ? 2 : 1;
    const auto needed = CheckedBufferSize(*width, *height, 3 * sampleBytes);
    if (!needed || bytes.size() - header.Position() < *needed) return Fail("PPM data cut short");

    RgbaPicture picture{static_cast<int32_t>(*width), static_cast<int32_t>(*height), {}};
    picture.pixels.reserve(static_cast<std::size_t>(*width) * static_cast<std::size_t>(*height) * 4);
    const uint8_t* data = bytes.data() + header.Position();
    const auto samples = static_cast<std::size_t>(*width) * static_cast<std::size_t>(*height) * 3;
    for (std::size_t i = 0; i < samples; ++i) {
        const int64_t v = sampleBytes == 2 ? (data[2 * i] << 8 | data[2 * i + 1]) : data[i];
        // Scaled to 8 bits, rounded; a sample above the maximum counts as the maximum.
        const int64_t clamped = v > *maxval ? *maxval : v;
        picture.pixels.push_back(static_cast<uint8_t>((clamped * 255 + *maxval / 2) / *maxval));
        if (i % 3 == 2) picture.pixels.push_back(255);
    }
    return {std::move(picture), {}};
}

PictureReadResult ReadPpmFile(const std::string& path) {
    FileBytes file;
    if (!file.Open(path)) return Fail("cannot open the file");
    return DecodePpm(file.Bytes());
}

}  // namespace anitrope
