// Playback timing: a 100-frame animation at delay 2 (20 ms) played by the real window on the
// offscreen platform; prints how far the frame changes fall from their schedule.
//   playback_bench
// Prints: playback 100 frames at 20 ms: mean step X ms (error +Y ms), worst step Z ms, total
//         T ms for N ms scheduled (drift D ms)

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <vector>

#include "app/color_chooser.h"
#include "app/command_ids.h"
#include "app/confirmation.h"
#include "app/file_chooser.h"
#include "app/font_chooser.h"
#include "app/image_clipboard.h"
#include "app/main_window.h"
#include "app/message_boxes.h"
#include "gif/gif_writer.h"
#include "model/gif.h"

namespace {

using namespace anitrope;

constexpr int kFrames = 100;
constexpr int kDelay = 2;  // 1/100 s

struct Silent final : MessageBoxes {
    int Show(const MessageRequest&) override { return 0; }
};
struct NoFiles final : FileChooser {
    std::optional<FileChoice> ChooseToOpen(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<FileChoice> ChooseToSave(const FileDialogRequest&) override { return std::nullopt; }
};
struct NoColors final : ColorChooser {
    std::optional<uint32_t> Choose(uint32_t, const std::string&) override { return std::nullopt; }
};
struct NoFonts final : FontChooser {
    std::optional<FontChoice> Choose(const FontChoice&) override { return std::nullopt; }
};
struct NoConfirmations final : Confirmations {
    ConfirmationAnswer Ask(const std::string&) override { return {}; }
};
struct NoClipboard final : ImageClipboard {
    bool HasImage() const override { return false; }
    std::optional<ClipboardImage> Image() const override { return std::nullopt; }
    bool SetImage(const ClipboardImage&) override { return false; }
};

std::string WriteAnimation() {
    Animation doc;
    doc.screenWidth = 160;
    doc.screenHeight = 120;
    Gif* last = nullptr;
    for (int k = 0; k < kFrames; ++k) {
        Gif* gif = CreateGif(doc, last, nullptr);
        (last ? last->next : doc.head) = gif;
        gif->width = 160;
        gif->height = 120;
        gif->delay = kDelay;
        gif->palette[0] = {k * 2, 255 - k * 2, 128};
        gif->indexed = std::make_unique<IndexedBitmap>(gif, 160, 120);
        last = gif;
    }
    const std::string path = "/tmp/anitrope-playback-bench.gif";
    SaveAnimation(doc, doc.head, path);
    return path;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    Settings settings;
    Silent boxes;
    NoFiles files;
    NoClipboard clipboard;
    NoColors colors;
    NoFonts fonts;
    NoConfirmations confirmations;
    MainWindow window(settings, boxes, files, clipboard, colors, fonts, confirmations);
    window.show();
    if (window.Core().OpenFile(WriteAnimation(), OpenOrigin::Menu) != 0) return 1;
    window.Core().Pictures().WaitForCompositions();

    std::vector<qint64> changes;
    QElapsedTimer clock;
    auto previous = window.Core().onSelectionChanged;
    window.Core().onSelectionChanged = [&] {
        previous();
        changes.push_back(clock.nsecsElapsed());
        if (changes.size() > kFrames) {
            window.Core().Dispatch(CmdStopAnimation);
            application.quit();
        }
    };
    clock.start();
    window.Core().Dispatch(CmdStartAnimation);
    application.exec();

    auto ms = [](qint64 ns) { return static_cast<double>(ns) / 1e6; };
    std::vector<double> steps;
    for (std::size_t i = 1; i < changes.size(); ++i) steps.push_back(ms(changes[i] - changes[i - 1]));
    const double count = static_cast<double>(steps.size());
    const double scheduledMs = kDelay * 10.0;
    const double mean = std::accumulate(steps.begin(), steps.end(), 0.0) / count;
    const double worst = *std::max_element(steps.begin(), steps.end());
    const double total = ms(changes.back() - changes.front());
    std::printf("playback %d frames at %.0f ms: mean step %.2f ms (error %+.2f ms), worst step %.2f ms, "
                "total %.1f ms for %.1f ms scheduled (drift %+.1f ms)\n",
                kFrames, scheduledMs, mean, mean - scheduledMs, worst, total, scheduledMs * count,
                total - scheduledMs * count);
    return 0;
}
