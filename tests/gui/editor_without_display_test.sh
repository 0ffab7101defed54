#!/usr/bin/env bash
# Without a display the editor command says why and how to run it under a virtual display.
# Usage: editor_without_display_test.sh <larkspur-host> <libLarkspur.so>
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
env -u DISPLAY "$1" editor "$2" --snapshot "$work/editor.png" > /dev/null 2> "$work/err.txt" || status=$?
failures=0
[ "$status" -ne 0 ] || { echo "FAILED: exit status 0 without a display"; failures=1; }
grep -qF "DISPLAY is not set" "$work/err.txt" || { echo "FAILED: no reason in: $(cat "$work/err.txt")"; failures=1; }
grep -qF "xvfb-run -a" "$work/err.txt" || { echo "FAILED: no xvfb-run hint in: $(cat "$work/err.txt")"; failures=1; }
[ ! -e "$work/editor.png" ] || { echo "FAILED: a snapshot was written"; failures=1; }
exit $failures
