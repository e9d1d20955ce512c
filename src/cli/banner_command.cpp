#include "cli/banner_command.h"

#include <QByteArray>
#include <QGuiApplication>
#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>

#include "banner/banner_generator.h"
#include "banner/banner_settings.h"
#include "banner/qt_text_drawer.h"
#include "cli/number_option.h"
#include "gif/animation_optimizer.h"
#include "gif/comparison_mask.h"
#include "gif/gif_writer.h"
#include "model/animation.h"
#include "platform/job_scheduler.h"
#include "quantize/color_reduction.h"

namespace anitrope {
namespace {

constexpr std::string_view kName = "banner";

// Options whose value is a whole number; the dialog's ranges are checked once all are read.
constexpr std::array<std::pair<std::string_view, int32_t BannerRequest::*>, 4> kNumberOptions{{
    {"--frames", &BannerRequest::frameCount},
    {"--width", &BannerRequest::imageWidth},
    {"--height", &BannerRequest::imageHeight},
    {"--y-offset", &BannerRequest::textYOffset},
}};

constexpr std::array<std::pair<std::string_view, uint32_t BannerRequest::*>, 3> kColorOptions{{
    {"--text-color", &BannerRequest::textColor},
    {"--background", &BannerRequest::backgroundColor},
    {"--shadow-color", &BannerRequest::shadowColor},
}};

struct BannerOptions {
    BannerRequest request;
    std::optional<int> delay;  // none: what a new frame of the document gets
    bool optimize = false;
    int level = kDefaultComparisonLevel;
    std::string output;
};

std::ostream& Say(std::ostream& err) { return err << kProgramName << ": " << kName << ": "; }

bool Complain(std::ostream& err, const std::string& message) {
    Say(err) << message << '\n';
    return false;
}

// #RRGGBB as 0x00RRGGBB.
std::optional<uint32_t> ParseColor(std::string_view text) {
    uint32_t value = 0;
    if (text.size() != 7 || text[0] != '#') return std::nullopt;
    const auto [end, error] = std::from_chars(text.data() + 1, text.data() + 7, value, 16);
    if (error != std::errc() || end != text.data() + 7) return std::nullopt;
    return value;
}

// X,Y,THICKNESS,INTENSITY: offsets and thickness as typed (the ranges come later), the
// intensity as the dialog's track bar allows.
bool ParseShadow(std::string_view text, BannerRequest& request) {
    std::array<int, 4> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::size_t comma = text.find(',');
        if ((comma == std::string_view::npos) != (i + 1 == values.size())) return false;
        const auto value = i + 1 == values.size() ? ParseNumber(text, 0, 100)
                                                  : ParseNumber(text.substr(0, comma), INT_MIN, INT_MAX);
        if (!value) return false;
        values[i] = *value;
        text.remove_prefix(comma == std::string_view::npos ? text.size() : comma + 1);
    }
    request.shadowEnabled = 1;
    request.shadowXOffset = values[0];
    request.shadowYOffset = values[1];
    request.shadowThickness = values[2];
    request.shadowIntensity = values[3];
    return true;
}

// Reads the words after the subcommand's name. False, having said why, for a wrong command line.
bool ParseBanner(CommandArgs args, BannerOptions& options, std::ostream& err) {
    BannerRequest& request = options.request;
    std::size_t outputs = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (!word.starts_with("--")) {
            options.output = word;
            ++outputs;
            continue;
        }
        if (word == "--bold" || word == "--no-bold") {
            request.font.weight = word == "--bold" ? 700 : 400;
            continue;
        }
        if (word == "--italic" || word == "--border" || word == "--no-shadow" ||
            word == "--optimize") {
            if (word == "--italic") request.font.italic = true;
            if (word == "--border") request.drawBorder = 1;
            if (word == "--no-shadow") request.shadowEnabled = 0;
            if (word == "--optimize") options.optimize = true;
            continue;
        }
        if (i + 1 == args.size()) return Complain(err, word + " needs a value");
        const std::string& text = args[++i];
        const auto bad = [&](const std::string& what) {
            return Complain(err, word + " takes " + what + ", not '" + text + "'");
        };
        const auto number = std::find_if(kNumberOptions.begin(), kNumberOptions.end(),
                                         [&](const auto& option) { return option.first == word; });
        const auto color = std::find_if(kColorOptions.begin(), kColorOptions.end(),
                                        [&](const auto& option) { return option.first == word; });
        if (number != kNumberOptions.end()) {
            const auto value = ParseNumber(text, INT_MIN, INT_MAX);
            if (!value) return bad("a whole number");
            request.*number->second = *value;
        } else if (color != kColorOptions.end()) {
            const auto value = ParseColor(text);
            if (!value) return bad("a colour #RRGGBB");
            request.*color->second = *value;
        } else if (word == "--text") {
            request.text = text;
        } else if (word == "--font") {
            request.font.faceName = text;
        } else if (word == "--size") {
            // Negative: the em rather than the whole cell, as the font chooser has it.
            const auto value = ParseNumber(text, -kMaxBannerFontHeight, kMaxBannerFontHeight);
            const std::string bound = std::to_string(kMaxBannerFontHeight);
            if (!value) return bad("a height in pixels from -" + bound + " to " + bound);
            request.font.height = *value;
        } else if (word == "--shadow") {
            if (!ParseShadow(text, request))
                return bad("X,Y,THICKNESS,INTENSITY (whole numbers, the intensity 0 to 100)");
        } else if (word == "--level") {
            const auto level = ParseNumber(text, 1, 5);
            if (!level) return bad("a number from 1 to 5");
            options.level = *level;
            options.optimize = true;
        } else if (word == "--delay") {
            options.delay = ParseNumber(text, 0, 65535);
            if (!options.delay) return bad("a number from 0 to 65535");
        } else {
            return Complain(err, "unknown option " + word);
        }
    }
    if (outputs != 1) return Complain(err, "takes one OUT.gif besides its options");
    return true;
}

// Fonts come from Qt, which needs a QGuiApplication. A command line may run without a display,
// so ours draws offscreen; it lives only while a banner is drawn, so that the other
// subcommands never start Qt, and one the program already has is used as it is.
class FontSession {
public:
    FontSession() {
        if (QCoreApplication::instance()) return;
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application_ = std::make_unique<QGuiApplication>(argc_, argv_.data());
    }
    FontSession(const FontSession&) = delete;
    FontSession& operator=(const FontSession&) = delete;

private:
    // Qt keeps references to both for the application's lifetime.
    int argc_ = 1;
    std::array<char, 13> name_{"anitrope-cli"};
    std::array<char*, 2> argv_{name_.data(), nullptr};
    std::unique_ptr<QGuiApplication> application_;
};

// The banner's frames, or the exit status of the reason there are none.
int DrawBanner(Animation& animation, BannerRequest& request, std::ostream& err) {
    const FontSession session;
    if (!QtTextDrawer::Available()) {
        Say(err) << "no font engine: the program runs Qt without its graphical part\n";
        return kExitFailure;
    }
    QtTextDrawer drawer;
    request.accepted = true;
    if (GenerateBanner(animation, request, drawer)) {
        animation.head = request.frames.release();
        return kExitOk;
    }
    Say(err) << request.failure << '\n';
    return request.status == BannerOutOfRange || request.status == BannerTooLarge ? kExitUsage
                                                                                  : kExitFailure;
}

}  // namespace

int RunBannerCommand(CommandArgs args, std::ostream& out, std::ostream& err) {
    const CliCommand& command = *FindCliCommand(kName);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        PrintCommandUsage(command, out);
        return kExitOk;
    }
    BannerOptions options;
    CopySettings(BannerSettings{}, options.request);
    if (!ParseBanner(args, options, err)) {
        PrintCommandUsage(command, err);
        return kExitUsage;
    }
    BannerRequest& request = options.request;
    if (const auto range = FirstOutOfRange(request)) {
        Say(err) << RangeMessage(*range) << '\n';
        return kExitUsage;
    }
    if (CharacterCount(request.text) > kMaxBannerTextLength) {
        Say(err) << "--text: the text may have at most " << kMaxBannerTextLength
                 << " characters\n";
        return kExitUsage;
    }

    Animation animation;
    animation.screenWidth = request.imageWidth;
    animation.screenHeight = request.imageHeight;
    if (options.delay) animation.animationDelay = *options.delay;  // new frames take it
    if (const int status = DrawBanner(animation, request, err); status != kExitOk) return status;

    JobScheduler scheduler;
    ColorReduction reduction(&scheduler);
    reduction.ReduceNow(ChainFrames(animation.head));
    if (options.optimize) {
        OptimizeAnimation(animation, animation.head, ComparisonMaskForLevel(options.level), nullptr,
                          &reduction);
        reduction.ReduceNow(ChainFrames(animation.head));
    }
    if (SaveAnimation(animation, animation.head, options.output) != GifWriteStatus::Ok) {
        err << kProgramName << ": " << options.output << ": cannot write the file\n";
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace anitrope
