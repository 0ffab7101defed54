#!/usr/bin/env bash
# The describe command on the product library: it must succeed, name the effect and its two
# components, and report no trace or assertion from the plug-in. The exit status counts, so a
# crash or sanitizer report after the description fails the test.
# Usage: describe_command_test.sh <larkspur-host> <libLarkspur.so>
set -u
host=$1
library=$2
failures=0

fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

status=0
output=$("$host" describe "$library" 2>&1) || status=$?
echo "$output"

[ "$status" -eq 0 ] || fail "describe exited with $status"
grep -qx "effect com\.KorvelAudioTools\.Larkspur" <<< "$output" || fail "the effect is not named"
components=$(grep -cE "^  component [0-9]+$" <<< "$output")
[ "$components" -eq 2 ] || fail "$components components described instead of 2"
grep -qiE "trace|assertion" <<< "$output" && fail "the plug-in reported a trace or an assertion"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all describe command checks passed"
