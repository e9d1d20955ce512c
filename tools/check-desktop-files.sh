#!/usr/bin/env bash
# Installs the `desktop` component of a configured build into a temporary prefix and checks
# what the desktop and software centres will read there: the desktop entry with
# desktop-file-validate, the AppStream metainfo with appstreamcli (the file alone, then the
# tree with the desktop entry it launches), and every PNG icon's size against its folder.
#   tools/check-desktop-files.sh BUILD_DIR [CMAKE]
# Exits 0 when everything is clean, 1 on a finding, 77 when the checks that ran were clean
# but a validator is not installed (ctest counts that as skipped).
set -euo pipefail
build=${1:?usage: check-desktop-files.sh BUILD_DIR [CMAKE]}
cmake=${2:-cmake}
id=org.anitrope.Anitrope
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$cmake" --install "$build" --component desktop --prefix "$work/usr" >"$work/install.log" ||
  { cat "$work/install.log"; exit 1; }
share=$work/usr/share
failed=0
fail() { echo "FAIL: $*"; failed=1; }

# desktop-file-validate passes files with warnings and hints; any line it prints is a finding.
quiet() {
  local out status=0
  out=$("$@" 2>&1) || status=$?
  if [ "$status" -ne 0 ] || [ -n "$out" ]; then fail "$*"; echo "$out"; fi
}
# appstreamcli --strict fails on everything above its pedantic hints.
strict() {
  local out
  out=$("$@" 2>&1) || { fail "$*"; echo "$out"; }
}

for size in 16 32 48 64 128 256; do
  png=$share/icons/hicolor/${size}x${size}/apps/anitrope.png
  if [ ! -f "$png" ]; then fail "no icon $png"; continue; fi
  # A PNG's width and height are the big-endian words at bytes 16 and 20.
  width='' height=''
  read -r width height < <(od -An -tu1 -j16 -N8 "$png" |
    awk '{ print $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }') ||
    true
  [ "$width $height" = "$size $size" ] ||
    fail "icon for ${size}x${size} is ${width}x${height}: $png"
done
[ -f "$share/icons/hicolor/scalable/apps/anitrope.svg" ] || fail "no scalable icon"

missing=()
if command -v desktop-file-validate >/dev/null; then
  quiet desktop-file-validate "$share/applications/$id.desktop"
else
  missing+=(desktop-file-validate)
fi
if command -v appstreamcli >/dev/null; then
  strict appstreamcli validate --strict --no-net "$share/metainfo/$id.metainfo.xml"
  strict appstreamcli validate-tree --strict --no-net "$work"
else
  missing+=(appstreamcli)
fi

[ "$failed" -eq 0 ] || exit 1
if [ ${#missing[@]} -gt 0 ]; then
  echo "SKIP: not installed: ${missing[*]}"
  exit 77
fi
echo "desktop entry, metainfo and icons are clean"
