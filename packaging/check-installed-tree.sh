#!/bin/sh
# check-installed-tree.sh BUILD STAGE BINDIR DATADIR
# Installs the build into STAGE (as a package would lay it out, under another prefix than the
# build's) and checks the result: the program finds its licence text and page helper there
# by its relative paths, starts and logs in on the demo server, and the PNG icon is 256x256.
set -eu
build=$1 stage=$2 bindir=$3 datadir=$4

rm -rf "$stage"
cmake --install "$build" --prefix "$stage" >/dev/null

program="$stage/$bindir/parlendo"
found=$("$program" --check-install) || { echo "$found"; echo "FAILED: --check-install"; exit 1; }
echo "$found"
# Each file must come from the staged tree, not from the build tree beside the sources.
stage_real=$(cd "$stage" && pwd -P)
echo "$found" | while IFS= read -r line; do
  path=${line#*: }
  case "$path" in
    "$stage_real"/*) ;;
    none\ in\ this\ build*) ;;
    *) echo "FAILED: not from the installed tree: $line"; exit 1 ;;
  esac
done

"$program" --demo --exit-after-login | grep -q '^listed ' \
  || { echo "FAILED: the installed program did not log in on the demo server"; exit 1; }

png="$stage/$datadir/icons/hicolor/256x256/apps/net.parlendo.Console.png"
# Width and height are the two big-endian words at bytes 16 to 23 of a PNG (its IHDR chunk).
size=$(od -An -tx1 -j16 -N8 "$png" | tr -d ' \n')
[ "$size" = "0000010000000100" ] || { echo "FAILED: $png is not 256x256 ($size)"; exit 1; }
for f in "$stage/$datadir/applications/net.parlendo.Console.desktop" \
         "$stage/$datadir/metainfo/net.parlendo.Console.metainfo.xml" \
         "$stage/$datadir/icons/hicolor/scalable/apps/net.parlendo.Console.svg" \
         "$stage/$datadir/doc/parlendo/copyright"; do
  [ -f "$f" ] || { echo "FAILED: $f missing"; exit 1; }
done
# The metainfo, the desktop entry it launches and the icon together, as software centres read them.
if command -v appstreamcli >/dev/null 2>&1; then
  appstreamcli validate-tree --no-net "$stage" || { echo "FAILED: appstreamcli validate-tree"; exit 1; }
fi
echo "installed tree in order"
