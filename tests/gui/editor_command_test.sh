#!/usr/bin/env bash
# The editor command as a user runs it on a display: a snapshot of the editor, a window closed by
# the window manager with the settings saved and rendered again, a window destroyed from outside,
# and usage errors. Usage: editor_command_test.sh <larkspur-host> <libLarkspur.so> <window closer>
# <check_png.py>
set -u
# Without a display it cannot run here: 77 tells ctest it was skipped.
if [ -z "${DISPLAY:-}" ]; then
    echo "skipped: no X display (run under xvfb-run)"
    exit 77
fi
source "$(dirname "$0")/../support/script-test-common.sh"
closer=$3
check_png=$4

# expect_ok <description> <command...>
expect_ok()
{
    local what=$1
    shift
    local status=0
    "$@" > "$work/out.txt" 2> "$work/err.txt" || status=$?
    [ "$status" -eq 0 ] || fail "$what: exit $status: $(cat "$work/err.txt")"
    ! grep -q "X error" "$work/err.txt" || fail "$what: $(grep "X error" "$work/err.txt")"
}

editor() { "$host" editor "$library" "$@"; }

# A snapshot: the whole 800 x 518 editor on its dark background, with its controls (antialiased
# artwork and text: thousands of colours, where the background alone is one).
expect_ok "snapshot" editor --snapshot "$work/editor.png" --preset "Natural Thump"
python3 "$check_png" "$work/editor.png" 800 518 --has 231E1A --min-colours 1000 > "$work/check.txt" \
    || fail "snapshot: $(cat "$work/check.txt")"
[ ! -e "$work/editor.png.partial" ] || fail "snapshot: the temporary file was left behind"
expect_ok "mono snapshot" editor --mono --snapshot "$work/mono.png"
python3 "$check_png" "$work/mono.png" 800 518 --has 231E1A --min-colours 1000 > "$work/check.txt" \
    || fail "mono snapshot: $(cat "$work/check.txt")"

# Set by eye, close the window, then render with what was saved: the same audio as the settings
# given directly. The band type goes with its switches, which the editor makes the type follow
# when it opens, and with a boost, so that the type is heard.
eye_settings=(--set gain_1_1=4 --set gain_1_2=6 --set type_1_1=LP --set button_LP_1_1=on --set button_PK_1_1=off)
"$host" editor "$library" "${eye_settings[@]}" --save-project "$work/eye.lkp" \
    > "$work/out.txt" 2> "$work/err.txt" &
editor_pid=$!
"$closer" Larkspur close || fail "close: the window did not appear"
status=0
wait "$editor_pid" || status=$?
[ "$status" -eq 0 ] || fail "close: exit $status: $(cat "$work/err.txt")"
[ -s "$work/eye.lkp" ] || fail "close: no project saved"
"$host" render --library "$library" "$work/saved.wav" --load-project "$work/eye.lkp" 2> "$work/err.txt" \
    || fail "render saved: $(cat "$work/err.txt")"
"$host" render --library "$library" "$work/direct.wav" "${eye_settings[@]}" 2> "$work/err.txt" \
    || fail "render direct: $(cat "$work/err.txt")"
cmp -s "$work/saved.wav" "$work/direct.wav" || fail "the saved project renders differently from its settings"

# A window destroyed from outside ends the command cleanly, without X errors.
"$host" editor "$library" > "$work/out.txt" 2> "$work/err.txt" &
editor_pid=$!
"$closer" Larkspur destroy || fail "destroy: the window did not appear"
status=0
wait "$editor_pid" || status=$?
[ "$status" -eq 0 ] || fail "destroy: exit $status: $(cat "$work/err.txt")"
! grep -q "X error" "$work/err.txt" || fail "destroy: $(grep "X error" "$work/err.txt")"

# Usage errors.
editor --snapshot > /dev/null 2> "$work/err.txt"
[ $? -eq 2 ] || fail "--snapshot without a file: not a usage error"
editor --colour red > /dev/null 2> "$work/err.txt"
[ $? -eq 2 ] || fail "unknown option: not a usage error"
grep -qF "unknown option --colour" "$work/err.txt" || fail "unknown option: not named"
# A project that cannot be written is refused before the window opens (a window would wait here
# for a close that never comes), and the file in its place stays.
mkfifo "$work/pipe.lkp"
for row in "missing folder|$work/no-folder/p.lkp|No such file or directory" \
    "named pipe|$work/pipe.lkp|named pipe"; do
    IFS='|' read -r what project reason <<< "$row"
    timeout 30 "$host" editor "$library" --save-project "$project" > /dev/null 2> "$work/err.txt"
    status=$?
    [ "$status" -eq 1 ] || fail "unwritable project, $what: exit $status instead of 1"
    grep -qF "cannot write project $project" "$work/err.txt" && grep -qF "$reason" "$work/err.txt" ||
        fail "unwritable project, $what: $(cat "$work/err.txt")"
done
[ -p "$work/pipe.lkp" ] || fail "unwritable project: the named pipe was replaced"

editor --preset "No Such Preset" --snapshot "$work/none.png" > /dev/null 2> "$work/err.txt"
[ $? -eq 1 ] || fail "unknown preset: not an error"
[ ! -e "$work/none.png" ] || fail "unknown preset: a snapshot was written"

finish "editor command: all checks passed"
