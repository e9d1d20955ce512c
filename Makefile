# The whole set-up: `make run` and `make test`. Everything else is for developers.
BUILD_PACKAGES := cmake g++ ninja-build pkg-config libpng-dev libjpeg62-turbo-dev qt6-base-dev qt6-qpa-plugins libgl-dev \
                  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev \
                  qt6-tools-dev qt6-tools-dev-tools libmspack-dev
TEST_PACKAGES  := libgtest-dev libgif-dev ffmpeg desktop-file-utils appstream
FUZZ_PACKAGES  := clang libclang-rt-14-dev

FUZZ_TIME ?= 60
JOBS ?= $(shell nproc)
EXAMPLE := examples/bounce.gif

.PHONY: all run test build fuzz tsan bench deps test-deps deb dist clean

all: build

deps:
	@tools/install-deps.sh $(BUILD_PACKAGES)

test-deps:
	@tools/install-deps.sh $(BUILD_PACKAGES) $(TEST_PACKAGES)

build: deps
	cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DANITROPE_TESTS=OFF
	cmake --build build/release -j $(JOBS)

# The editor on the bundled example; the command-line tool describes it first.
run: build
	build/release/src/cli/anitrope-cli info $(EXAMPLE)
	build/release/src/app/anitrope $(EXAMPLE)

# Tests always run under AddressSanitizer and UndefinedBehaviorSanitizer.
test: test-deps
	cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DANITROPE_SANITIZE=ON
	cmake --build build/test -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir build/test --output-on-failure -j $(JOBS)

# The threaded parts (scheduler, compositor, display cache, document lock, status counts,
# reduction workers, optimizers) under ThreadSanitizer; not part of `make test`.
TSAN_TESTS := JobScheduler|Compos|Display|DocumentLock|DocumentReduction|StatusDisplayThreads|ColorReduction|HeldPool|OptimizeAnimation|OptimizeLossless|UnoptimizeAnimation|CliOptimize|CliPictures|CliEffect|Blend|Convol|Blind|MoveZoom|Texture|Pixelize|Sphere|Spiral|Radar|WaveFlag
tsan: test-deps
	cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DANITROPE_TSAN=ON -DANITROPE_APP=OFF
	cmake --build build/tsan -j $(JOBS)
	TSAN_OPTIONS=halt_on_error=1:detect_deadlocks=1 \
	  ctest --test-dir build/tsan --output-on-failure -j $(JOBS) -R '$(TSAN_TESTS)'

# Our codec, optimizer, quantizer and memory use beside giflib, gifsicle, ImageMagick and
# pngquant on a corpus made from synthetic video (no downloads); one table, one run. Another
# optimizer setting: make bench BENCH_OPTIMIZE="optimize --level 5"
BENCH_PACKAGES := libgif-dev ffmpeg gifsicle imagemagick pngquant python3 fontconfig fonts-dejavu-core
BENCH_OPTIMIZE ?= optimize
bench:
	@tools/install-deps.sh $(BUILD_PACKAGES) $(BENCH_PACKAGES)
	tools/make-bench-corpus.sh build/bench-corpus
	cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DANITROPE_TESTS=OFF -DANITROPE_BENCH=ON
	cmake --build build/bench -j $(JOBS)
	tools/bench-table.py --build build/bench --corpus build/bench-corpus --optimize '$(BENCH_OPTIMIZE)'

# Fuzzes every reader for FUZZ_TIME seconds each: make fuzz FUZZ_TIME=600
fuzz:
	@tools/install-deps.sh $(BUILD_PACKAGES) $(FUZZ_PACKAGES)
	CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DANITROPE_FUZZ=ON -DANITROPE_APP=OFF
	cmake --build build/fuzz -j $(JOBS)
	tools/run-fuzzers.sh build/fuzz $(FUZZ_TIME)

# The Debian package of the release build: build/release/anitrope_<version>_<arch>.deb.
# dpkg-shlibdeps (dpkg-dev) works out the package's library dependencies.
deb: build
	@tools/install-deps.sh dpkg-dev
	cd build/release && cpack -G DEB

# The distribution folder build/dist (every file SZDD-compressed, and anitrope-setup to run
# there) and its tarball build/anitrope-dist-<version>.tar.gz, from the release build.
DIST_TARGETS := anitrope anitrope-cli anitrope-setup uninstall anitrope-szdd
dist: deps
	cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DANITROPE_TESTS=OFF
	cmake --build build/release -j $(JOBS) --target $(DIST_TARGETS)
	if ninja -C build/release -t query anitrope_help > /dev/null 2>&1; then \
	  cmake --build build/release -j $(JOBS) --target anitrope_help; fi
	tools/make-dist.sh build/release build/dist

clean:
	rm -rf build
