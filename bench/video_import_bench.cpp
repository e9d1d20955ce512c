// Video import throughput: every frame of each file read into new frames as the editor's
// import reads them (paletted frames ready, others as true colour awaiting their reduction,
// all held until the file is done), best of RUNS runs.
//   video_import_bench RUNS FILE...
// Prints per file: video <frames> frames <WxH> <codec>: X ms, Y fps, peak Z MiB
// (peak: the process's largest resident size so far, the frames of one run included), or
// "skip FILE: why".

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "formats/video_import.h"
#include "model/animation.h"

int main(int argc, char** argv) {
    using namespace anitrope;
    const int runs = argc >= 3 ? std::atoi(argv[1]) : 0;
    if (runs < 1) {
        std::fprintf(stderr, "usage: video_import_bench RUNS FILE...\n");
        return 2;
    }
    int status = 0;
    for (int i = 2; i < argc; ++i) {
        double bestMs = 0;
        std::size_t frames = 0;
        VideoInfo info;
        std::string error;
        for (int run = 0; run < runs && error.empty(); ++run) {
            Animation doc;
            const auto start = std::chrono::steady_clock::now();
            const auto video = OpenVideoFile(argv[i], &error);
            if (!video) break;
            const VideoRun read = ReadVideoRun(*video, {.all = true},
                                               [&] { return CreateGif(doc, nullptr, nullptr); });
            const double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
            error = read.error;
            info = video->Info();
            frames = read.indices.size();
            if (run == 0 || ms < bestMs) bestMs = ms;
        }
        if (!error.empty()) {
            std::printf("skip %s: %s\n", argv[i], error.c_str());
            status = 1;
            continue;
        }
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("video %zu frames %dx%d %s: %.1f ms, %.1f fps, peak %.1f MiB\n", frames,
                    info.width, info.height, info.codec.c_str(), bestMs,
                    static_cast<double>(frames) * 1000 / bestMs,
                    static_cast<double>(usage.ru_maxrss) / 1024);
    }
    return status;
}
