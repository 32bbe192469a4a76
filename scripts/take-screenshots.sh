#!/bin/sh
# Makes the README's pictures: the calculator in a fresh folder on a virtual
# display, the worked example typed in and calculated, then each window; the
# tool dialogs after a second start with ten paid places.
# Usage: scripts/take-screenshots.sh (after a build)
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/ensure-tools.sh"
prefix="$here/build/windows/wineprefix"
runner="$here/cmake/run-under-wine.sh"
images="$here/docs/images"
mkdir -p "$images"

# The push-or-fold equilibrium's grids, drawn by the command itself (native
# build): three players, a second or so.
"$here/build/native/ostrel-icm" nash --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200 \
    --ante 25 --threads 1 --format svg >"$images/nash-three-players.svg"
folder=$(mktemp -d)
cp "$here/build/windows/ostrel.exe" "$folder/"
ostrel_start_display

# Starts the calculator in the folder and gives its window the keyboard;
# seat 1 has the focus then.
start_calculator() {
    "$runner" "$prefix" "$folder/ostrel.exe" &
    calculator=$!
    main=$(timeout 60 xdotool search --sync --onlyvisible --name '^Ostrel Calculator$' | head -n 1)
    xdotool windowfocus --sync "$main"
    sleep 0.5
}

stop_calculator() {
    xdotool windowfocus --sync "$main"
    xdotool key alt+x
    wait "$calculator" || true
}

# Types into the focused window and moves on with Tab.
type_and_tab() {
    xdotool type --delay 30 "$1"
    xdotool key Tab
}

# The worked example. Return is pressed while place 3 has the focus, so the
# default button, Calculate, takes it; the tab order runs through seats 1 to
# 10, then places 1 to 10.
start_calculator
for chips in 5000 3000 2000 0 0 0 0 0 0 0; do type_and_tab "$chips"; done
type_and_tab 50
type_and_tab 30
xdotool type --delay 30 20
xdotool key Return
sleep 1
import -window "$main" "$images/main-window.png"

xdotool key alt+p
sleep 1
import -window "$main" "$images/main-window-18-seats.png"
xdotool key alt+p
sleep 0.5

xdotool key alt+h a
about=$(timeout 20 xdotool search --sync --name '^About Ostrel$' | head -n 1)
sleep 0.5
import -window "$about" "$images/about.png"
xdotool key Escape
sleep 0.5
stop_calculator

# The tools need places 1 to 10 paid: a fresh start with a longer ladder.
rm -f "$folder/ostrel.ini"
start_calculator
for chips in 5000 3000 2000 0 0 0 0 0 0 0; do type_and_tab "$chips"; done
for prize in 300 200 150 100 80 60 50 40 30 25; do type_and_tab "$prize"; done

# Picture of a tool dialog: open it with a key, let it act, take it, close it.
take_dialog() {
    keys=$1 caption=$2 picture=$3 actions=$4
    xdotool windowfocus --sync "$main"
    xdotool key $keys
    dialog=$(timeout 20 xdotool search --sync --name "^$caption\$" | head -n 1)
    xdotool windowfocus --sync "$dialog"
    sleep 0.5
    [ -n "$actions" ] && xdotool key $actions && sleep 0.5
    import -window "$dialog" "$images/$picture"
    xdotool key Escape
    sleep 0.5
}

take_dialog alt+m "Payouts over 10" extra-payouts.png "2 0 Tab 1 5 Tab 1 2 Tab 1 0 Tab"
take_dialog alt+b "Bubble factor calculation" bubble-factor.png "alt+d"

stop_calculator
WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
WINEPREFIX="$prefix" wineserver -w 2>/dev/null || true
rm -rf "$folder"
echo "Pictures in $images"
