#!/usr/bin/env bash
# Starts the real editor under Xvfb and looks at what it shows:
#  1. started with an icon, the grid shows the icon's colour;
#  2. with "Open in same window" on, a second start with a file makes the first window open it
#     and exits without a window of its own;
#  3. with the option off, a second start opens a window of its own.
# Usage: smoke_test.sh BRIXEL_BINARY
set -euo pipefail
brixel=$1

for tool in xvfb-run convert import xwininfo; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipping: $tool is not installed"
    exit 77
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
mkdir -p "$HOME" "$XDG_CONFIG_HOME/Tessarine" "$XDG_DATA_HOME"
unset QT_QPA_PLATFORM

# A 16 x 16 icon of one colour that nothing else on screen has.
convert -size 16x16 xc:'#12ab34' "$work/green.ico"
convert -size 16x16 xc:'#c01a9e' "$work/purple.ico"

cat > "$work/inside.sh" <<'INSIDE'
#!/usr/bin/env bash
set -euo pipefail
brixel=$1 work=$2

windows() { xwininfo -root -children | grep -c '"Brixel": ("brixel"' || true; }
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
stop_all
echo "smoke test passed"
INSIDE
chmod +x "$work/inside.sh"

xvfb-run -a -s "-screen 0 1280x1024x24" "$work/inside.sh" "$brixel" "$work"
