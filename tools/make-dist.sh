#!/usr/bin/env bash
# Fills the distribution folder from a build: every file that anitrope-setup installs,
# compressed as SZDD (names ending in '_'), and anitrope-setup itself as it is; then a
# tarball of the folder beside it.
#   tools/make-dist.sh BUILD_DIR DIST_DIR
# BUILD_DIR must hold anitrope, anitrope-cli, anitrope-setup, uninstall and anitrope-szdd;
# the help file anitrope.qch is taken when the build made it. The example animations are
# made here with anitrope-cli from examples/bounce.gif.
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 BUILD_DIR DIST_DIR" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
dist=$2
repo=$(cd "$(dirname "$0")/.." && pwd)
version=$(sed -n 's/^project(Anitrope VERSION \([0-9.]*\).*/\1/p' "$repo/CMakeLists.txt")

editor=$build/src/app/anitrope
cli=$build/src/cli/anitrope-cli
setup=$build/src/installer/anitrope-setup
uninstall=$build/src/installer/uninstall
szdd=$build/src/installer/anitrope-szdd
help=$build/src/app/anitrope.qch
for program in "$editor" "$cli" "$setup" "$uninstall" "$szdd"; do
  [ -x "$program" ] || { echo "$0: $program is missing: build it first" >&2; exit 1; }
done

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/base" "$stage/java" "$stage/examples"

# Always installed, and the help.
cp "$editor" "$cli" "$uninstall" "$stage/base/"
if [ -f "$help" ]; then
  cp "$help" "$stage/base/"
else
  echo "$0: warning: $help is missing: the distribution goes without the help file" >&2
fi
{
  echo '<!DOCTYPE html>'
  echo '<html><head><meta charset="utf-8"><title>Anitrope Help</title></head><body>'
  echo '<h1>Anitrope Help</h1>'
  echo '<p>The manual opens inside Anitrope: choose <b>Help &gt; Contents</b> or press F1.'
  echo 'It holds these chapters:</p><ul>'
  if [ -f "$repo/share/help/anitrope.qhp" ]; then
    grep -o '<section title="[^"]*"' "$repo/share/help/anitrope.qhp" |
      sed 's/<section title="\(.*\)"/  <li>\1<\/li>/'
  fi
  echo '</ul></body></html>'
} > "$stage/base/contents.html"

# The frames of GIF $1 one by one as $2/$3NN.gif, numbered from 01.
single_frames() {
  local scratch number=0
  scratch=$(mktemp -d "$stage/frames.XXXX")
  (cd "$scratch" && "$cli" frames --name f.gif "$1" > /dev/null)
  for frame in $(ls "$scratch" | sort); do
    number=$((number + 1))
    mv "$scratch/$frame" "$2/$(printf '%s%02d.gif' "$3" $number)"
  done
  rmdir "$scratch"
}

# The web-page example: 21 frames of a banner that the page flips through with CSS alone.
"$cli" banner --text Anitrope --frames 21 --width 200 --height 60 "$stage/web.gif" > /dev/null
single_frames "$stage/web.gif" "$stage/java" frame
{
  echo '.stage { position: relative; width: 200px; height: 60px; }'
  echo '.stage img { position: absolute; left: 0; top: 0; opacity: 0;'
  echo '  animation: flip 2.1s infinite; }'
  echo '@keyframes flip { 0%, 4.7% { opacity: 1; } 4.8%, 100% { opacity: 0; } }'
  echo 'body { font-family: sans-serif; margin: 2em; }'
} > "$stage/java/webpage.css"
{
  echo '<!DOCTYPE html>'
  echo '<html><head><meta charset="utf-8"><title>Anitrope: an animation on a web page</title>'
  echo '<link rel="stylesheet" href="webpage.css"></head><body>'
  echo '<h1>An animation on a web page</h1>'
  echo '<p>These are 21 single frames made by Anitrope; the page shows them one after the'
  echo 'other with a style sheet, without a script or a plug-in.</p>'
  echo '<div class="stage">'
  for i in $(seq 1 21); do
    printf '  <img src="frame%02d.gif" alt="" style="animation-delay: %d.%ds">\n' \
      "$i" $(((i - 1) / 10)) $(((i - 1) % 10))
  done
  echo '</div></body></html>'
} > "$stage/java/webpage.html"

# The example animations: the bundled one, a banner, effects on it, and its single frames.
cp "$repo/examples/bounce.gif" "$stage/examples/"
"$cli" banner --text "Animated GIF" --frames 20 --width 200 --height 60 \
  "$stage/examples/banner.gif" > /dev/null
effects=("fade:Fade Out" "blind:Blind" "spiral:Spiral" "wave:Wave Out" "pixelize:Pixelize"
         "radar:Radar" "zoom:Zoom Out" "flag:Flag" "checkers:Checkers")
for item in "${effects[@]}"; do
  "$cli" effect "${item#*:}" "$repo/examples/bounce.gif" "$stage/examples/${item%%:*}.gif" \
    > /dev/null 2>&1
done
single_frames "$repo/examples/bounce.gif" "$stage/examples" bounce
{
  echo '<!DOCTYPE html>'
  echo '<html><head><meta charset="utf-8"><title>Anitrope examples</title></head><body>'
  echo '<h1>Anitrope examples</h1>'
  echo '<p>Open any of them in Anitrope to see its frames, delays and palettes.</p>'
  for gif in bounce banner "${effects[@]%%:*}"; do
    echo "<p><img src=\"$gif.gif\" alt=\"$gif\"><br>$gif.gif</p>"
  done
  echo '<h2>The single frames of bounce.gif</h2><p>'
  for i in $(seq 1 12); do printf '<img src="bounce%02d.gif" alt="">\n' "$i"; done
  echo '</p></body></html>'
} > "$stage/examples/examples.html"

# Compressed as the installer expects: '_' in place of the last letter of the extension, or
# "._" after a name without one.
compressed_name() {
  case "$1" in
    ?*.?*) echo "${1%?}_" ;;
    *) echo "$1._" ;;
  esac
}
rm -rf "$dist"
mkdir -p "$dist"
for file in "$stage"/base/* "$stage"/java/* "$stage"/examples/*; do
  "$szdd" "$file" "$dist/$(compressed_name "$(basename "$file")")"
done
cp "$setup" "$dist/"

# Every name the installer reads must be there.
missing=0
while read -r name; do
  if [ ! -f "$dist/$name" ]; then
    echo "$0: warning: $name is not in the distribution" >&2
    missing=1
  fi
done < <("$setup" --list)
if [ $missing -ne 0 ] && [ -f "$help" ]; then
  echo "$0: the distribution lacks files the installer reads" >&2
  exit 1
fi

tarball=$(dirname "$dist")/anitrope-dist-$version.tar.gz
tar -C "$(dirname "$dist")" --transform "s,^$(basename "$dist"),anitrope-dist-$version," \
  -czf "$tarball" "$(basename "$dist")"
echo "$dist: $(ls "$dist" | wc -l) files; $tarball"
