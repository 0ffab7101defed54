#!/usr/bin/env bash
# The validate command as CI runs it: a fixed seed passes, and a library that cannot be driven or
# an unknown option fails with a message.
# Usage: validate_command_test.sh <larkspur-host> <libLarkspur.so>
set -u
source "$(dirname "$0")/../support/script-test-common.sh"

"$host" validate "$library" --seed 1 --blocks 800 > "$work/out.txt" 2> "$work/err.txt"
status=$?
cat "$work/out.txt"
[ "$status" -eq 0 ] || fail "validate with seed 1: exit $status: $(cat "$work/err.txt")"
grep -q "^validation passed" "$work/out.txt" || fail "validate with seed 1: no closing line"
for rate in 44100 48000 88200 96000 176400 192000 32000; do
    grep -q "$rate Hz" "$work/out.txt" || fail "validate did not play at $rate Hz"
done

if [ -n "${DISPLAY:-}" ]; then
    grep -q "editor opened and closed 3 times while audio runs" "$work/out.txt" || fail "the editor was not opened"
fi

"$host" validate "$work/none.so" --seed 1 > "$work/out.txt" 2>&1
[ $? -eq 1 ] || fail "a missing library did not fail the validation"
grep -q "FAILED: cannot load" "$work/out.txt" || fail "a missing library: $(cat "$work/out.txt")"

"$host" validate "$library" --seed many > /dev/null 2> "$work/err.txt"
[ $? -eq 2 ] || fail "a bad seed was not a usage error"

"$host" validate --help > "$work/out.txt" 2>&1 && grep -q "usage: larkspur-host validate" "$work/out.txt" ||
    fail "validate --help"

finish "all validate command checks passed"
