#!/usr/bin/env bash
# Runs velmor2 on the bundled demo installation: a client whose program
# folder is one version behind the server share. The update dialog appears in
# this terminal; confirm with Enter, cancel with Esc. Afterwards a summary
# shows what happened. Run it again to see the no-update outcome; --reset
# starts from the old version again.
#
#   scripts/demo.sh            the Linux build, terminal dialog
#   scripts/demo.sh --auto     the same, confirmed automatically (in tmux)
#   scripts/demo.sh --windows  the Windows build under Wine (needs the
#                              packages of scripts/install-deps.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
mode=native auto=0 reset=0
for a in "$@"; do
  case "$a" in
    --windows) mode=windows ;;
    --auto) auto=1 ;;
    --reset) reset=1 ;;
    *) echo "usage: $0 [--auto] [--windows] [--reset]" >&2; exit 2 ;;
  esac
done

work="$root/build/demo-$mode"
if [ "$mode" = native ]; then
  for tool in cmake ninja g++; do
    command -v "$tool" >/dev/null || { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq cmake ninja-build g++ tmux >/dev/null; break; }
  done
  cmake --preset native-release -DVELMOR_TESTS=OFF >/dev/null
  cmake --build --preset native-release --target velmor2 korvan >/dev/null
  bin="$root/build/native-release"
else
  bash scripts/install-deps.sh
  cmake --preset windows >/dev/null
  cmake --build --preset windows --target velmor2 korvan >/dev/null
  bin="$root/build/windows"
fi

if [ "$reset" = 1 ] || [ ! -d "$work" ]; then
  rm -rf "$work"
  mkdir -p "$work"
  cp -r demo/local demo/server "$work/"
  cp "$bin/velmor2.exe" "$bin/korvan.exe" "$work/local/APLI/"
  # The updater's own executable lies on the share too; it is never copied.
  cp "$bin/velmor2.exe" "$work/server/ZOLDATA/APLI/"
fi
app="$work/local/APLI"
[ "$mode" = native ] && exe=./velmor2.exe || exe=velmor2.exe

before=$(head -n1 "$app/VERSION.INI" | tr -d '\r')
echo "demo installation: $work"
echo "local version: $before   server version: $(head -n1 "$work/server/ZOLDATA/APLI/VERSION.INI" | tr -d '\r')"

if [ "$mode" = native ]; then
  export LANG=C.UTF-8 VELMOR_DRIVE_S="$work/server"
  if [ "$auto" = 1 ] || [ ! -t 0 ]; then
    session="velmor-demo-$$"
    done_file="$work/.demo-done"
    rm -f "$done_file"
    tmux new-session -d -s "$session" -x 100 -y 36 -c "$app" \
      "env LANG=C.UTF-8 VELMOR_DRIVE_S='$work/server' $exe; touch '$done_file'"
    sleep 1
    if [ ! -f "$done_file" ]; then
      tmux capture-pane -p -t "$session" | sed 's/^/  | /'
      echo "(pressing Enter)"
      tmux send-keys -t "$session" Enter
    fi
    for _ in $(seq 600); do [ -f "$done_file" ] && break; sleep 0.1; done
    tmux kill-session -t "$session" 2>/dev/null || true
  else
    (cd "$app" && $exe)
  fi
else
  source scripts/wine-env.sh
  rm -f "$WINEPREFIX/dosdevices/s:"
  ln -s "$work/server" "$WINEPREFIX/dosdevices/s:"
  iconv -f UTF-8 -t CP932 "$root/demo/local/APLI/translations/velmor_00.ini" > "$app/translations/velmor_00.ini"
  if [ -z "${DISPLAY:-}" ] || [ "$auto" = 1 ]; then
    # No screen to show the window on: drive it with the dialog driver.
    fd=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fd" >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 50); do [ -s "$fd" ] && break; sleep 0.1; done
    export DISPLAY=":$(cat "$fd")"
    (cd "$app" && wine "$exe") &
    updater=$!
    # The dialog's X window carries the program's name as its class.
    if wid=$(timeout 30 xdotool search --sync --classname velmor2.exe 2>/dev/null | head -n1) && [ -n "$wid" ]; then
      sleep 1
      echo "(pressing Enter)"
      xdotool key --window "$wid" Return 2>/dev/null
    fi
    wait "$updater"
    kill "$xvfb" 2>/dev/null || true
  else
    (cd "$app" && wine "$exe")
  fi
fi

sleep 0.5
echo
echo "== what happened"
echo "local version now: $(head -n1 "$app/VERSION.INI" | tr -d '\r') (was $before)"
if [ -f "$app/korvan-runs.txt" ]; then
  echo "main program starts (korvan-runs.txt):"
  awk '/^run$/{n++; args=""} /^arg /{args=args" \""substr($0,5)"\""} /^end$/{print "  start " n ":" (args==""?" no argument":args)}' "$app/korvan-runs.txt"
else
  echo "main program: not started"
fi
log="$work/local/LOG/Velmor.log"
if [ -f "$log" ]; then
  echo "update log ($log):"
  if [ "$mode" = windows ]; then iconv -f CP932 -t UTF-8 "$log"; else cat "$log"; fi | tr -d '\r' | sed 's/^/  /'
else
  echo "update log: empty"
fi
if [ -d "$work/local/APLI_BAK" ]; then
  echo "backup folder (APLI_BAK):"
  (cd "$work/local/APLI_BAK" && find . -type f | sort | sed 's|^\./|  |')
fi
