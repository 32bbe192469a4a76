#!/bin/sh
# Starts the calculator under Wine, in the build folder's own Wine prefix.
# With a display, the program runs there until it is closed. Without one, it
# runs on a virtual display: a picture of its window goes to build/ostrel.png
# and the program is closed again.
# Usage: start-calculator.sh OSTREL_EXE
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
program=$1
prefix="$here/build/windows/wineprefix"
runner="$here/cmake/run-under-wine.sh"

if [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then
    exec "$runner" "$prefix" "$program"
fi

. "$here/scripts/ensure-tools.sh"
ostrel_start_display
"$runner" "$prefix" "$program" &
calculator=$!
window=$(timeout 60 xdotool search --sync --name '^Ostrel Calculator$' | head -n 1)
sleep 1
picture="$here/build/ostrel.png"
import -window "$window" "$picture"
xdotool windowfocus --sync "$window"
xdotool key alt+x
wait "$calculator" || true
# Wine's helper processes would otherwise still hold the display when it goes.
WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
WINEPREFIX="$prefix" wineserver -w 2>/dev/null || true
echo "No display here: the calculator ran on a virtual one. Its window: $picture"
