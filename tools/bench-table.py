#!/usr/bin/env python3
"""Measures our tools beside the usual ones on the benchmark corpus and prints one table.

    tools/bench-table.py --build build/bench --corpus build/bench-corpus [--runs 3]
                         [--optimize "optimize"]

Every figure comes from this run. The machine and the tool versions go above the table; each
line of it sets one figure of ours beside the same figure of an anchor tool, with the ratio
ours / anchor (below 1: ours is faster, smaller or lighter). Command-line tools are timed as
whole processes (start-up and file I/O included) by bench/run_stats, best of --runs runs;
peak memory is the largest resident size the kernel saw among those runs. PSNR is over red,
green and blue of every composed frame, from bench/psnr_tool.

--optimize names our optimizing subcommand and its options, run as
`anitrope-cli WORDS... IN.gif OUT.gif`; another subcommand of that shape can stand in for it.
Progress goes to standard error, the table to standard output. A tool that fails gets
"failed" and the reason in its line's note; the script itself exits 0 unless it cannot run at
all, because a benchmark reports rather than judges.
"""

import argparse
import os
import re
import shlex
import shutil
import subprocess
import sys
import textwrap
from pathlib import Path

# ImageMagick 6 by the name Debian installs it under: a plain `convert` on the PATH may be
# another program.
IMAGEMAGICK = "/usr/bin/convert-im6.q16"


def log(message):
    print(message, file=sys.stderr, flush=True)


def first_line(command):
    """The first line a command prints, or why there is none."""
    try:
        done = subprocess.run(command, capture_output=True, text=True, check=False)
    except OSError as error:
        return f"not available ({error.strerror})"
    text = (done.stdout or done.stderr).strip()
    return text.splitlines()[0] if text else f"no version output (exit {done.returncode})"


def first_error_line(text):
    lines = [line.strip() for line in text.splitlines() if line.strip()]
    return lines[0] if lines else ""


class Measured:
    """One tool run RUNS times: best wall time, peak memory, or why it failed."""

    def __init__(self, ms=None, rss_kib=None, failure=None):
        self.ms = ms
        self.rss_kib = rss_kib
        self.failure = failure

    @property
    def ok(self):
        return self.failure is None


class Bench:
    def __init__(self, args):
        self.build = Path(args.build)
        self.corpus = Path(args.corpus)
        self.runs = args.runs
        self.work = self.build / "bench-out"
        self.cli = self.build / "src/cli/anitrope-cli"
        self.run_stats = self.build / "bench/run_stats"
        self.psnr_tool = self.build / "bench/psnr_tool"
        self.codec_bench = self.build / "bench/gif_codec_bench"
        self.reduction_bench = self.build / "bench/reduction_bench"
        self.playback_bench = self.build / "bench/playback_bench"
        self.effect_bench = self.build / "bench/effect_bench"
        self.video_bench = self.build / "bench/video_import_bench"
        self.optimize_words = shlex.split(args.optimize)
        self.rows = []  # one dict per table line, keyed by the column names of table()

    # --- measuring -------------------------------------------------------------------------

    def measure(self, command):
        done = subprocess.run([str(self.run_stats), str(self.runs)] + command,
                              capture_output=True, text=True, check=False)
        words = done.stdout.split()
        if done.returncode == 0 and len(words) == 4 and words[0] == "ms":
            return Measured(ms=float(words[1]), rss_kib=int(words[3]))
        reason = done.stdout.strip() or "failed"
        detail = first_error_line(done.stderr)
        return Measured(failure=f"{reason}: {detail}" if detail else reason)

    def psnr(self, mode, reference, candidate):
        """(figure, note): figure is "41.23", "inf", "41.23t" (matched by display time) or
        "n/a" with the reason in the note."""
        done = subprocess.run([str(self.psnr_tool), mode, str(reference), str(candidate)],
                              capture_output=True, text=True, check=False)
        line = done.stdout.strip() or first_error_line(done.stderr) or "psnr_tool failed"
        words = line.split()
        if done.returncode == 0 and len(words) >= 2 and words[0] == "psnr":
            return words[1], " ".join(words[2:])
        if done.returncode == 0 and len(words) >= 2 and words[0] == "psnr-by-time":
            return words[1] + "t", "frame counts differ: PSNR by display time (t)"
        return "n/a", line

    def add(self, row, measure, input_name, anchor, ours, theirs, psnr_ours="", psnr_theirs="",
            note=""):
        """ours and theirs are (text, number or None); the ratio is of the numbers."""
        ratio = ""
        if ours[1] is not None and theirs[1] is not None and theirs[1] > 0:
            value = ours[1] / theirs[1]
            ratio = f"{value:.2f}" if value >= 0.1 else f"{value:.3f}"
        self.rows.append(dict(row=str(row), measure=measure, input=input_name, anchor=anchor,
                              ours=ours[0], theirs=theirs[0], ratio=ratio,
                              psnr_ours=psnr_ours, psnr_theirs=psnr_theirs, note=note))

    # --- the corpus ------------------------------------------------------------------------

    def corpus_files(self):
        listed = (self.corpus / "corpus.list").read_text().split()
        animations = [self.corpus / name for name in listed if name.endswith(".gif")]
        stills = [self.corpus / name for name in listed if name.endswith(".png")]
        return animations, stills

    def corpus_videos(self):
        listed = (self.corpus / "corpus.list").read_text().split()
        return [self.corpus / name for name in listed if name.endswith((".avi", ".mp4"))]

    @staticmethod
    def largest(animations):
        """The animation with the most pixels over all its frames, by the corpus names
        NAME-WxH-Nf.gif; by file size when a name does not say."""
        sizes = []
        for path in animations:
            match = re.search(r"-(\d+)x(\d+)-(\d+)f\.gif$", path.name)
            if not match:
                return max(animations, key=lambda a: a.stat().st_size)
            w, h, n = (int(g) for g in match.groups())
            sizes.append((w * h * n, path))
        return max(sizes)[1]

    # --- the rows --------------------------------------------------------------------------

    def codec_rows(self, animations):
        log("decode and encode beside giflib ...")
        done = subprocess.run([str(self.codec_bench), "--lines"] + [str(a) for a in animations],
                              capture_output=True, text=True, check=False)
        giflib = "giflib"
        lines = done.stdout.splitlines()
        for line in lines:
            words = line.split()
            if words[:1] == ["giflib"] and len(words) == 2:
                giflib = f"giflib {words[1]}"
        self.giflib_version = giflib
        for kind, measure, anchor in (("decode", "decode ms", "DGifSlurp"),
                                      ("encode", "encode ms", "EGifPutLine")):
            for line in lines:
                words = line.split()
                if words[:1] == [kind] and len(words) == 5:
                    ours, theirs = float(words[3]), float(words[4])
                    self.add(1 if kind == "decode" else 2, measure, words[1],
                             f"{giflib} {anchor}", (f"{ours:.1f}", ours), (f"{theirs:.1f}", theirs))
                elif words[:1] == ["skip"] or (kind == "encode" and words[:1] == ["skip-encode"]):
                    self.add(1 if kind == "decode" else 2, measure, words[1],
                             f"{giflib} {anchor}", ("n/a", None), ("n/a", None),
                             note=" ".join(words[2:]))
        if done.returncode != 0 or not lines:
            self.add(1, "decode ms", "all", giflib, ("failed", None), ("", None),
                     note=first_error_line(done.stderr) or f"exit {done.returncode}")

    def run_tools(self, what, source, psnr_mode, suffix, tools):
        """Measures each tool on one source file and compares its output with the source.
        tools: (label, folder, command) with IN and OUT in the command standing for the source
        and for work/WHAT/FOLDER/STEM.SUFFIX. Returns {label: (Measured, output bytes or None,
        (psnr, note))}."""
        results = {}
        for label, folder, words in tools:
            log(f"{what} {source.name}: {label} ...")
            output = self.work / what / folder / f"{source.stem}.{suffix}"
            output.parent.mkdir(parents=True, exist_ok=True)
            if output.exists():
                output.unlink()  # a tool that writes nothing gets no credit for an old file
            command = [{"IN": str(source), "OUT": str(output)}.get(w, w) for w in words]
            m = self.measure(command)
            size = output.stat().st_size if m.ok and output.exists() else None
            psnr = self.psnr(psnr_mode, source, output) if size is not None else ("n/a", "")
            results[label] = (m, size, psnr)
        return results

    def optimize_rows(self, animations):
        """Row 3. Returns the measurements per file, which row 5 reuses for the largest."""
        measured = {}
        for source in animations:
            results = self.run_tools("optimize", source, "frames", "gif", [
                ("ours", "ours", [str(self.cli)] + self.optimize_words + ["IN", "OUT"]),
                ("ours --lossless", "ours-lossless", [str(self.cli), "optimize", "--lossless", "IN", "OUT"]),
                ("gifsicle -O3", "gifsicle", ["gifsicle", "-O3", "IN", "-o", "OUT"]),
                ("IM -layers Optimize", "imagemagick",
                 [IMAGEMAGICK, "IN", "-layers", "Optimize", "OUT"]),
            ])
            measured[source] = results
            ours_m, ours_size, ours_psnr = results["ours"]
            for label in ("gifsicle -O3", "IM -layers Optimize"):
                m, size, psnr = results[label]
                self.add(3, "optimized KiB", source.name, label,
                         kib_cell(ours_size, ours_m), kib_cell(size, m),
                         psnr_ours=ours_psnr[0], psnr_theirs=psnr[0],
                         note=pair_note(ours_m, m, ours_psnr[1], psnr[1]))
                self.add(3, "optimize ms", source.name, label, ms_cell(ours_m), ms_cell(m))
            # Lossless beside gifsicle -O3, which is lossless too: both PSNR must read inf.
            lossless_m, lossless_size, lossless_psnr = results["ours --lossless"]
            m, size, psnr = results["gifsicle -O3"]
            self.add(3, "optimized KiB, lossless", source.name, "gifsicle -O3",
                     kib_cell(lossless_size, lossless_m), kib_cell(size, m),
                     psnr_ours=lossless_psnr[0], psnr_theirs=psnr[0],
                     note=pair_note(lossless_m, m, lossless_psnr[1], psnr[1]))
            self.add(3, "optimize ms, lossless", source.name, "gifsicle -O3", ms_cell(lossless_m),
                     ms_cell(m))
        return measured

    def quantize_rows(self, stills):
        for still in stills:
            # pngquant writes PNG; the PSNR tool reads either.
            results = self.run_tools("quantize", still, "still", "gif", [
                ("ours", "ours", [str(self.cli), "quantize", "IN", "OUT"]),
                ("ours --quality high", "ours-high",
                 [str(self.cli), "quantize", "--quality", "high", "IN", "OUT"]),
                # +dither before -colors: a setting works on the operators after it only, so
                # "-colors 256 +dither" would still dither.
                ("IM +dither -colors 256", "imagemagick",
                 [IMAGEMAGICK, "IN", "+dither", "-colors", "256", "OUT"]),
            ])
            results.update(self.run_tools("quantize", still, "still", "png", [
                # --force: the runs after the first overwrite the output.
                ("pngquant --nofs 256", "pngquant",
                 ["pngquant", "--nofs", "--force", "--output", "OUT", "256", "IN"]),
            ]))
            for ours in ("ours", "ours --quality high"):
                ours_m, _, ours_psnr = results[ours]
                measure = "quantize ms" + (", high" if ours != "ours" else "")
                for label in ("IM +dither -colors 256", "pngquant --nofs 256"):
                    m, _, psnr = results[label]
                    self.add(4, measure, still.name, label, ms_cell(ours_m), ms_cell(m),
                             psnr_ours=ours_psnr[0], psnr_theirs=psnr[0],
                             note=pair_note(ours_m, m, ours_psnr[1], psnr[1]))
            # High Quality may take at most twice the time of the default.
            (high_m, _, high_psnr), (pop_m, _, pop_psnr) = results["ours --quality high"], results["ours"]
            self.add(4, "quantize ms, high", still.name, "ours, popularity", ms_cell(high_m),
                     ms_cell(pop_m), psnr_ours=high_psnr[0], psnr_theirs=pop_psnr[0],
                     note=pair_note(high_m, pop_m, high_psnr[1], pop_psnr[1]))

    def fade_rows(self, stills):
        """Row 4, last lines: a 30-frame Fade between two stills, reduced by each setting and
        optimized; the optimized size beside the default's."""
        if len(stills) < 2:
            return
        folder = self.work / "fade"
        folder.mkdir(parents=True, exist_ok=True)
        pair = folder / "pair.gif"
        # The second still is scaled onto the first's size; the pair's own colours do not
        # matter, the 30 new frames are true colour.
        made = subprocess.run([str(self.cli), "convert", str(stills[-1]), str(stills[0]), str(pair)],
                              capture_output=True, text=True, check=False)
        if made.returncode != 0:
            self.add(4, "Fade 30 optimized KiB", "-", "ours, popularity", ("failed", None),
                     ("", None), note=first_error_line(made.stderr))
            return
        sizes = {}
        for label, options in (("popularity", []), ("high", ["--quality", "high"]),
                               ("high --dither", ["--quality", "high", "--dither"])):
            log(f"fade 30 frames, {label} ...")
            faded, optimized = folder / f"{label.replace(' ', '')}.gif", folder / f"{label.replace(' ', '')}-opt.gif"
            done = subprocess.run([str(self.cli), "transition", "Fade", "--frames", "30"] + options
                                  + [str(pair), str(faded)], capture_output=True, text=True, check=False)
            if done.returncode == 0:
                done = subprocess.run([str(self.cli)] + self.optimize_words + [str(faded), str(optimized)],
                                      capture_output=True, text=True, check=False)
            sizes[label] = (optimized.stat().st_size if done.returncode == 0 else None,
                            first_error_line(done.stderr))
        base, _ = sizes["popularity"]
        for label in ("high", "high --dither"):
            size, why = sizes[label]
            self.add(4, f"Fade 30 optimized KiB, {label}", f"{stills[-1].stem} -> {stills[0].stem}",
                     "ours, popularity", kib_cell(size, Measured()) if size is not None else ("failed", None),
                     kib_cell(base, Measured()) if base is not None else ("failed", None), note=why)

    def memory_rows(self, largest, optimized):
        """Row 5: our optimizer (from row 3's runs) and our plain rewrite on the largest file,
        each beside the anchors doing the same job. The rewrites' PSNR should be inf."""
        results = optimized[largest]
        ours_opt = results["ours"][0]
        for label in ("gifsicle -O3", "IM -layers Optimize"):
            m = results[label][0]
            self.add(5, "optimize peak MiB", largest.name, label, mib_cell(ours_opt), mib_cell(m),
                     note=pair_note(ours_opt, m))
        results = self.run_tools("convert", largest, "frames", "gif", [
            ("ours", "ours", [str(self.cli), "convert", "IN", "OUT"]),
            ("gifsicle (no options)", "gifsicle", ["gifsicle", "IN", "-o", "OUT"]),
            ("IM convert (no options)", "imagemagick", [IMAGEMAGICK, "IN", "OUT"]),
        ])
        ours_m, _, ours_psnr = results["ours"]
        for label in ("gifsicle (no options)", "IM convert (no options)"):
            m, _, psnr = results[label]
            self.add(5, "convert peak MiB", largest.name, label, mib_cell(ours_m), mib_cell(m),
                     psnr_ours=ours_psnr[0], psnr_theirs=psnr[0],
                     note=pair_note(ours_m, m, ours_psnr[1], psnr[1]))

    # ---- REDUCTION BENCH: row 6 ------------------------------------------------------------
    # bench/reduction_bench is run on the corpus animations; each line it prints of the form
    #   reduction <frames> frames <WxH>: 1 worker X ms, N workers Y ms
    # becomes one line of the table, N workers beside 1 worker. It answers the files in the
    # order given and stops at one it cannot read, so the k-th line is the k-th file's. A
    # build without it says "not built".
    REDUCTION_LINE = re.compile(
        r"^reduction (\d+) frames (\d+x\d+): 1 worker ([\d.]+) ms, (\d+) workers ([\d.]+) ms$")

    def reduction_rows(self, animations):
        if not self.reduction_bench.exists():
            self.add(6, "reduction ms", "-", "1 worker", ("not built", None), ("", None))
            return
        log("colour reduction, 1 worker and all cores ...")
        done = subprocess.run([str(self.reduction_bench)] + [str(a) for a in animations],
                              capture_output=True, text=True, check=False)
        matches = [m for m in map(self.REDUCTION_LINE.match, done.stdout.splitlines()) if m]
        for source, match in zip(animations, matches):
            _, _, one_ms, workers, many_ms = match.groups()
            self.add(6, f"reduction ms, {workers} workers", source.name, "same, 1 worker",
                     (many_ms, float(many_ms)), (one_ms, float(one_ms)))
        if done.returncode != 0 or len(matches) != len(animations):
            self.add(6, "reduction ms", "-", "1 worker", ("failed", None), ("", None),
                     note=first_error_line(done.stderr)
                     or f"{len(matches)} result lines for {len(animations)} files"
                        f" (exit {done.returncode})")
    # ---- end of REDUCTION BENCH -----------------------------------------------------------

    # Row 7: the editor playing 100 frames at delay 2 on the offscreen platform; the mean time
    # between frame changes beside the 20 ms the frames ask for.
    PLAYBACK_LINE = re.compile(
        r"^playback (\d+) frames at (\d+) ms: mean step ([\d.]+) ms .*worst step ([\d.]+) ms.*drift ([+-][\d.]+) ms\)$")

    def playback_rows(self):
        if not self.playback_bench.exists():
            self.add(7, "playback step ms", "-", "frame delay", ("not built", None), ("", None))
            return
        log("playback timing ...")
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        done = subprocess.run([str(self.playback_bench)], capture_output=True, text=True,
                              check=False, env=env)
        match = next(filter(None, map(self.PLAYBACK_LINE.match, done.stdout.splitlines())), None)
        if not match:
            self.add(7, "playback step ms", "-", "frame delay", ("failed", None), ("", None),
                     note=first_error_line(done.stderr) or f"exit {done.returncode}")
            return
        frames, delay, mean, worst, drift = match.groups()
        self.add(7, "playback step ms", f"{frames} frames, delay 2", "frame delay",
                 (mean, float(mean)), (delay, float(delay)),
                 note=f"worst step {worst} ms, drift {drift} ms over the run")

    # Row 8: the Fade transition and the Blur effect making 100 frames from two 640x480 frames,
    # in frames per second, with the new frames reduced to 256 colours and left pending, beside
    # ffmpeg's filters over the same two pictures (bench/effect_bench writes them out).
    EFFECT_LINE = re.compile(
        r"^effect (\S+) (\d+) frames (\d+x\d+): reduced ([\d.]+) fps, pending ([\d.]+) fps$")
    EFFECT_SKIP = re.compile(r"^skip (\S+): (.+)$")
    BLUR_KERNEL = "1 3 1 3 4 3 1 3 1"  # Blur at strength 20: centre 0.2, sides 0.15, corners 0.05

    def ffmpeg_fps(self, inputs, filters, frames):
        """Frames per second of ffmpeg filtering looped still pictures into `frames` raw
        frames, from its own -benchmark wall time (start-up and probing left out), best of
        --runs; (None, why) when it failed."""
        words = ["ffmpeg", "-hide_banner", "-nostdin", "-nostats", "-benchmark"]
        for path in inputs:
            # 25 a second for 4 s: xfade's duration covers exactly `frames` of them.
            words += ["-loop", "1", "-framerate", "25", "-t", f"{frames / 25:g}", "-i", str(path)]
        words += ["-filter_complex", filters, "-frames:v", str(frames), "-f", "rawvideo", "-y",
                  os.devnull]
        best = None
        for _ in range(self.runs):
            try:
                done = subprocess.run(words, capture_output=True, text=True, check=False)
            except OSError as error:
                return None, f"ffmpeg: {error.strerror}"
            rtime = re.search(r"bench: utime=\S+ stime=\S+ rtime=([\d.]+)s", done.stderr)
            made = re.findall(r"frame=\s*(\d+)", done.stderr)
            if done.returncode != 0 or not rtime or not made or int(made[-1]) != frames:
                return None, first_error_line(done.stderr) or f"ffmpeg exit {done.returncode}"
            seconds = float(rtime.group(1))
            best = seconds if best is None else min(best, seconds)
        return (frames / best if best else None), ""

    def effect_rows(self):
        if not self.effect_bench.exists():
            self.add(8, "effect fps", "-", "ffmpeg", ("not built", None), ("", None))
            return
        log("effects beside ffmpeg filters ...")
        folder = self.work / "effects"
        folder.mkdir(parents=True, exist_ok=True)
        done = subprocess.run([str(self.effect_bench), str(folder)], capture_output=True,
                              text=True, check=False)
        found = {m.group(1): m for m in map(self.EFFECT_LINE.match, done.stdout.splitlines()) if m}
        skipped = {m.group(1): m.group(2)
                   for m in map(self.EFFECT_SKIP.match, done.stdout.splitlines()) if m}
        first, second = folder / "first.ppm", folder / "second.ppm"
        kernel = self.BLUR_KERNEL
        convolution = "convolution=" + ":".join(
            f"{plane}m='{kernel}':{plane}rdiv=1/20" for plane in range(3))
        cases = [
            ("fade-transition", "fade", "2 frames 640x480", [
                ("ffmpeg xfade=transition=fade", [first, second],
                 "[0:v][1:v]xfade=transition=fade:duration={seconds}:offset=0")]),
            ("blur-effect", "blur", "1st frame 640x480", [
                ("ffmpeg convolution, same 3x3", [first], f"[0:v]{convolution}"),
                ("ffmpeg boxblur=1:1", [first], "[0:v]boxblur=1:1")]),
        ] + [
            (label, short, "2 frames 640x480", [
                (f"ffmpeg xfade=transition={xfade}", [first, second],
                 f"[0:v][1:v]xfade=transition={xfade}:duration={{seconds}}:offset=0")])
            for label, short, xfade in (("pixelize-transition", "pixelize", "pixelize"),
                                        ("zoomin-transition", "zoom in", "zoomin"),
                                        ("move2-transition", "move 2. image", "slideleft"),
                                        ("radar-transition", "radar", "radial"),
                                        ("spiral-transition", "spiral", "circleopen"),
                                        ("rollsphere-transition", "roll sphere", "circleopen"),
                                        ("shine-transition", "random shine through", "dissolve"))
        ] + [
            # Nothing in ffmpeg turns a page: our figures stand alone.
            ("page-transition", "page", "2 frames 640x480", []),
        ]
        for label, short, input_name, anchors in cases:
            match = found.get(label)
            if label in skipped:
                log(f"effect_bench: {skipped[label]}; its line is skipped")
                self.add(8, f"{short} fps", input_name,
                         anchors[0][0] if anchors else "none", ("skipped", None),
                         ("", None), note=skipped[label])
                continue
            if not match:
                self.add(8, f"{short} fps", input_name, "ffmpeg", ("failed", None), ("", None),
                         note=first_error_line(done.stderr) or f"exit {done.returncode}")
                continue
            frames = int(match.group(2))
            if not anchors:
                for mode, value in (("reduced", match.group(4)), ("pending", match.group(5))):
                    self.add(8, f"{short} fps, {mode}", f"{input_name} -> {frames}",
                             "none (no ffmpeg counterpart)", (value, float(value)), ("", None))
            for anchor, inputs, filters in anchors:
                fps, why = self.ffmpeg_fps(inputs, filters.format(seconds=f"{frames / 25:g}"),
                                           frames)
                theirs = (f"{fps:.1f}", fps) if fps else ("failed", None)
                for mode, value in (("reduced", match.group(4)), ("pending", match.group(5))):
                    self.add(8, f"{short} fps, {mode}", f"{input_name} -> {frames}", anchor,
                             (value, float(value)), theirs, note=why)

    # Row 9: a 468x60 banner of 200 frames written optimized, beside ffmpeg's drawtext making
    # the same frames: the same face and em, the same colours and scroll per frame, a hard
    # shadow in our soft one's full colour. Whole processes, as rows 3-5. Optimized at level 1:
    # coarser levels take the shadow's palest ring for background and leave it behind as a
    # trail, for a file only 2 % smaller.
    BANNER_TEXT = "Anitrope banner text scrolls by with a soft shadow"
    BANNER_SHADOW = (9, 7, 8, 14)  # x, y, thickness, intensity: the banner's defaults

    def banner_rows(self):
        log("banner text beside ffmpeg drawtext ...")
        width, height, frames, em, rate = 468, 60, 200, 34, 25
        sx, sy, thickness, intensity = self.BANNER_SHADOW
        folder = self.work / "banner"
        folder.mkdir(parents=True, exist_ok=True)
        ours_out, theirs_out = folder / "ours.gif", folder / "ffmpeg.gif"
        # A negative size is the em, which is what ffmpeg's fontsize sets.
        ours = [str(self.cli), "banner", "--text", self.BANNER_TEXT, "--font", "DejaVu Sans",
                "--size", f"-{em}", "--width", str(width), "--height", str(height),
                "--frames", str(frames), "--delay", str(100 // rate), "--level", "1",
                str(ours_out)]
        # Ours travels from the right edge until the text and its shadow have left on the left:
        # its width plus the shadow's reach plus the banner's, in frames - 1 equal steps. The
        # same distance as ffmpeg's modulus leaves its last frame empty, as ours is, instead of
        # showing the text coming round again.
        distance = f"(w+tw+{max(2 * thickness, abs(sx) + thickness)})"
        font = first_line(["fc-match", "-f", "%{file}", "DejaVu Sans:bold"])
        theirs = ["ffmpeg", "-hide_banner", "-nostdin", "-loglevel", "error", "-y",
                  "-f", "lavfi", "-i", f"color=white:{width}x{height}:r={rate}",
                  "-frames:v", str(frames), "-vf",
                  f"drawtext=fontfile={font}:text='{self.BANNER_TEXT}':fontsize={em}:"
                  f"fontcolor=black:shadowx={sx}:shadowy={sy}:"
                  f"shadowcolor=black@{intensity / 100:g}:"
                  f"x=w-mod(t*{distance}*{rate}/{frames - 1}\\,{distance}):y=(h-th)/2",
                  str(theirs_out)]
        measured = []
        for command, output in ((ours, ours_out), (theirs, theirs_out)):
            if output.exists():
                output.unlink()  # a tool that writes nothing gets no credit for an old file
            m = (self.measure(command) if command is ours or Path(font).is_file()
                 else Measured(failure=f"no DejaVu Sans Bold: {font}"))
            measured.append((m, output.stat().st_size if m.ok and output.exists() else None))
        (ours_m, ours_size), (theirs_m, theirs_size) = measured
        input_name = f"{frames} frames {width}x{height}"
        self.add(9, "banner ms", input_name, "ffmpeg drawtext", ms_cell(ours_m),
                 ms_cell(theirs_m), note=pair_note(ours_m, theirs_m))
        self.add(9, "banner KiB", input_name, "ffmpeg drawtext", kib_cell(ours_size, ours_m),
                 kib_cell(theirs_size, theirs_m))

    # Row 10: every frame of a 300-frame 640x480 video imported as the editor imports it
    # (bench/video_import_bench: new frames in true colour awaiting their reduction, all held),
    # beside ffmpeg decoding the same file to nothing and to 32-bit pixels as ours are. Frames
    # per second and peak memory, ours in-process and ffmpeg's from its -benchmark report,
    # start-up left out of both; best of --runs.
    VIDEO_LINE = re.compile(
        r"^video (\d+) frames (\d+x\d+) (\S+): ([\d.]+) ms, ([\d.]+) fps, peak ([\d.]+) MiB$")

    def ffmpeg_decode(self, source, output_words):
        """(fps, peak MiB, why): ffmpeg -benchmark reading `source` into the output, best
        wall time of --runs and the largest resident size among them."""
        words = ["ffmpeg", "-hide_banner", "-nostdin", "-nostats", "-benchmark", "-i",
                 str(source)] + output_words
        best, peak = None, 0.0
        for _ in range(self.runs):
            try:
                done = subprocess.run(words, capture_output=True, text=True, check=False)
            except OSError as error:
                return None, None, f"ffmpeg: {error.strerror}"
            rtime = re.search(r"bench: utime=\S+ stime=\S+ rtime=([\d.]+)s", done.stderr)
            maxrss = re.search(r"bench: maxrss=(\d+)kB", done.stderr)
            made = re.findall(r"frame=\s*(\d+)", done.stderr)
            if done.returncode != 0 or not rtime or not made:
                return None, None, first_error_line(done.stderr) or f"exit {done.returncode}"
            fps = int(made[-1]) / max(float(rtime.group(1)), 1e-6)
            best = fps if best is None else max(best, fps)
            peak = max(peak, int(maxrss.group(1)) / 1024 if maxrss else 0.0)
        return best, peak, ""

    def video_rows(self, videos):
        if not self.video_bench.exists():
            self.add(10, "video import fps", "-", "ffmpeg", ("not built", None), ("", None))
            return
        for source in videos:
            log(f"video import {source.name} beside ffmpeg ...")
            done = subprocess.run([str(self.video_bench), str(self.runs), str(source)],
                                  capture_output=True, text=True, check=False)
            match = next(filter(None, map(self.VIDEO_LINE.match, done.stdout.splitlines())),
                         None)
            if not match:
                self.add(10, "video import fps", source.name, "ffmpeg", ("failed", None),
                         ("", None), note=first_error_line(done.stdout + done.stderr)
                         or f"exit {done.returncode}")
                continue
            frames, size, codec, _, fps, peak = match.groups()
            input_name = f"{source.name} ({codec})"
            for anchor, output in (("ffmpeg -f null -", ["-f", "null", "-"]),
                                   ("ffmpeg -pix_fmt bgr0 -f rawvideo",
                                    ["-pix_fmt", "bgr0", "-f", "rawvideo", "-y", os.devnull])):
                theirs_fps, theirs_peak, why = self.ffmpeg_decode(source, output)
                self.add(10, "video import fps", input_name, anchor, (fps, float(fps)),
                         (f"{theirs_fps:.1f}", theirs_fps) if theirs_fps else ("failed", None),
                         note=why)
                self.add(10, "video import peak MiB", input_name, anchor,
                         (peak, float(peak)),
                         (f"{theirs_peak:.1f}", theirs_peak) if theirs_peak else ("failed", None),
                         note=why or f"ours holds all {frames} frames of {size} in true colour")

    # --- the header ------------------------------------------------------------------------

    def compiler(self):
        cache = self.build / "CMakeCache.txt"
        compiler = "c++"
        if cache.exists():
            match = re.search(r"^CMAKE_CXX_COMPILER:\w+=(.+)$", cache.read_text(), re.M)
            if match:
                compiler = match.group(1).strip()
        return first_line([compiler, "--version"])

    def others_share(self):
        """The share of the machine's CPU time since the start that neither this script nor
        its tools used: other work slows every figure."""
        busy0, all0, own0 = self.cpu_at_start
        busy1, all1, own1 = cpu_seconds()
        elapsed = all1 - all0
        return max(0.0, (busy1 - busy0) - (own1 - own0)) / elapsed if elapsed > 0 else 0.0

    def header(self, animations, stills):
        cpu = "unknown CPU"
        for line in Path("/proc/cpuinfo").read_text().splitlines():
            if line.startswith("model name"):
                cpu = line.split(":", 1)[1].strip()
                break
        mem = ""
        for line in Path("/proc/meminfo").read_text().splitlines():
            if line.startswith("MemTotal:"):
                mem = f", {int(line.split()[1]) / 1048576:.1f} GiB memory"
        cores = len(os.sched_getaffinity(0))
        im = first_line([IMAGEMAGICK, "-version"]).replace("Version: ", "")
        im = re.sub(r"\s+https?://\S+$", "", im)
        ffmpeg = re.sub(r"\s+Copyright.*$", "", first_line(["ffmpeg", "-version"]))
        floor = self.measure(["/bin/true"])
        commit = first_line(["git", "-C", str(Path(__file__).resolve().parent.parent),
                             "describe", "--always", "--dirty"])
        ours_optimize = " ".join(["anitrope-cli"] + self.optimize_words)
        lines = [
            f"machine:     {cores} cores, {cpu}{mem}",
            f"others:      {self.others_share():.0%} of the machine's CPU time during this run went"
            " to other processes",
            f"compiler:    {self.compiler()}",
            f"giflib:      {self.giflib_version.replace('giflib ', '')}"
            " (the headers gif_codec_bench was built with)",
            f"gifsicle:    {first_line(['gifsicle', '--version'])}",
            f"ImageMagick: {im} ({IMAGEMAGICK})",
            f"pngquant:    {first_line(['pngquant', '--version'])}",
            f"ffmpeg:      {ffmpeg} (made the corpus; rows 8, 9 and 10's anchor)",
            f"anitrope:    {commit}",
            "",
            "rows 1-2: in-process, best of 5, our reader and writer beside giflib on the same",
            "          indexed frames; the encoder is timed only when its output decodes back.",
            f"rows 3-5: whole processes, best of {self.runs} run(s); peak = largest resident size",
            f"          among them (bench/run_stats; /bin/true through it: "
            f"{mib_cell(floor)[0]} MiB, the floor of every figure).",
            f"  3  ours: {ours_optimize} IN OUT.gif; gifsicle -O3 IN -o OUT.gif;",
            "     IM: convert-im6.q16 IN -layers Optimize OUT.gif; PSNR of every composed frame",
            "     against the composed input frames (the corpus came from ffmpeg's paletteuse).",
            "     Lossless: anitrope-cli optimize --lossless IN OUT.gif beside gifsicle -O3 (no",
            "     --lossy); both must read PSNR inf, and ours may be no larger.",
            "  4  ours: anitrope-cli quantize IN.png OUT.gif; IM: convert-im6.q16 IN.png +dither",
            "     -colors 256 OUT.gif; pngquant --nofs --force --output OUT.png 256 IN.png (no",
            "     dithering anywhere, pngquant at its default speed 4); PSNR against the still.",
            "     The same with --quality high, also beside our default. Fade 30: anitrope-cli",
            "     convert makes a pair of the last and first still, transition Fade --frames 30",
            f"     [--quality high [--dither]] adds 30 frames, {ours_optimize} writes them;",
            "     the optimized file's size beside the default setting's.",
            f"  5  the largest animation; {ours_optimize} (row 3's runs) beside row 3's anchors;",
            "     anitrope-cli convert IN OUT.gif beside gifsicle IN -o OUT.gif and",
            "     convert-im6.q16 IN OUT.gif, each reading and writing the file again.",
            "  6  bench/reduction_bench IN...: every frame reduced again, N workers beside 1.",
            "  7  bench/playback_bench: the editor plays 100 frames of delay 2 (offscreen); mean",
            "     time between frame changes beside the 20 ms asked for.",
            "  8  bench/effect_bench: 100 frames from two 640x480 frames (a gradient and a pattern,",
            "     256 colours) on every core, best of 3; the new frames reduced to 256 colours",
            "     or left pending. Anchors: ffmpeg -benchmark wall time over the same pictures",
            "     (PPM, looped) into rawvideo: xfade=transition=fade for the Fade transition; for",
            "     the Blur effect (strength 20) convolution with the same 3x3 weights and",
            "     boxblur=1:1; xfade pixelize, zoomin and slideleft for the Pixelize, Zoom In",
            "     (rotation 0, as zoomin) and Move 2. Image (from the right edge) transitions;",
            "     xfade radial for Radar, circleopen for both Spiral and Roll Sphere, dissolve",
            "     for Random Shine through; Page has no counterpart and no ratio. An entry not",
            "     available yet says skipped. Here the figures are frames per second: a ratio",
            "     above 1 is ours faster.",
            "  9  anitrope-cli banner --text T --font \"DejaVu Sans\" --size -34 --width 468",
            "     --height 60 --frames 200 --delay 4 --optimize OUT.gif (T: 50 characters; the",
            "     default soft shadow 9,7,8,14); ffmpeg -f lavfi -i color=white:468x60:r=25",
            "     -frames:v 200 -vf drawtext=... OUT.gif with fc-match's DejaVu Sans Bold at",
            "     fontsize=34 (the same em), a hard shadow 9,7 in black@0.14 (our shadow's full",
            "     colour) and x=w-mod(t*S\\,D), y=(h-th)/2: D = w+tw+17 = the distance our text",
            "     travels, S = D*25/199 per second, so both move it as far each frame. Whole",
            f"     processes, best of {self.runs} run(s); time and file size.",
            " 10  bench/video_import_bench RUNS IN: every frame of a 300-frame 640x480 video",
            "     (testsrc2; MJPEG in AVI, H.264 in MP4) read through FFmpeg's libraries into new",
            "     frames, true colour awaiting reduction, all held; beside ffmpeg -benchmark -i IN",
            "     -f null - (decoding only) and -pix_fmt bgr0 -f rawvideo (decoding into 32-bit",
            "     pixels as ours). Frames per second (a ratio above 1 is ours faster) and peak",
            f"     memory; in-process for ours, ffmpeg's own report for it; best of {self.runs}.",
            "ratio = ours / anchor; PSNR in dB over RGB, inf = identical pixels, t = frames",
            "      matched by display time (the frame counts differ).",
        ]
        corpus = ", ".join(f"{a.name} ({a.stat().st_size // 1024} KiB)" for a in animations)
        corpus += "; stills " + ", ".join(s.name for s in stills)
        lines += textwrap.wrap(corpus, width=96, initial_indent=f"corpus ({self.corpus}): ",
                               subsequent_indent="  ")
        return lines

    # --- the table -------------------------------------------------------------------------

    def table(self):
        columns = [("row", "#", ">"), ("measure", "measure", "<"), ("input", "input", "<"),
                   ("anchor", "anchor", "<"), ("ours", "ours", ">"), ("theirs", "anchor", ">"),
                   ("ratio", "ours/anchor", ">"), ("psnr_ours", "PSNR ours", ">"),
                   ("psnr_theirs", "PSNR anchor", ">"), ("note", "note", "<")]
        widths = {key: max([len(title)] + [len(r[key]) for r in self.rows])
                  for key, title, _ in columns}

        def line(cells):
            parts = [f"{cells[key]:{align}{widths[key]}}" for key, _, align in columns]
            return "  ".join(parts).rstrip()

        out = [line({key: title for key, title, _ in columns})]
        out.append(line({key: "-" * widths[key] for key, _, _ in columns}))
        previous = None
        for r in self.rows:
            if previous is not None and r["row"] != previous:
                out.append("")
            previous = r["row"]
            out.append(line(r))
        return out

    def run(self):
        self.cpu_at_start = cpu_seconds()
        animations, stills = self.corpus_files()
        self.work.mkdir(parents=True, exist_ok=True)
        self.codec_rows(animations)
        optimized = self.optimize_rows(animations)
        self.quantize_rows(stills)
        self.fade_rows(stills)
        largest = self.largest(animations)
        self.memory_rows(largest, optimized)
        self.reduction_rows(animations)
        self.playback_rows()
        self.effect_rows()
        self.banner_rows()
        self.video_rows(self.corpus_videos())
        print("\n".join(self.header(animations, stills) + [""] + self.table()))


def cpu_seconds():
    """(busy, all) CPU seconds of the whole machine since boot, and our own so far (this
    script and every process it waited for)."""
    fields = [int(f) for f in Path("/proc/stat").read_text().split("\n", 1)[0].split()[1:]]
    idle = fields[3] + fields[4]  # idle, iowait
    tick = os.sysconf("SC_CLK_TCK")
    own = os.times()
    return (sum(fields[:8]) - idle) / tick, sum(fields[:8]) / tick, \
        own.user + own.system + own.children_user + own.children_system


def ms_cell(m):
    return (f"{m.ms:.1f}", m.ms) if m.ok else ("failed", None)


def mib_cell(m):
    return (f"{m.rss_kib / 1024:.1f}", m.rss_kib / 1024) if m.ok else ("failed", None)


def kib_cell(size, m):
    if not m.ok:
        return ("failed", None)
    if size is None:
        return ("no output", None)
    return (f"{size / 1024:.0f}", size / 1024)


def pair_note(ours, theirs, ours_psnr_note="", theirs_psnr_note=""):
    """What went wrong on either side of a line, and what the PSNR tool said."""
    return "; ".join(n for n in (ours.failure and f"ours {ours.failure}",
                                 ours_psnr_note and f"ours: {ours_psnr_note}",
                                 theirs.failure and f"anchor {theirs.failure}",
                                 theirs_psnr_note and f"anchor: {theirs_psnr_note}") if n)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", required=True, help="build directory with ANITROPE_BENCH=ON")
    parser.add_argument("--corpus", required=True, help="made by tools/make-bench-corpus.sh")
    parser.add_argument("--runs", type=int, default=3, help="runs per process, best counts")
    parser.add_argument("--optimize", default="optimize",
                        help="our optimizing subcommand and options (default: optimize)")
    args = parser.parse_args()
    bench = Bench(args)
    for tool in (bench.cli, bench.run_stats, bench.psnr_tool, bench.codec_bench):
        if not tool.exists():
            sys.exit(f"bench-table: {tool} is missing; build with -DANITROPE_BENCH=ON first")
    for tool in ("gifsicle", "pngquant", IMAGEMAGICK):
        if not shutil.which(tool):
            log(f"bench-table: {tool} is not installed; its lines will say failed")
    bench.run()


if __name__ == "__main__":
    main()
