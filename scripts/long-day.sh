#!/usr/bin/env bash
# long-day.sh [MINUTES]: a long day for the console under a real X server, to see that nothing
# grows. Runs `parlendo --demo --demo-pace 10` (the demo's lively crowd at ten times its pace)
# on a display of its own (Xvfb, with openbox when installed) and, like an operator, accepts
# every chat request and closes each chat about 20 seconds later, saying Yes when asked whether
# to end it. Once a minute it prints the console's resident memory (RSS), proportional memory
# (PSS), open descriptors and threads, and at the end how much each moved after the fifth
# minute. The console quits by itself at the end (--stay), so a sanitizer build's leak check
# runs. Takes MINUTES plus a little; by hand only, never in CI.
#
#   scripts/long-day.sh 30
#   PARLENDO=build-asan/src/app/parlendo scripts/long-day.sh 3    (with tools/sanitizers/env.sh)
#
# Needs Xvfb and xdotool (openbox optional).
set -euo pipefail
minutes=${1:-30}
here=$(cd "$(dirname "$0")/.." && pwd)
program=${PARLENDO:-$here/build/src/app/parlendo}
chat_seconds=20
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# A free display: Xvfb picks it and writes its number.
Xvfb -displayfd 3 -screen 0 1400x900x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(head -n1 "$work/display")
if command -v openbox >/dev/null; then
  openbox >/dev/null 2>&1 &
  pids+=($!)
fi

stay=$((minutes * 60))
"$program" --demo --demo-pace 10 --exit-after-login --stay "$stay" >"$work/console.out" \
  2>"$work/console.err" &
console=$!
pids+=("$console")

kb() { awk -v f="$2" '$1 == f { print $2; exit }' "/proc/$console/$1" 2>/dev/null || echo 0; }
sample() {
  echo "$1 $(kb status VmRSS:) $(kb smaps_rollup Pss:) $(ls "/proc/$console/fd" | wc -l)" \
    "$(ls "/proc/$console/task" | wc -l) $accepted $closed"
}

# Brings a window to the front and types a key there (without --sync, which waits for good
# when the window manager keeps a modal window in front).
press() { xdotool windowactivate "$1" 2>/dev/null && sleep 0.3 && xdotool key "$2" 2>/dev/null; }

declare -A seen
accepted=0 closed=0
start=$(date +%s)
next=$((start + 60))
minute=0
samples=()
echo "minute rss_kB pss_kB fds threads chats_accepted chats_closed"
while kill -0 "$console" 2>/dev/null; do
  now=$(date +%s)
  # Half a minute before the main window closes, requests are declined and chats closed at
  # once: a live chat would make the console ask before quitting.
  over=$((now >= start + stay - 30))
  if ((now > start + stay + 120)); then
    echo "the console did not quit at the end of the day; ending it" >&2
    kill "$console"
    break
  fi
  for w in $(xdotool search --name '^Parlendo Call$' 2>/dev/null); do
    if ((over)); then
      press "$w" Escape || true
    else
      press "$w" Return && accepted=$((accepted + 1))
    fi
  done
  # "End the chat?": Yes is the default button.
  for w in $(xdotool search --name '^Parlendo$' 2>/dev/null); do
    press "$w" Return || true
  done
  for w in $(xdotool search --name '^Parlendo - ' 2>/dev/null); do
    case $(xdotool getwindowname "$w" 2>/dev/null) in "Parlendo - Online"* | "Parlendo - Offline"* | "") continue ;; esac
    : "${seen[$w]:=$now}"
    if ((over || now - seen[$w] >= chat_seconds)); then
      press "$w" alt+F4 && closed=$((closed + 1))
      unset "seen[$w]"
    fi
  done
  if ((now >= next)) && kill -0 "$console" 2>/dev/null; then
    minute=$((minute + 1))
    next=$((next + 60))
    line=$(sample "$minute")
    samples+=("$line")
    echo "$line"
  fi
  sleep 2
done
wait "$console" && status=0 || status=$?
echo "console exit status: $status"

# Growth from the fifth minute's sample to the last one.
if ((${#samples[@]} > 5)); then
  read -r _ rss5 pss5 fd5 th5 _ _ <<<"${samples[4]}"
  read -r _ rssN pssN fdN thN _ _ <<<"${samples[-1]}"
  echo "after minute 5: RSS $(((rssN - rss5) / 1024)) MB ($((rssN - rss5)) kB)," \
    "PSS $(((pssN - pss5) / 1024)) MB, descriptors $((fdN - fd5)), threads $((thN - th5))"
fi
grep -E "ERROR: (Leak|Address)Sanitizer|runtime error" "$work/console.err" && exit 1
exit "$status"
