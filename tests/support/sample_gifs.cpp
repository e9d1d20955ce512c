#include "support/sample_gifs.h"

#include <random>
#include <string>

#include "support/gif_builder.h"
#include "support/gif_loading.h"

namespace anitrope::test {

SampleGif FeatureSampleGif() {
    SampleGif file;
    GifBuilder gif;
    gif.Header().Screen(
        {.width = 12, .height = 10, .globalColors = DistinctColors(8), .background = 2});
    gif.NetscapeLoop(3).Comment({"made ", "for ", "cutting"});
    gif.Control({.disposal = 1, .delay = 20});
    gif.Descriptor({.width = 12, .height = 10});
    file.firstDataStart = gif.Size();
    gif.CodeStreamData(3, LzwEncode(CountingPixels(120, 8), 3).Pack(), 17);
    file.imageEnds.push_back(gif.Size());

    gif.Application("XMP DataXMP", {std::vector<uint8_t>(40, '<'), {1, 9, 0}, {7}});
    gif.Control({.disposal = 2, .delay = 30, .transparentIndex = 5});
    gif.Image({.left = 2,
               .top = 1,
               .width = 9,
               .height = 9,
               .interlaced = true,
               .localColors = DistinctColors(32)},
              CountingPixels(81, 32, 3), {.subBlockSize = 11});
    file.imageEnds.push_back(gif.Size());

    gif.Comment({std::string(255, 'c'), "d"});
    gif.Image({.left = 4, .top = 4, .width = 3, .height = 5}, CountingPixels(15, 8, 1));
    file.imageEnds.push_back(gif.Size());

    gif.Control({.disposal = 3, .delay = 40, .transparentIndex = 0});
    gif.Image({.width = 12, .height = 10, .interlaced = true, .localColors = DistinctColors(4)},
              CountingPixels(120, 4, 2), {.subBlockSize = 5});
    file.imageEnds.push_back(gif.Size());
    gif.Comment({"the end"}).Trailer();
    file.bytes = gif.Bytes();
    return file;
}

namespace {

class Dice {
  public:
    explicit Dice(uint32_t seed) : engine_(seed) {}
    int Between(int low, int high) {  // inclusive
        return std::uniform_int_distribution<int>(low, high)(engine_);
    }
    bool Chance(double p) { return std::bernoulli_distribution(p)(engine_); }
    uint8_t Byte() { return static_cast<uint8_t>(Between(0, 255)); }
    std::vector<uint8_t> Bytes(int count) {
        std::vector<uint8_t> out(static_cast<std::size_t>(count));
        for (uint8_t& b : out) b = Byte();
        return out;
    }
    ColorTable Table() {
        ColorTable table(std::size_t{1} << Between(1, 8));
        for (Rgb& c : table) c = {Byte(), Byte(), Byte()};
        return table;
    }

  private:
    std::mt19937 engine_;
};

std::vector<std::string> RandomTexts(Dice& dice) {
    std::vector<std::string> texts;
    for (int n = dice.Between(1, 3); n > 0; --n) {
        const std::vector<uint8_t> bytes = dice.Bytes(dice.Between(1, 255));
        texts.emplace_back(bytes.begin(), bytes.end());
    }
    return texts;
}

}  // namespace

std::vector<uint8_t> RandomGif(uint32_t seed) {
    Dice dice(seed);
    GifBuilder gif;
    LogicalScreen screen{.width = static_cast<uint16_t>(dice.Between(1, 40)),
                         .height = static_cast<uint16_t>(dice.Between(1, 40)),
                         .background = dice.Byte()};
    if (dice.Chance(0.7)) screen.globalColors = dice.Table();
    gif.Header(dice.Chance(0.5) ? "GIF89a" : "GIF87a").Screen(screen);
    if (dice.Chance(0.5)) gif.NetscapeLoop(static_cast<uint16_t>(dice.Between(0, 65535)));

    for (int frames = dice.Between(1, 5); frames > 0; --frames) {
        if (dice.Chance(0.4)) gif.Comment(RandomTexts(dice));
        if (dice.Chance(0.2)) {
            // Never a 3-byte first sub-block: only the identifier would tell it from a loop.
            std::vector<std::vector<uint8_t>> data = {dice.Bytes(dice.Between(4, 255))};
            for (int n = dice.Between(0, 3); n > 0; --n)
                data.push_back(dice.Bytes(dice.Between(1, 255)));
            gif.Application("XMP DataXMP", data);
        }
        if (dice.Chance(0.1))
            gif.PlainText(std::string(static_cast<std::size_t>(dice.Between(1, 300)), 'p'));
        if (dice.Chance(0.7)) {
            GraphicControl control{.disposal = static_cast<uint8_t>(dice.Between(0, 7)),
                                   .delay = static_cast<uint16_t>(dice.Between(0, 65535))};
            if (dice.Chance(0.5)) control.transparentIndex = dice.Byte();
            gif.Control(control);
        }
        ImageHeader image{.left = static_cast<uint16_t>(dice.Between(0, 50)),
                          .top = static_cast<uint16_t>(dice.Between(0, 50)),
                          .width = static_cast<uint16_t>(dice.Between(1, 40)),
                          .height = static_cast<uint16_t>(dice.Between(1, 40)),
                          .interlaced = dice.Chance(0.3)};
        if (!screen.globalColors || dice.Chance(0.5)) image.localColors = dice.Table();
        const std::size_t colors =
            image.localColors ? image.localColors->size() : screen.globalColors->size();
        std::vector<uint8_t> pixels(std::size_t{image.width} * image.height);
        // Runs as well as noise, so the string table grows long strings too.
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            pixels[i] = i > 0 && dice.Chance(0.6)
                            ? pixels[i - 1]
                            : static_cast<uint8_t>(dice.Between(0, static_cast<int>(colors) - 1));
        }
        const ImageEncoding encoding{
            .lzw = {.clearWhenFull = dice.Chance(0.5)},
            .subBlockSize = static_cast<std::size_t>(dice.Between(1, 255))};
        gif.Image(image, pixels, encoding);
    }
    if (dice.Chance(0.3)) gif.Comment(RandomTexts(dice));
    gif.Trailer();
    return gif.Bytes();
}

}  // namespace anitrope::test
