#!/usr/bin/env bash
# Runs every fuzz_* executable of a fuzz build for SECONDS each, or only those whose name
# matches PATTERN (an extended regular expression), so that two runs can share the cores.
#   tools/run-fuzzers.sh BUILD_DIR SECONDS [PATTERN]
# Each fuzzer keeps its corpus in BUILD_DIR/corpus/<name>, seeded with the public GIF test
# suite beside the repository and our examples, so later runs start where earlier ones
# stopped. Crashes, leaks, timeouts and out-of-memory inputs land in
# BUILD_DIR/artifacts/<name>/. Exits 1 when any fuzzer found something.
set -uo pipefail

if [ $# -lt 2 ] || [ $# -gt 3 ] || ! [[ "$2" =~ ^[0-9]+$ ]]; then
  echo "usage: $0 BUILD_DIR SECONDS [PATTERN]" >&2
  exit 2
fi
build_dir=$1
seconds=$2
pattern=${3:-.}
repo=$(cd "$(dirname "$0")/.." && pwd)
# Seeds per fuzzer: GIF files for the GIF reader, the BMP suite for the BMP reader, the test
# videos for the video reader, only its own seeds for the SZDD reader, still pictures for the
# others; and whatever fuzz/seeds/<reader>/ holds.
seeds_for() {
  ls "$repo/fuzz/seeds/${1#fuzz_}"/* 2>/dev/null
  case "$1" in
    fuzz_gif_reader) ls "$repo"/../shared/testdata/gif-test-suite/gifs/*.gif "$repo"/examples/*.gif ;;
    fuzz_bmp_reader) ls "$repo"/../shared/testdata/bmpsuite/[gqbx]/*.bmp ;;
    fuzz_video_reader) ls "$repo"/tests/data/video/*.{avi,mp4} ;;
    fuzz_szdd_reader) ;;
    *) ls "$repo"/../shared/testdata/gif-test-suite/gifs/frames/*.png ;;
  esac 2>/dev/null
}

mapfile -t fuzzers < <(find "$build_dir" -type f -perm -u+x -name 'fuzz_*' | sort |
  grep -E "/fuzz_[^/]*(${pattern})[^/]*$")
if [ ${#fuzzers[@]} -eq 0 ]; then
  echo "no fuzz_* executables under $build_dir" >&2
  exit 2
fi

failed=()
for fuzzer in "${fuzzers[@]}"; do
  name=$(basename "$fuzzer")
  corpus="$build_dir/corpus/$name"
  artifacts="$build_dir/artifacts/$name"
  mkdir -p "$corpus" "$artifacts"
  mapfile -t seeds < <(seeds_for "$name")
  for seed in "${seeds[@]}"; do
    [ -f "$seed" ] && cp -n "$seed" "$corpus/"
  done
  dict_args=()
  dict="$repo/fuzz/${name#fuzz_}.dict"
  [ -f "$dict" ] && dict_args=("-dict=$dict")

  marker="$build_dir/$name.started"
  touch "$marker"
  echo "== $name: ${seconds}s, corpus $corpus ($(find "$corpus" -type f | wc -l) inputs)"
  "$fuzzer" "$corpus" "${dict_args[@]}" -max_total_time="$seconds" -rss_limit_mb=6144 \
    -timeout=10 -print_final_stats=1 -artifact_prefix="$artifacts/" \
    2>"$build_dir/$name.log"
  status=$?
  grep -E '^stat::|DONE|SUMMARY|==ERROR' "$build_dir/$name.log"
  mapfile -t found < <(find "$artifacts" -type f -newer "$marker")
  if [ $status -ne 0 ] || [ ${#found[@]} -ne 0 ]; then
    echo "!! $name failed (exit $status); log: $build_dir/$name.log"
    for input in "${found[@]}"; do echo "   input: $input"; done
    failed+=("$name")
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzzers that found problems: ${failed[*]} (inputs under $build_dir/artifacts/)"
  exit 1
fi
echo "no problems found"
