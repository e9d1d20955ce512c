#!/usr/bin/env python3
"""Makes the gallery of effects and transitions: one small GIF per entry of both tables.

    tools/make-gallery.py [--cli build/release/src/cli/anitrope-cli] [--out docs/gallery]
                          [--frames 8] [--seed 1]

Every entry runs through `anitrope-cli effect` or `transition` on the first two frames of
examples/bounce.gif, with its defaults, --frames and a fixed --seed, so that a second run
writes the same files. An effect's file keeps the first frame and the new ones, a transition's
both frames and the new ones between them. The names and descriptions come from
`anitrope-cli effect --list`; an entry that is not available yet is skipped with a line saying
so, and one that asks for another frame count (Spiral fits its frames to a grid) gets it. The table goes to OUT/README.md. Standard library only.
"""

import argparse
import re
import subprocess
import sys
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
EXAMPLE = ROOT / "examples" / "bounce.gif"
CLI_CANDIDATES = ["build/release", "build/dev-noapp", "build/dev", "build/test"]

ENTRY_LINE = re.compile(r"^  (\d+)  (.+?)  \((available|not available yet)\)$")
FITTING_COUNT = re.compile(r"Use (\d+) frames instead of \d+")


class Entry:
    def __init__(self, effect, number, name, available):
        self.effect = effect
        self.number = number
        self.name = name
        self.available = available
        self.description = []

    @property
    def kind(self):
        return "effect" if self.effect else "transition"

    @property
    def slug(self):
        return re.sub(r"[^a-z0-9]+", "-", self.name.lower()).strip("-")

    @property
    def file_name(self):
        return f"{self.kind}-{self.slug}.gif"


def read_entries(cli):
    """Both tables as `effect --list` prints them: a heading per table, then per entry its
    number, name and state, its description lines, and its options (starting with --)."""
    done = subprocess.run([str(cli), "effect", "--list"], capture_output=True, text=True,
                          check=True)
    entries, effect = [], True
    for line in done.stdout.splitlines():
        if line.startswith("effects"):
            effect = True
        elif line.startswith("transitions"):
            effect = False
        elif match := ENTRY_LINE.match(line):
            entries.append(Entry(effect, int(match.group(1)), match.group(2),
                                 match.group(3) == "available"))
        elif entries and line.startswith("      ") and not line.strip().startswith("--"):
            entries[-1].description.append(line.strip())
    return entries


def gif_blocks(data):
    """Splits a GIF into its head (header, screen, global colour table) and a list of
    (is_image, bytes) blocks; the trailer is left out."""
    if data[:6] not in (b"GIF87a", b"GIF89a"):
        raise ValueError("not a GIF")
    flags = data[10]
    pos = 13 + (3 << ((flags & 7) + 1) if flags & 0x80 else 0)
    head, blocks = data[:pos], []

    def sub_blocks(at):
        while data[at]:
            at += data[at] + 1
        return at + 1

    while pos < len(data) and data[pos] != 0x3B:
        start = pos
        if data[pos] == 0x21:  # extension: label, then sub-blocks
            pos = sub_blocks(pos + 2)
            blocks.append((False, data[start:pos]))
        elif data[pos] == 0x2C:  # image: descriptor, local colour table, code size, data
            local = data[pos + 9]
            pos += 10 + (3 << ((local & 7) + 1) if local & 0x80 else 0)
            pos = sub_blocks(pos + 1)
            blocks.append((True, data[start:pos]))
        else:
            raise ValueError(f"unexpected byte {data[pos]:#x} at {pos}")
    return head, blocks


def image_count(data):
    return sum(1 for image, _ in gif_blocks(data)[1] if image)


def keep_images(data, count):
    """The GIF cut after its first `count` images (with the extensions before them)."""
    head, blocks = gif_blocks(data)
    out, kept = [head], 0
    for image, block in blocks:
        if kept == count:
            break
        out.append(block)
        kept += image
    out.append(b"\x3B")
    return b"".join(out)


def run_entry(cli, entry, frames, seed, example, made):
    return subprocess.run([str(cli), entry.kind, entry.name, "--frames", str(frames),
                           "--seed", str(seed), str(example), str(made)],
                          capture_output=True, text=True, check=False)


def find_cli(given):
    if given:
        return Path(given)
    for folder in CLI_CANDIDATES:
        cli = ROOT / folder / "src/cli/anitrope-cli"
        if cli.exists():
            return cli
    sys.exit("make-gallery: no anitrope-cli built; give --cli")


def table(entries, out):
    lines = ["| | Name | Description |", "|---|---|---|"]
    for e in entries:
        if not (out / e.file_name).exists():
            continue
        text = " ".join(e.description).replace("|", "\\|")
        lines.append(f"| ![{e.name}]({e.file_name}) | {e.name} | {text} |")
    return lines


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--cli", help="anitrope-cli to run (default: the first one built)")
    parser.add_argument("--out", default=str(ROOT / "docs" / "gallery"))
    parser.add_argument("--frames", type=int, default=8)
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    cli, out = find_cli(args.cli), Path(args.out)
    out.mkdir(parents=True, exist_ok=True)
    entries = read_entries(cli)

    with tempfile.TemporaryDirectory() as work:
        example = Path(work) / "example.gif"
        example.write_bytes(keep_images(EXAMPLE.read_bytes(), 2))
        made = Path(work) / "made.gif"
        for e in entries:
            target = out / e.file_name
            if not e.available:
                print(f"skip {e.kind} {e.name}: not available yet")
                continue
            done = run_entry(cli, e, args.frames, args.seed, example, made)
            # An entry whose frames must fit a layout (Spiral's grid) names the count it takes.
            if done.returncode != 0 and (fit := FITTING_COUNT.search(done.stderr)):
                done = run_entry(cli, e, int(fit.group(1)), args.seed, example, made)
            if done.returncode != 0:
                print(f"failed {e.kind} {e.name}: {done.stderr.strip()}")
                continue
            data = made.read_bytes()
            # An effect's frames come between the two example frames: the second goes.
            keep = image_count(data) - (1 if e.effect else 0)
            target.write_bytes(keep_images(data, keep))
            print(f"{target.relative_to(ROOT) if target.is_relative_to(ROOT) else target}: "
                  f"{keep} frames, {target.stat().st_size} bytes")

    readme = [
        "# Effects and transitions",
        "",
        "Every entry of the editor's two tables with its defaults, on the first two frames of",
        f"`examples/bounce.gif` ({args.frames} new frames, `--seed {args.seed}`): an effect shows",
        "the first frame and its new frames, a transition the first frame, its new frames and",
        "the second frame. Made by `tools/make-gallery.py`.",
        "",
        "## Effects",
        "",
    ] + table([e for e in entries if e.effect], out) + [
        "",
        "## Transitions",
        "",
    ] + table([e for e in entries if not e.effect], out)
    (out / "README.md").write_text("\n".join(readme) + "\n")
    total = sum(f.stat().st_size for f in out.iterdir() if f.is_file())
    print(f"{out}: {total} bytes in {sum(1 for _ in out.iterdir())} files")


if __name__ == "__main__":
    main()
