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
    for (Gif* g = doc.head; g; g = g->next) MakeTrueColor(g, true);
    JobScheduler scheduler(threads);
    ColorReduction reduction(doc, &scheduler, nullptr);
    // Counted, not waited for: a waiter would reduce queued frames itself, one more thread.
    std::mutex lock;
    std::condition_variable published;
    std::size_t done = 0;
    reduction.SetObserver([&](Gif&, ColorReduction::Step step) {
        if (step != ColorReduction::Step::Published) return;
        std::lock_guard guard(lock);
        ++done;
        published.notify_one();
    });
    const std::size_t frames = doc.FrameCount();
    const auto start = std::chrono::steady_clock::now();
    StartReductions(doc.head, frames);
    {
        std::unique_lock guard(lock);
        published.wait(guard, [&] { return done == frames; });
    }
    const auto end = std::chrono::steady_clock::now();
    reduction.WaitForAll();
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
