// Runs a command a number of times as a child process and reports its best wall-clock time
// and the largest peak resident set size among the runs, as the kernel counts it for the
// child (wait4). Every tool in the table is measured this way, as a whole process with its
// start-up and file I/O, so that ours and the others pay the same costs.
//   run_stats RUNS COMMAND [ARG...]
// Prints "ms BEST maxrss_kib PEAK" on standard output. The child's standard output goes to
// standard error, so that the result line stays alone. A run that cannot start, is killed or
// exits with a nonzero status ends the measuring: "failed ..." on standard output, exit 1.
//
// The kernel keeps the peak of the process image that exec replaces, so the figure is at
// least this launcher's own small resident size; running /bin/true through it shows that
// floor.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    char* end = nullptr;
    const long runs = argc >= 3 ? std::strtol(argv[1], &end, 10) : 0;
    if (argc < 3 || *end != '\0' || runs < 1 || runs > 100) {
        std::fprintf(stderr, "usage: run_stats RUNS COMMAND [ARG...]\n");
        return 2;
    }
    std::fflush(stdout);
    double bestMs = 0;
    long peakKib = 0;
    for (long run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const pid_t child = fork();
        if (child < 0) {
            std::printf("failed: fork: %s\n", std::strerror(errno));
            return 1;
        }
        if (child == 0) {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            execvp(argv[2], argv + 2);
            std::fprintf(stderr, "run_stats: %s: %s\n", argv[2], std::strerror(errno));
            _exit(127);
        }
        int status = 0;
        rusage usage{};
        while (wait4(child, &status, 0, &usage) < 0) {
            if (errno != EINTR) {
                std::printf("failed: wait4: %s\n", std::strerror(errno));
                return 1;
            }
        }
        const auto stop = std::chrono::steady_clock::now();
        if (WIFSIGNALED(status)) {
            std::printf("failed: killed by signal %d\n", WTERMSIG(status));
            return 1;
        }
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::printf("failed: exit status %d\n", WIFEXITED(status) ? WEXITSTATUS(status) : -1);
            return 1;
        }
        const double ms = std::chrono::duration<double, std::milli>(stop - start).count();
        bestMs = run == 0 ? ms : std::min(bestMs, ms);
        peakKib = std::max(peakKib, long{usage.ru_maxrss});  // Linux counts it in KiB
    }
    std::printf("ms %.2f maxrss_kib %ld\n", bestMs, peakKib);
    return 0;
}
