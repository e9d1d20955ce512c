#include "cli/frames_command.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/load_input.h"
#include "cli/number_option.h"
#include "formats/jpeg_writer.h"
#include "formats/png_writer.h"
#include "gif/export_names.h"
#include "gif/gif_writer.h"
#include "model/animation.h"
#include "model/compositor.h"
#include "model/gif.h"
#include "model/true_color_conversion.h"
#include "platform/atomic_file.h"

namespace anitrope {
namespace {

namespace fs = std::filesystem;

RgbaPicture ToRgba(const ScreenImage& screen) {
    RgbaPicture picture{screen.Width(), screen.Height(), {}};
    picture.pixels.reserve(static_cast<std::size_t>(screen.Width()) * screen.Height() * 4);
    for (int32_t y = 0; y < screen.Height(); ++y) {
        for (int32_t x = 0; x < screen.Width(); ++x) {
            const uint32_t p = screen.Get(x, y);
            if (p == kNothingBeneathPixel) {
                picture.pixels.insert(picture.pixels.end(), {0, 0, 0, 0});
            } else {
                picture.pixels.insert(picture.pixels.end(),
                                      {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p), 255});
            }
        }
    }
    return picture;
}

std::vector<uint8_t> ToPpm(const ScreenImage& screen) {
    const std::string header = "P6\n" + std::to_string(screen.Width()) + " " +
                               std::to_string(screen.Height()) + "\n255\n";
    std::vector<uint8_t> bytes(header.begin(), header.end());
    bytes.reserve(bytes.size() + static_cast<std::size_t>(screen.Width()) * screen.Height() * 3);
    for (int32_t y = 0; y < screen.Height(); ++y)
        for (int32_t x = 0; x < screen.Width(); ++x) {
            const uint32_t p = screen.Get(x, y);
            bytes.insert(bytes.end(), {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)});
        }
    return bytes;
}

// Calls emit(picture, index) for every composed frame, in order; stops at the first false.
template <class Emit>
bool ForEachComposedFrame(Animation& animation, Emit&& emit) {
    // Frame after frame, so each picture starts from the one just made.
    Compositor compositor(animation, nullptr);
    bool ok = true;
    int index = 0;
    for (Gif* g = animation.head; g && ok; g = g->next, ++index) {
        auto picture = compositor.GetDisplayBitmap(*g);
        ok = picture && emit(*picture, index);
    }
    animation.Clear();
    return ok;
}

int WritePngs(const std::string& input, const fs::path& dir, std::ostream& err) {
    Animation animation;
    if (!LoadInput(input, animation, err)) return kExitFailure;
    std::error_code ec;
    fs::create_directories(dir, ec);
    const std::string name = fs::path(input).stem().string();
    fs::path failed;
    const bool ok = ForEachComposedFrame(animation, [&](const ScreenImage& picture, int k) {
        const fs::path file = dir / (name + "-" + std::to_string(k) + ".png");
        if (WritePngFile(file, ToRgba(picture))) return true;
        failed = file;
        return false;
    });
    if (ok) return kExitOk;
    err << kProgramName << ": " << (failed.empty() ? input : failed.string())
        << ": cannot write the frame\n";
    return kExitFailure;
}

int WritePpmStream(const std::string& input, const std::string& output, std::ostream& out,
                   std::ostream& err) {
    Animation animation;
    if (!LoadInput(input, animation, err)) return kExitFailure;
    const bool toStdout = output == "-";
    std::optional<AtomicFileWriter> file;
    if (!toStdout) file.emplace(output);
    bool ok = ForEachComposedFrame(animation, [&](const ScreenImage& picture, int) {
        const std::vector<uint8_t> ppm = ToPpm(picture);
        if (file) return file->Write(ppm);
        out.write(reinterpret_cast<const char*>(ppm.data()), static_cast<std::streamsize>(ppm.size()));
        return static_cast<bool>(out);
    });
    ok = ok && (file ? file->Commit() : static_cast<bool>(out.flush()));
    if (ok) return kExitOk;
    err << kProgramName << ": " << output << ": cannot write the frames\n";
    return kExitFailure;
}

// --name PATTERN [--indicator C] [--jpeg [--quality Q]] IN.gif, as the editor's Export All
// Images names and writes the frames (each as it is, not as the screen shows it).
struct NamedExport {
    std::string input;
    std::string pattern;
    std::optional<std::string> indicator;
    bool jpeg = false;
    std::optional<int> quality;
};

std::optional<NamedExport> ParseNamedExport(CommandArgs args) {
    NamedExport request;
    std::optional<std::string> pattern;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool valued = arg == "--name" || arg == "--indicator" || arg == "--quality";
        if (valued && i + 1 == args.size()) return std::nullopt;
        if (arg == "--name") {
            pattern = args[++i];
        } else if (arg == "--indicator") {
            request.indicator = args[++i];
        } else if (arg == "--quality") {
            request.quality = ParseNumber(args[++i], 0, 100);
            if (!request.quality) return std::nullopt;
        } else if (arg == "--jpeg") {
            request.jpeg = true;
        } else if (arg.rfind("--", 0) == 0 || !request.input.empty()) {
            return std::nullopt;
        } else {
            request.input = arg;
        }
    }
    if (!pattern || pattern->empty() || request.input.empty() || (request.quality && !request.jpeg))
        return std::nullopt;
    request.pattern = *pattern;
    return request;
}

constexpr int kDefaultJpegQuality = 75;

int WriteNamedFrames(const NamedExport& request, std::ostream& err) {
    Animation animation;
    if (!LoadInput(request.input, animation, err)) return kExitFailure;
    const int digits = ExportDigits(animation.FrameCount());
    std::optional<char> indicator;
    if (request.indicator) {
        const IndicatorCheck check = CheckIndicator(request.pattern, *request.indicator, digits);
        if (check.status != IndicatorStatus::Ok) {
            err << kProgramName << ": " << IndicatorMessage(check, digits) << "\n";
            animation.Clear();
            return kExitUsage;
        }
        indicator = (*request.indicator)[0];
    }
    std::size_t k = 0;
    std::string failed;
    for (Gif* g = animation.head; g && failed.empty(); g = g->next, ++k) {
        const std::string path = ExportName(request.pattern, indicator, digits, k);
        bool written = false;
        if (request.jpeg) {
            const std::shared_ptr<const TrueColorBitmap> pixels = TrueColorOf(*g);
            const int quality = request.quality.value_or(kDefaultJpegQuality);
            written = pixels && pixels->HasRows() && WriteJpegFile(path, *pixels, true, quality).ok;
        } else {
            written = SaveSingleGif(animation, *g, path) == GifWriteStatus::Ok;
        }
        if (!written) failed = path;
    }
    animation.Clear();
    if (failed.empty()) return kExitOk;
    err << kProgramName << ": " << failed << ": cannot write the frame\n";
    return kExitFailure;
}

}  // namespace

int RunFramesCommand(CommandArgs args, std::ostream& out, std::ostream& err) {
    if (auto answered = AnswerHelpOrMiscount("frames", args, {2, 3, 4, 5, 6, 7, 8}, out, err))
        return *answered;
    if (args.size() == 3 && args[0] == "--ppm") return WritePpmStream(args[1], args[2], out, err);
    if (args.size() == 2 && args[0].rfind("--", 0) != 0) return WritePngs(args[0], args[1], err);
    if (const std::optional<NamedExport> named = ParseNamedExport(args))
        return WriteNamedFrames(*named, err);
    PrintCommandUsage(*FindCliCommand("frames"), err);
    return kExitUsage;
}

}  // namespace anitrope
