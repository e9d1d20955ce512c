// Colour-reduction throughput: every frame of an animation turned back into true colour and
// reduced by the workers, once on a pool of one thread and once on one thread per core.
//   reduction_bench FILE...
// Prints per file: reduction <frames> frames <WxH>: 1 worker X ms, N workers Y ms

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "gif/gif_reader.h"
#include "model/animation.h"
#include "model/gif.h"
#include "model/reduction_workers.h"
#include "model/true_color_conversion.h"
#include "platform/job_scheduler.h"
#include "quantize/color_reduction.h"

namespace {

using namespace anitrope;

double ReduceAllMs(Animation& doc, std::size_t threads) {
    std::vector<Gif*> frames;
    for (Gif* g = doc.head; g; g = g->next) {
        MakeTrueColor(g, true);
        frames.push_back(g);
    }
    JobScheduler scheduler(threads);
    ColorReduction reduction(&scheduler);
    // Counted, not waited for: a waiter would reduce queued frames itself, one more thread.
    std::mutex lock;
    std::condition_variable ready;
    std::size_t done = 0;
    reduction.SetResultReady([&] {
        std::lock_guard guard(lock);
        ++done;
        ready.notify_one();
    });
    const auto start = std::chrono::steady_clock::now();
    for (Gif* g : frames) reduction.Start(*g);
    {
        std::unique_lock guard(lock);
        ready.wait(guard, [&] { return done == frames.size(); });
    }
    const auto end = std::chrono::steady_clock::now();
    reduction.ApplyFinished();
    return std::chrono::duration<double, std::milli>(end - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t cores = JobScheduler::DefaultThreadCount();
    for (int i = 1; i < argc; ++i) {
        Animation doc;
        if (LoadGifDocument(doc, argv[i]) != GifReadStatus::Ok) {
            std::fprintf(stderr, "reduction_bench: %s: cannot read\n", argv[i]);
            return 1;
        }
        double one = 1e300, all = 1e300;
        for (int run = 0; run < 3; ++run) {
            one = std::min(one, ReduceAllMs(doc, 1));
            all = std::min(all, ReduceAllMs(doc, cores));
        }
        std::printf("reduction %zu frames %dx%d: 1 worker %.1f ms, %zu workers %.1f ms\n",
                    doc.FrameCount(), doc.screenWidth, doc.screenHeight, one, cores, all);
    }
    return 0;
}
