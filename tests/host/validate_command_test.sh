#!/usr/bin/env bash
# The validate command as CI runs it: a fixed seed passes with its steady blocks counted, a library
# that allocates on the audio thread fails, a time limit too short to count the steady blocks in
# fails every insert and the editor, and a library that cannot be driven or an unknown option fails
# with a message.
# Usage: validate_command_test.sh <larkspur-host> <libLarkspur.so> <the same library with a planted allocation>
set -u
source "$(dirname "$0")/../support/script-test-common.sh"
planted=$3

"$host" validate "$library" --seed 1 > "$work/out.txt" 2> "$work/err.txt"
status=$?
cat "$work/out.txt"
[ "$status" -eq 0 ] || fail "validate with seed 1: exit $status: $(cat "$work/err.txt")"
grep -q "^validation passed" "$work/out.txt" || fail "validate with seed 1: no closing line"
# steady_count <rate>: the fewest blocks an insert at that rate processed after its responses settled.
steady_count()
{
    grep "blocks processed after responses settled" "$work/out.txt" | grep -o "[0-9]* at $1 Hz" | cut -d' ' -f1 |
        sort -n | head -n 1
}

for rate in 44100 48000 88200 96000 176400 192000 32000; do
    grep -q "$rate Hz" "$work/out.txt" || fail "validate did not play at $rate Hz"
    [ "$(steady_count "$rate")" -ge 300 ] 2> /dev/null ||
        fail "the $rate Hz insert reported '$(steady_count "$rate")' steady blocks, not 300 or more"
done

if [ -n "${DISPLAY:-}" ]; then
    grep -q "editor opened and closed 3 times while audio runs" "$work/out.txt" || fail "the editor was not opened"
    open=$(grep "blocks processed while the editor was open" "$work/out.txt" | grep -o "[0-9]*$")
    [ "${open:-0}" -ge 300 ] || fail "the editor phase reported '${open:-}' blocks processed, not 300 or more"
fi

# One allocation at the top of every block: caught in the steady part of each group.
"$host" validate --library "$planted" --seed 1 > "$work/out.txt" 2>&1
status=$?
[ "$status" -eq 1 ] || fail "a library that allocates on the audio thread: exit $status, not 1"
grep -q "^VALIDATION FAILED" "$work/out.txt" || fail "a library that allocates on the audio thread: no failing closing line"
[ "$(grep -c "FAILED: .* allocations on the audio thread" "$work/out.txt")" -ge 3 ] ||
    fail "a library that allocates on the audio thread: not every group named the allocations: $(cat "$work/out.txt")"

# No time to check a steady block in: each of the eight inserts, and the editor while it is open,
# fails naming how few blocks it checked and how many were wanted.
"$host" validate "$library" --seed 1 --time-limit 0 > "$work/out.txt" 2>&1
status=$?
[ "$status" -eq 1 ] || fail "a time limit of 0: exit $status, not 1: $(cat "$work/out.txt")"
grep -q "^VALIDATION FAILED" "$work/out.txt" || fail "a time limit of 0: no failing closing line"
short_inserts=$(grep -c "FAILED: [0-9]* Hz insert: only [0-9]* blocks were processed and checked for allocations after its responses settled, fewer than 300$" "$work/out.txt")
[ "$short_inserts" -eq 8 ] ||
    fail "a time limit of 0: $short_inserts inserts, not 8, failed for too few steady blocks: $(cat "$work/out.txt")"
if [ -n "${DISPLAY:-}" ]; then
    grep -q "FAILED: only [0-9]* blocks were processed and checked for allocations while the editor was open, fewer than 300$" "$work/out.txt" ||
        fail "a time limit of 0: the editor phase did not fail for too few blocks: $(cat "$work/out.txt")"
fi

# A home folder that is no absolute path leaves the editor out, saying why, where opening it would
# crash in the fonts' look-up; the rest of the validation runs.
if [ -n "${DISPLAY:-}" ]; then
    for home in '~' ''; do
        HOME="$home" "$host" validate "$library" --seed 1 --blocks 50 > "$work/out.txt" 2>&1
        status=$?
        [ "$status" -eq 0 ] || fail "HOME='$home': exit $status: $(tail -n 5 "$work/out.txt")"
        grep -qx "editor: skipped, HOME is '$home', not an absolute path; the editor looks for its fonts and presets through it" \
            "$work/out.txt" || fail "HOME='$home': the editor was not left out: $(tail -n 5 "$work/out.txt")"
    done
fi

"$host" validate "$work/none.so" --seed 1 > "$work/out.txt" 2>&1
[ $? -eq 1 ] || fail "a missing library did not fail the validation"
grep -q "FAILED: cannot load" "$work/out.txt" || fail "a missing library: $(cat "$work/out.txt")"

"$host" validate "$library" --seed many > /dev/null 2> "$work/err.txt"
[ $? -eq 2 ] || fail "a bad seed was not a usage error"
# A time limit is a day at most: past that the deadline would overflow and fail every insert. The
# bounds themselves are taken (the missing library then fails the run, not the options).
while IFS='|' read -r option value status message; do
    "$host" validate "$work/none.so" --seed 1 "$option" "$value" > "$work/out.txt" 2> "$work/err.txt"
    got=$?
    [ "$got" -eq "$status" ] || fail "$option $value: exit $got, not $status: $(cat "$work/err.txt")"
    grep -qF -- "$message" "$work/out.txt" "$work/err.txt" || fail "$option $value: no '$message'"
done <<'TABLE'
--time-limit|soon|2|--time-limit takes a whole number of seconds up to 86400, got 'soon'
--time-limit|86401|2|--time-limit takes a whole number of seconds up to 86400, got '86401'
--time-limit|9223372036854775808|2|--time-limit takes a whole number of seconds up to 86400, got '9223372036854775808'
--time-limit|99999999999999999999999|2|--time-limit takes a whole number of seconds up to 86400, got '99999999999999999999999'
--time-limit|0|1|FAILED: cannot load
--time-limit|86400|1|FAILED: cannot load
--blocks|0|2|--blocks takes a whole number from 1 to 100000, got '0'
--blocks|100001|2|--blocks takes a whole number from 1 to 100000, got '100001'
--blocks|1|1|FAILED: cannot load
--blocks|100000|1|FAILED: cannot load
TABLE
for arguments in "--library|" "|"; do
    IFS='|' read -r option name <<< "$arguments"
    # shellcheck disable=SC2086
    "$host" validate $option "$name" --seed 1 > /dev/null 2> "$work/err.txt"
    [ $? -eq 2 ] && grep -qF "an empty name was given for the plug-in library" "$work/err.txt" ||
        fail "an empty library name ${option:-as the argument}: $(cat "$work/err.txt")"
done

"$host" validate --help > "$work/out.txt" 2>&1 && grep -q "usage: larkspur-host validate" "$work/out.txt" ||
    fail "validate --help"

if [ -z "${DISPLAY:-}" ] && [ "$failures" -eq 0 ]; then
    echo "skipped: the editor's checks need a display (run under xvfb-run)"
    exit 77
fi
finish "all validate command checks passed"
