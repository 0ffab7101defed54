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
# Some commands run from other folders than this script's.
host=$(realpath "$host")
library=$(realpath "$library")

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

# await_window <title>: waits up to 10 s for a top-level window of that title on the display.
await_window()
{
    python3 - "$1" <<'PY'
import ctypes, sys, time
x = ctypes.CDLL("libX11.so.6")
Window = ctypes.c_ulong
x.XOpenDisplay.restype = ctypes.c_void_p
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XDefaultRootWindow.restype = Window
x.XQueryTree.argtypes = [ctypes.c_void_p, Window] + [ctypes.c_void_p] * 4
x.XFetchName.argtypes = [ctypes.c_void_p, Window, ctypes.c_void_p]
display = x.XOpenDisplay(None)
deadline = time.monotonic() + 10
while display and time.monotonic() < deadline:
    root, parent, children, count = Window(), Window(), ctypes.POINTER(Window)(), ctypes.c_uint()
    x.XQueryTree(display, x.XDefaultRootWindow(display), ctypes.byref(root), ctypes.byref(parent),
                 ctypes.byref(children), ctypes.byref(count))
    for i in range(count.value):
        name = ctypes.c_char_p()
        if x.XFetchName(display, children[i], ctypes.byref(name)) and name.value == sys.argv[1].encode():
            sys.exit(0)
    time.sleep(0.02)
sys.exit(1)
PY
}

# A snapshot: the whole 800 x 518 editor on its dark background, with its controls (antialiased
# artwork and text: thousands of colours, where the background alone is one).
expect_ok "snapshot" editor --snapshot "$work/editor.png" --preset "Natural Thump"
python3 "$check_png" "$work/editor.png" 800 518 --has 231E1A --min-colours 1000 > "$work/check.txt" \
    || fail "snapshot: $(cat "$work/check.txt")"
ls -A "$work" | grep -q "\.tmp-\|\.partial" && fail "snapshot: left $(ls -A "$work" | grep "\.tmp-\|\.partial")"

# A snapshot over a picture replaces it through a hidden temporary and keeps its permission bits;
# a file, or a link to one, under the name of the temporary an earlier version wrote stays as it was.
echo "old" > "$work/kept.png"
chmod 600 "$work/kept.png"
echo "someone's" > "$work/elsewhere.txt"
ln -s elsewhere.txt "$work/kept.png.partial"
expect_ok "snapshot over a picture" editor --snapshot "$work/kept.png"
python3 "$check_png" "$work/kept.png" 800 518 --has 231E1A > "$work/check.txt" ||
    fail "snapshot over a picture: $(cat "$work/check.txt")"
[ "$(stat -c %a "$work/kept.png")" = 600 ] || fail "snapshot over a picture: mode $(stat -c %a "$work/kept.png")"
[ -L "$work/kept.png.partial" ] && grep -qx "someone's" "$work/elsewhere.txt" ||
    fail "snapshot over a picture: the file named like a temporary was written: $(ls -l "$work/kept.png.partial")"
ls -A "$work" | grep -q "\.tmp-" && fail "snapshot over a picture: left $(ls -A "$work" | grep "\.tmp-")"
rm "$work/kept.png.partial" "$work/elsewhere.txt"

# A snapshot or project that cannot be written is refused before the window opens (here: before
# the missing display is noticed), and whatever is in its place stays. Devices are made here when
# possible (as root), so that no real device is ever at risk; otherwise links to /dev/null.
refused="$work/refused"
mkdir -p "$refused/sub"
ln -s sub "$refused/folder-link"
mkfifo "$refused/pipe.png"
python3 -c 'import socket, sys; socket.socket(socket.AF_UNIX).bind(sys.argv[1])' "$refused/socket.png"
mknod "$refused/null.png" c 1 3 2> /dev/null || ln -s /dev/null "$refused/null.png"
ln -s null.png "$refused/link.png"
# The library's own file is safe here: without a display nothing is written even if not refused.
ln -s "$library" "$refused/library-link.so"
echo "old project" > "$refused/p.lkp"
ln -s p.lkp "$refused/p-link.png"
while IFS='|' read -r what arguments message; do
    # shellcheck disable=SC2086
    env -C "$refused" -u DISPLAY timeout 30 "$host" editor "$library" $arguments > /dev/null 2> "$work/err.txt"
    status=$?
    [ "$status" -eq 1 ] || fail "$what: exit $status instead of 1: $(cat "$work/err.txt")"
    grep -qF "larkspur-host editor: $message" "$work/err.txt" || fail "$what: $(cat "$work/err.txt")"
done <<'TABLE'
snapshot onto a device|--snapshot null.png|cannot write null.png: it is a device, not a regular file
snapshot onto a link to a device|--snapshot link.png|cannot write link.png: it is a device, not a regular file
snapshot onto a pipe|--snapshot pipe.png|cannot write pipe.png: it is a named pipe, not a regular file
snapshot onto a socket|--snapshot socket.png|cannot write socket.png: it is a socket, not a regular file
project onto a device|--snapshot s.png --save-project null.png|cannot write project null.png: it is a device, not a regular file
snapshot that is the project|--save-project x.png --snapshot x.png|cannot write project x.png: it is the snapshot
snapshot that is the project through ..|--save-project sub/x.png --snapshot sub/../sub/x.png|cannot write project sub/x.png: it is the snapshot
snapshot that is the project through a link|--save-project folder-link/x.png --snapshot sub/x.png|cannot write project folder-link/x.png: it is the snapshot
snapshot that is the loaded project|--load-project p.lkp --snapshot p.lkp|cannot write p.lkp: it is the loaded project
snapshot that is the loaded project through a link|--load-project p.lkp --snapshot p-link.png|cannot write p-link.png: it is the loaded project
snapshot that is the loaded project through ..|--load-project p.lkp --snapshot sub/../p.lkp|cannot write sub/../p.lkp: it is the loaded project
snapshot that is the plug-in library|--snapshot library-link.so|cannot write library-link.so: it is the plug-in library
TABLE
[ -p "$refused/pipe.png" ] && [ -S "$refused/socket.png" ] && [ -c "$refused/null.png" ] && [ -L "$refused/link.png" ] &&
    grep -qx "old project" "$refused/p.lkp" || fail "a refused snapshot replaced a file: $(ls -l "$refused")"
[ "$(ls -A "$refused" | tr '\n' ' ')" = "folder-link library-link.so link.png null.png p-link.png p.lkp pipe.png socket.png sub " ] &&
    [ -z "$(ls -A "$refused/sub")" ] || fail "a refused snapshot left $(ls -AR "$refused")"

# The snapshot and the project are written whole before either is renamed into place: one that
# cannot be written leaves both files as they were. The snapshot here passes a file-size limit
# the project fits under; the project's folder is removed while the editor paints.
echo "old picture" > "$work/both.png"
echo "old project" > "$work/both.lkp"
bash -c 'ulimit -f 8 && exec "$@"' limited "$host" editor "$library" --snapshot "$work/both.png" \
    --save-project "$work/both.lkp" > /dev/null 2> "$work/err.txt"
status=$?
[ "$status" -eq 1 ] && grep -qF "cannot write $work/both.png: File too large" "$work/err.txt" ||
    fail "snapshot past the limit: exit $status: $(cat "$work/err.txt")"
grep -qx "old project" "$work/both.lkp" || fail "snapshot past the limit: the project was written"
mkdir "$work/doomed"
"$host" editor "$library" --snapshot "$work/both.png" --save-project "$work/doomed/p.lkp" \
    > /dev/null 2> "$work/err.txt" &
editor_pid=$!
await_file "$work/doomed/.p.lkp.tmp-*" > /dev/null
rm -r "$work/doomed"
wait "$editor_pid"
status=$?
[ "$status" -eq 1 ] && grep -qF "cannot write project $work/doomed/p.lkp: No such file or directory" "$work/err.txt" ||
    fail "project folder removed: exit $status: $(cat "$work/err.txt")"
grep -qx "old picture" "$work/both.png" || fail "the snapshot was replaced though the project could not be written"
ls -A "$work" | grep -q "\.tmp-" && fail "unwritable snapshot or project: left $(ls -A "$work" | grep "\.tmp-")"
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

# An editor ended by a signal removes its temporaries, leaves the snapshot and project as they were
# and ends by that signal: one while its window is open, and one before (held on the presets file's
# lock in a fresh data folder, so that it cannot take its picture first).
echo "old picture" > "$work/signal.png"
echo "old project" > "$work/signal.lkp"
for row in "TERM|window|project $work/signal.lkp was not written|--save-project $work/signal.lkp" \
    "HUP|lock|$work/signal.png was not written, nor the project|--snapshot $work/signal.png --save-project $work/signal.lkp"; do
    IFS='|' read -r signal when note arguments <<< "$row"
    presets="$work/fresh-$signal/Korvel Audio Tools/Larkspur"
    mkdir -p "$presets"
    exec 9> "$presets/.presets.xml.lock"
    [ "$when" = window ] || flock 9
    # shellcheck disable=SC2086
    XDG_DATA_HOME="$work/fresh-$signal" "$host" editor "$library" $arguments > /dev/null 2> "$work/err.txt" 9>&- &
    editor_pid=$!
    (sleep 30 && kill -KILL "$editor_pid") > /dev/null 2>&1 9>&- &
    watchdog=$!
    if [ "$when" = window ]; then
        await_window Larkspur || fail "SIG$signal: the window did not appear"
    else
        await_file "$work/.signal.lkp.tmp-*" > /dev/null || fail "SIG$signal: no temporary appeared"
    fi
    kill -"$signal" "$editor_pid"
    exec 9>&-
    { wait "$editor_pid"; } 2> /dev/null
    status=$?
    kill "$watchdog" 2> /dev/null
    [ "$status" -eq $((128 + $(kill -l "$signal"))) ] && grep -qF "interrupted; $note" "$work/err.txt" ||
        fail "SIG$signal ($when): exit $status: $(cat "$work/err.txt")"
    ls -A "$work" | grep -q "\.tmp-" && fail "SIG$signal ($when): left $(ls -A "$work" | grep "\.tmp-")"
    rm -f "$work"/.signal.*.tmp-*
    grep -qx "old picture" "$work/signal.png" && grep -qx "old project" "$work/signal.lkp" ||
        fail "SIG$signal ($when): the snapshot or project was written"
done

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
# An empty name names no file: a usage error naming what it was given for, before anything opens.
while IFS='|' read -r option what; do
    if [ -n "$option" ]; then
        "$host" editor "$library" "$option" "" > /dev/null 2> "$work/err.txt"
    else
        "$host" editor "" > /dev/null 2> "$work/err.txt"
    fi
    status=$?
    [ "$status" -eq 2 ] && grep -qF "an empty name was given for $what" "$work/err.txt" ||
        fail "an empty name for $what: exit $status: $(cat "$work/err.txt")"
done <<'TABLE'
--snapshot|--snapshot
--save-project|--save-project
--load-project|--load-project
|the plug-in library
TABLE
# A home folder that is no absolute path is refused with the reason, where the editor would crash
# looking for its fonts through it, and leaves nothing behind.
mkdir "$work/home-test"
for home in '~' 'relative' ''; do
    env -C "$work/home-test" HOME="$home" "$host" editor "$library" --snapshot s.png --save-project p.lkp \
        > /dev/null 2> "$work/err.txt"
    status=$?
    [ "$status" -eq 1 ] &&
        grep -qF "cannot open the editor: HOME is '$home', not an absolute path; the editor looks for its fonts" "$work/err.txt" ||
        fail "HOME='$home': exit $status: $(cat "$work/err.txt")"
    [ -z "$(ls -A "$work/home-test")" ] || fail "HOME='$home' left $(ls -A "$work/home-test")"
done
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
