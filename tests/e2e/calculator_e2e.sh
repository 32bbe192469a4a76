#!/bin/sh
# The real ostrel.exe used as a person would: started in a fresh folder,
# chips and prizes typed with real key presses, Enter to calculate, the
# results read off the window, the settings file checked, Alt+X to close
# (exit code 0), a second start that finds the inputs again, and a payout
# structure saved with Alt+S and opened with Alt+O in a later start.
# Usage: calculator_e2e.sh OSTREL_EXE READER_EXE WINE_RUNNER WINE_PREFIX
set -eu
program=$1 reader=$2 runner=$3 prefix=$4
folder=$(mktemp -d)
calculator=""
# A run that stops early must not leave the program holding CTest's output.
trap '[ -n "$calculator" ] && kill "$calculator" 2>/dev/null; rm -rf "$folder"' EXIT
cp "$program" "$folder/ostrel.exe"
failures=0

fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

start_calculator() {
    "$runner" "$prefix" "$folder/ostrel.exe" &
    calculator=$!
    window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Ostrel Calculator$' | head -n 1)
    [ -n "$window" ] || { echo "no window" >&2; exit 1; }
    xdotool windowfocus --sync "$window"
    sleep 0.5
}

# Prints the text of control ID as the window shows it.
text_of() {
    "$runner" "$prefix" "$reader" "Ostrel Calculator" "$1" | tr -d '\r' | sed "s/^$1=//"
}

# Gives the program up to about 5 s to show the text, as a person would wait.
expect_text() {
    tries=0
    actual=$(text_of "$1")
    while [ "$actual" != "$2" ] && [ $tries -lt 10 ]; do
        sleep 0.5
        tries=$((tries + 1))
        actual=$(text_of "$1")
    done
    [ "$actual" = "$2" ] || fail "control $1 shows '$actual', expected '$2'"
}

stop_calculator() {
    xdotool windowfocus --sync "$window"
    xdotool key alt+x
    tries=0
    while kill -0 "$calculator" 2>/dev/null && [ $tries -lt 100 ]; do
        sleep 0.2
        tries=$((tries + 1))
    done
    if kill -0 "$calculator" 2>/dev/null; then
        fail "still running 20 s after Alt+X"
        kill "$calculator"
    fi
    status=0
    wait "$calculator" || status=$?
    calculator=""
    [ "$status" -eq 0 ] || fail "exit code $status after Alt+X"
}

start_calculator
# Seat 1 has the focus; the tab order runs through seats 1 to 10, then places 1 to 10.
xdotool type --delay 30 "5000"
xdotool key Tab
xdotool type --delay 30 "3000"
xdotool key Tab
xdotool type --delay 30 "2000"
xdotool key Tab Tab Tab Tab Tab Tab Tab Tab
xdotool type --delay 30 "50"
xdotool key Tab
xdotool type --delay 30 "30"
xdotool key Tab
xdotool type --delay 30 "20,00"
xdotool key Return
sleep 1
expect_text 268 38.393
expect_text 269 32.750
expect_text 270 28.857
expect_text 271 ""
settings="$folder/ostrel.ini"
if [ -f "$settings" ]; then
    for line in "PlayerCount=10" "InitPlayers=180" "InitChips=1500" "Payout1=50" "Payout2=30" \
                "Payout3=20.00" "Payout4=0" "Payout30=0" "Chip1=5000" "Chip2=3000" "Chip3=2000" \
                "Chip4=0" "Chip18=0"; do
        tr -d '\r' < "$settings" | grep -qx "$line" || fail "ostrel.ini lacks $line"
    done
else
    fail "no ostrel.ini beside the program"
fi
stop_calculator

start_calculator
expect_text 250 5000
expect_text 251 3000
expect_text 252 2000
expect_text 220 50
expect_text 221 30
expect_text 222 20.00
expect_text 206 "Payouts(3)"
xdotool key alt+p
sleep 0.5
expect_text 202 "&Player 10"
expect_text 267 "0"
stop_calculator

# Waits for the visible dialog with CAPTION and gives it the keyboard.
focus_dialog() {
    dialog=$(timeout 30 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1)
    [ -n "$dialog" ] || { fail "no '$1' dialog"; return 1; }
    xdotool windowfocus --sync "$dialog"
    sleep 0.3
}

# Waits until the dialog with CAPTION is gone.
dialog_closed() {
    tries=0
    while xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 && [ $tries -lt 50 ]; do
        sleep 0.2
        tries=$((tries + 1))
    done
}

# A payout structure saved with Alt+S from a payout edit, under a name typed
# without extension; a fresh start with another ladder, Alt+O from a chip
# edit, and Calculate gives the results of the saved ladder again.
start_calculator
xdotool key Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab
xdotool type --delay 30 "60"
xdotool key Tab
xdotool type --delay 30 "25,5"
xdotool key Tab
xdotool type --delay 30 "14.5"
xdotool key alt+s
if focus_dialog "Save payout structure"; then
    xdotool type --delay 30 "mine"
    xdotool key Return
    dialog_closed "Save payout structure"
fi
structure="$folder/mine.pos"
# The file is written key by key after the dialog has gone.
tries=0
while ! grep -q "^Payout30=" "$structure" 2>/dev/null && [ $tries -lt 50 ]; do
    sleep 0.2
    tries=$((tries + 1))
done
if [ -f "$structure" ]; then
    for line in "InitPlayers=180" "InitChips=1500" "Payout1=60" "Payout2=25.5" "Payout3=14.5" "Payout4=0"; do
        tr -d '\r' < "$structure" | grep -qx "$line" || fail "mine.pos lacks $line"
    done
    tr -d '\r' < "$structure" | grep -q "^Chip" && fail "mine.pos holds chips"
else
    fail "Alt+S and a name without extension made no mine.pos"
fi
xdotool windowfocus --sync "$window"
xdotool key alt+c
sleep 1
saved_results=$(text_of 268; text_of 269; text_of 270)
stop_calculator
# The settings file now holds another ladder, which a fresh start shows.
sed -i -e 's/^Payout1=.*/Payout1=90\r/' -e 's/^Payout2=.*/Payout2=10\r/' -e 's/^Payout3=.*/Payout3=0\r/' "$settings"

start_calculator
expect_text 220 90
expect_text 206 "Payouts(2)"
xdotool key alt+c
sleep 1
[ -n "$(text_of 268)" ] || fail "no result before the Open"
# Cancel in the Open dialog changes nothing.
xdotool key alt+o
if focus_dialog "Open payout structure"; then
    xdotool key Escape
    dialog_closed "Open payout structure"
fi
expect_text 220 90
[ -n "$(text_of 268)" ] || fail "Cancel emptied the results"
xdotool windowfocus --sync "$window"
xdotool key alt+o
if focus_dialog "Open payout structure"; then
    # Wine's Open dialog does not add the default extension to a typed name.
    xdotool type --delay 30 "mine.pos"
    xdotool key Return
    dialog_closed "Open payout structure"
fi
expect_text 220 60
expect_text 221 25.5
expect_text 222 14.5
expect_text 206 "Payouts(3)"
expect_text 268 ""
xdotool windowfocus --sync "$window"
xdotool key alt+c
sleep 1
opened_results=$(text_of 268; text_of 269; text_of 270)
[ -n "$saved_results" ] && [ "$opened_results" = "$saved_results" ] ||
    fail "results after the Open '$opened_results', after the Save '$saved_results'"

# Alt+M with the focus moved back one control, Alt+B from seat 1's chip edit.
xdotool windowfocus --sync "$window"
xdotool key shift+Tab
xdotool key alt+m
if focus_dialog "Payouts over 10"; then
    xdotool key Escape
    dialog_closed "Payouts over 10"
fi
xdotool windowfocus --sync "$window"
xdotool key alt+1 alt+b
if focus_dialog "Bubble factor calculation"; then
    xdotool key alt+d
    sleep 0.5
    bubble=$("$runner" "$prefix" "$reader" "Bubble factor calculation" 327 | tr -d '\r')
    [ "$bubble" != "327=" ] || fail "Alt+D in the bubble dialog showed no \$EV(1)"
    xdotool key Escape
    dialog_closed "Bubble factor calculation"
fi
stop_calculator

# Without a display the window cannot be created: exit code -1, whose low
# byte is all Wine passes on.
status=0
env -u DISPLAY "$runner" "$prefix" "$folder/ostrel.exe" >/dev/null 2>&1 || status=$?
[ "$status" -eq 255 ] || fail "exit code $status without a display, expected 255"

[ "$failures" -eq 0 ] && echo "end-to-end run passed"
exit "$failures"
