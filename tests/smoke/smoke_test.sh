#!/usr/bin/env bash
# Starts the real editor under Xvfb and looks at what it shows:
#  1. started with an icon, the grid shows the icon's colour;
#  2. with "Open in same window" on, a second start with a file makes the first window open it
#     and exits without a window of its own;
#  3. with the option off, a second start opens a window of its own; when the first of the two
#     ends, the other one takes the hand-overs;
#  4. cells painted with real pointer events and saved with Ctrl+S are in the written file;
#  5. while a start's message about a bad file is open, a later start hands its file over;
#  6. Esc on the question about unsaved changes keeps the window and the document;
#  7. an editor killed a few seconds after painting gives the painted pixels back at the next
#     start.
# Usage: smoke_test.sh BRIXEL_BINARY BRIXEL_CLI_BINARY
set -euo pipefail
brixel=$1 cli=$2

for tool in xvfb-run convert import xwininfo xdotool python3; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipping: $tool is not installed"
    exit 77
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# TMPDIR holds the hand-over socket: these instances meet no others of the same user.
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data TMPDIR=$work/tmp
export XDG_STATE_HOME=$work/state
mkdir -p "$HOME" "$XDG_CONFIG_HOME/Tessarine" "$XDG_DATA_HOME" "$TMPDIR"
unset QT_QPA_PLATFORM

# A 16 x 16 icon of one colour that nothing else on screen has.
convert -size 16x16 xc:'#12ab34' "$work/green.ico"
convert -size 16x16 xc:'#c01a9e' "$work/purple.ico"

cat > "$work/inside.sh" <<'INSIDE'
#!/usr/bin/env bash
set -euo pipefail
brixel=$1 work=$2 cli=$3

# Main windows: titled "Brixel", or "NAME — Brixel" with a document open.
windows() { xwininfo -root -children | grep -c 'Brixel": ("brixel"' || true; }
wait_windows() {  # count
  for _ in $(seq 100); do
    [ "$(windows)" -ge "$1" ] && return 0
    sleep 0.1
  done
  echo "expected $1 window(s), saw $(windows)"; return 1
}
# Pixels of the screen in colour $1.
pixels() {
  import -window root "$work/shot.png"
  convert "$work/shot.png" -fill black +opaque "$1" -fill white -opaque "$1" -format '%[fx:int(mean*w*h+0.5)]' info:
}
wait_pixels() {  # colour minimum
  for _ in $(seq 100); do
    [ "$(pixels "$1")" -ge "$2" ] && return 0
    sleep 0.1
  done
  echo "the screen does not show $1 (saw $(pixels "$1") pixels)"; return 1
}
pids=()
start() { "$brixel" "$@" & pids+=($!); }
stop_all() {
  kill "${pids[@]}" 2>/dev/null || true
  wait "${pids[@]}" 2>/dev/null || true
  pids=()
}
# Waits until an instance answers on the hand-over socket.
wait_listening() {
  for _ in $(seq 100); do
    python3 -c 'import socket, sys; socket.socket(socket.AF_UNIX).connect(sys.argv[1])' \
      "$TMPDIR/brixel-$(id -u)" 2>/dev/null && return 0
    sleep 0.1
  done
  echo "no instance takes hand-overs"; return 1
}
# Reads FILE's first image back with brixel-cli: the pixels x,y listed after "painted" must be
# opaque and no longer green, those after "kept" still green.
check_pixels() {
  local file=$1
  shift
  rm -rf "$work/dump"
  "$cli" dump "$file" "$work/dump" >/dev/null
  python3 - "$work/dump/0.pam" "$@" <<'CHECK'
import sys
data = open(sys.argv[1], 'rb').read()
header, pixels = data.split(b'ENDHDR\n', 1)
width = int(header.split(b'WIDTH ')[1].split()[0])
green = (0x12, 0xab, 0x34, 255)
kind = None
for arg in sys.argv[2:]:
    if arg in ('painted', 'kept'):
        kind = arg
        continue
    x, y = map(int, arg.split(','))
    i = (y * width + x) * 4
    at = tuple(pixels[i:i + 4])
    if kind == 'painted' and (at == green or at[3] != 255):
        sys.exit(f"pixel {x},{y} was not painted: {at}")
    if kind == 'kept' and at != green:
        sys.exit(f"pixel {x},{y} changed: {at}")
CHECK
}
# A start that must hand its file over: it ends by itself, without a window.
hand_over() { timeout 20 "$brixel" "$1" || { echo "the start with $1 did not hand it over"; exit 1; }; }
# The id of the shown window with this title, once there is one.
shown() {
  local id=
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "^$1\$" | head -1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "no window \"$1\"" >&2; return 1
}
# Presses Return in the shown window with this title.
dismiss() {
  local id
  id=$(shown "$1")
  xdotool windowfocus --sync "$id" key Return
}

# 1. A file on the command line: the 480 x 480 grid shows it, less the grid lines.
start "$work/green.ico"
wait_windows 1
wait_pixels '#12ab34' 150000
cp "$work/shot.png" "$work/first.png"
stop_all

# 2. "Open in same window" on: the second start hands its file over and shows nothing.
printf '[Software\\Tessarine]\n"SameWindow"="True"\n' > "$XDG_CONFIG_HOME/Tessarine/registry.ini"
start
wait_windows 1
timeout 20 "$brixel" "$work/purple.ico"
wait_pixels '#c01a9e' 150000
[ "$(windows)" -eq 1 ] || { echo "the second start opened a window"; exit 1; }
stop_all

# 3. The option off: the second start opens its own window.
printf '[Software\\Tessarine]\n"SameWindow"=""\n' > "$XDG_CONFIG_HOME/Tessarine/registry.ini"
start
wait_windows 1
start "$work/purple.ico"
wait_windows 2
# The first one ends without a word (its socket stays behind): the second takes over.
kill "${pids[0]}"
wait "${pids[0]}" 2>/dev/null || true
wait_listening
printf '[Software\\Tessarine]\n"SameWindow"="True"\n' > "$XDG_CONFIG_HOME/Tessarine/registry.ini"
hand_over "$work/green.ico"
wait_pixels '#12ab34' 150000
stop_all
printf '[Software\\Tessarine]\n"SameWindow"=""\n' > "$XDG_CONFIG_HOME/Tessarine/registry.ini"

# 4. Paint with the left button's tool (freehand) on the 16 x 16 grid of 30-pixel cells: one
#    click and one drag, then Ctrl+S, and read the saved file back.
start "$work/green.ico"
wait_windows 1
wait_pixels '#12ab34' 150000
# The grid's top-left: the first column and row with hundreds of green pixels (the strip's
# 16-pixel thumbnail has fewer).
read -r left top <<< "$(/usr/bin/python3 - "$work/shot.png" <<'FIND'
import sys
from PIL import Image
shot = Image.open(sys.argv[1]).convert('RGB')
w, h = shot.size
green = (0x12, 0xab, 0x34)
px = shot.load()
cols = [sum(px[x, y] == green for y in range(h)) for x in range(w)]
rows = [sum(px[x, y] == green for x in range(w)) for y in range(h)]
print(next(x for x in range(w) if cols[x] > 200), next(y for y in range(h) if rows[y] > 200))
FIND
)"
cell() { echo $((left + $1 * 30 + 15)) $((top + $2 * 30 + 15)); }
xdotool mousemove $(cell 2 3) click 1
xdotool mousemove $(cell 5 5) mousedown 1 sleep 0.2 mousemove $(cell 6 5) sleep 0.2 \
  mousemove $(cell 7 5) sleep 0.2 mouseup 1
before=$(stat -c %Y.%s "$work/green.ico")
sleep 1.1  # a second later, so the saved file's time differs
xdotool key ctrl+s
for _ in $(seq 100); do
  [ "$(stat -c %Y.%s "$work/green.ico")" != "$before" ] && break
  sleep 0.1
done
xdotool key Return  # the "Icon Saved as" message
stop_all
check_pixels "$work/green.ico" painted 2,3 5,5 6,5 7,5 kept 0,0 4,5 2,4 15,15

# 5. "Open in same window" on and a start with a file that is no icon: while its report and
#    message are open, a later start hands its file to it, which shows once they are closed.
printf '[Software\\Tessarine]\n"SameWindow"="True"\n' > "$XDG_CONFIG_HOME/Tessarine/registry.ini"
printf 'no icon' > "$work/bad.ico"
start "$work/bad.ico"
shown "Unable to open file" >/dev/null
hand_over "$work/purple.ico"
dismiss "Unable to open file"
wait_pixels '#c01a9e' 150000
stop_all
printf '[Software\\Tessarine]\n"SameWindow"=""\n' > "$XDG_CONFIG_HOME/Tessarine/registry.ini"

# 6. A painted cell, then File > Exit: Esc on the question keeps everything.
start "$work/green.ico"
wait_windows 1
wait_pixels '#12ab34' 150000
xdotool mousemove $(cell 10 10) click 1
main=$(shown ".*Brixel")
xdotool windowfocus --sync "$main" key alt+f x
id=$(shown "Unsaved Icon")
xdotool windowfocus --sync "$id" key Escape
sleep 0.5
[ "$(windows)" -eq 1 ] || { echo "Esc on the question closed the window"; exit 1; }
xdotool search --onlyvisible --name '^Unsaved Icon$' >/dev/null && { echo "the question stayed"; exit 1; }

# 7. The same editor, killed once it has had time to keep a copy: the next start offers the
#    document back, under its own path, with the painted cell.
for _ in $(seq 150); do
  ls "$XDG_STATE_HOME"/brixel/recovery/*.recovery >/dev/null 2>&1 && break
  sleep 0.1
done
ls "$XDG_STATE_HOME"/brixel/recovery/*.recovery >/dev/null || { echo "no recovery copy was kept"; exit 1; }
kill -9 "${pids[@]}"
wait "${pids[@]}" 2>/dev/null || true
pids=()
start
dismiss Recovery  # Yes
wait_pixels '#12ab34' 150000
xdotool windowfocus --sync "$(shown ".*Brixel")" key ctrl+s
for _ in $(seq 100); do
  xdotool search --onlyvisible --name '^Icon Saved$' >/dev/null && break
  sleep 0.1
done
dismiss "Icon Saved"
stop_all
check_pixels "$work/green.ico" painted 10,10
echo "smoke test passed"
INSIDE
chmod +x "$work/inside.sh"

# A display number of its own, away from other test runs on the same machine. -noreset: by
# default the server resets when its last client goes, and a start at that moment (the one
# after the editors are killed) cannot connect.
xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x1024x24 -noreset" "$work/inside.sh" "$brixel" "$work" "$cli"
