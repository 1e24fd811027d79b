#!/usr/bin/env bash
# Makes a screenshot of the viewer with the sample event file open, the way a person sees it:
# a real window under Xvfb, the Open button clicked, the file name typed into the dialog.
# Usage: [SCALE=2] [STATISTICS=1] scripts/screenshot.sh VIEWER OUTPUT.png [EVENT_FILE]
# SCALE runs the viewer at that device pixel ratio, as on a HiDPI screen; STATISTICS=1 opens the
# statistics window too (Ctrl+T) and shows it beside the main window.
set -euo pipefail

viewer=$(realpath "$1")
output=$2
events=$(realpath "${3:-examples/Events_30_sample.txt}")

scale=${SCALE:-1}
# A window position in logical pixels, in the screen's pixels.
at() { awk -v s="$scale" -v x="$1" -v y="$2" 'BEGIN { printf "%d %d", x * s, y * s }'; }

display=:$((90 + RANDOM % 9))
statistics=${STATISTICS:-}
screen="1024 768"
[ -n "$statistics" ] && screen="1700 830"
Xvfb "$display" -screen 0 "$(at $screen | tr ' ' x)x24" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
viewer_pid=""
cleanup() {
    [ -n "$viewer_pid" ] && kill "$viewer_pid" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=$display
sleep 1

QT_SCALE_FACTOR=$scale "$viewer" >/dev/null 2>&1 &
viewer_pid=$!
for _ in $(seq 50); do
    window=$(xdotool search --name "^Event Visualization$" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "screenshot: the viewer did not open a window" >&2; exit 1; }
xdotool windowmove "$window" 0 0
sleep 0.5

# Open (button at 472,224 + half its size), type the path into the dialog, confirm.
xdotool mousemove $(at 512 236) click 1
sleep 1
xdotool type --delay 2 "$events"
xdotool key Return
sleep 1
# Pick an event with trucks in both directions (list at 336,252 in the event data frame).
xdotool mousemove $(at 376 262) click 1
sleep 0.5
xdotool type --delay 50 "${EVENT_NUMBER:-8437}"
xdotool key Return
# Stop the playback and show the trucks at the effect's own time.
sleep 1
xdotool mousemove $(at 582 272) click 1
sleep 0.3
xdotool mousemove $(at 478 304) click 1
sleep 0.5

if [ -z "$statistics" ]; then
    import -window "$window" "$output"
    echo "screenshot: wrote $output"
    exit 0
fi
xdotool key ctrl+t
sleep 1.5
stats_window=$(xdotool search --name "^Statistics of" | head -n 1)
xdotool windowmove "$stats_window" $(at 690 0)
xdotool windowsize "$stats_window" $(at 1000 820)
sleep 1
import -window root -crop "$(at 1690 820 | tr ' ' x)+0+0" "$output"
echo "screenshot: wrote $output"
