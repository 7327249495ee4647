#!/usr/bin/env bash
# Runs a command against an X server of its own: an Xvfb on a display number
# the server picks itself (so that parallel tests never meet), stopped again
# when the command ends. The command's exit status is this script's.
set -uo pipefail
if ! command -v Xvfb >/dev/null; then
  echo "Xvfb is not installed (Debian package xvfb)" >&2
  exit 1
fi
numberFile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$numberFile" 2>/dev/null &
server=$!
for _ in $(seq 1 100); do
  [ -s "$numberFile" ] && break
  sleep 0.05
done
if ! [ -s "$numberFile" ]; then
  echo "Xvfb did not start" >&2
  kill "$server" 2>/dev/null
  rm -f "$numberFile"
  exit 1
fi
export DISPLAY=":$(head -n1 "$numberFile")"
rm -f "$numberFile"
"$@"
status=$?
kill "$server" 2>/dev/null
wait "$server" 2>/dev/null
exit $status
