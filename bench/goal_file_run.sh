#!/bin/bash
# Starts the real program offscreen on a goal file of a given shape and size
# and reports how long it works before it waits for the user (the tutor
# window shown) and its peak memory, from /usr/bin/time -v.
#
#   bench/goal_file_run.sh BUILD_DIR SHAPE BYTES
#
# SHAPE: none (no goal file), goal (one goal, a description of 80-character
# lines), line (one goal, a description of one line without a blank), words
# (one goal, a description of one line of words), name (one goal, a name of
# one line), most (the most goals a file holds), short (goals of 71 bytes).
# The program runs on a copy of BUILD_DIR/program with HOME and the XDG
# folders in a temporary folder; everything is removed afterwards.
set -eu
build=$1 shape=$2 size=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/program" "$work/home/"{config,data,cache,runtime,tmp}
chmod 700 "$work/home/runtime"
cp -r "$build/program/." "$work/program/"
rm -f "$work/program/"*.lock "$work/program/goals.txt"*
python3 - "$shape" "$size" "$work/program/goals.txt" <<'PY'
import sys
shape, size, out = sys.argv[1], int(sys.argv[2]), sys.argv[3]
head, tail = b'"One",#2026-01-01#,#2026-12-31#,"', b'",#FALSE#,5\r\n'
room = size - len(head) - len(tail)
def fill(line, n): return (line * (n // len(line) + 1))[:n]
files = {
    'goal': lambda: head + fill(b'x' * 78 + b'\r\n', room) + tail,
    'line': lambda: head + b'x' * room + tail,
    'words': lambda: head + fill(b'word ', room) + tail,
    'name': lambda: b'"' + b'x' * (size - 41) + b'",#2026-01-01#,#2026-12-31#,"",#FALSE#,5\r\n',
    'most': lambda: b',#2026-1-1#,#2026-1-2#,,0,0\n' * (size // 28),
    'short': lambda: b'"Goal",#2026-01-01#,#2026-12-31#,"A short description here",#FALSE#,0\r\n' * (size // 71),
}
if shape != 'none':
    open(out, 'wb').write(files[shape]())
PY
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/data" \
    XDG_CACHE_HOME="$work/home/cache" XDG_RUNTIME_DIR="$work/home/runtime" TMPDIR="$work/home/tmp" \
    QT_QPA_PLATFORM=offscreen
start=$(date +%s.%N)
/usr/bin/time -v -o "$work/time.txt" "$work/program/arcavell" 2>/dev/null &
timer=$!
sleep 0.05
program=$(pgrep -P $timer)
# Working until its CPU time stands still for 1.5 s.
last=-1 busyUntil=$start still=0
while [ $still -lt 30 ] && kill -0 "$program" 2>/dev/null; do
    cpu=$(awk '{print $14 + $15}' "/proc/$program/stat")
    if [ "$cpu" != "$last" ]; then last=$cpu busyUntil=$(date +%s.%N) still=0; else still=$((still + 1)); fi
    sleep 0.05
done
kill -TERM "$program"
wait $timer || true
peak=$(awk -F': ' '/Maximum resident/ {print $2}' "$work/time.txt")
printf '%s, %s bytes: works %.1f s, peak memory %d MB\n' "$shape" "$size" \
    "$(echo "$busyUntil - $start" | bc)" $((peak / 1024))
