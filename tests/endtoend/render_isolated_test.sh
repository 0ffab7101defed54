#!/usr/bin/env bash
# Render cases that need what not every machine gives: another pid namespace (root, or a user
# namespace where unprivileged ones are allowed) and files of another user (root). Each case is a
# test of its own, which reports itself skipped (exit 77) where it cannot run.
# Usage: render_isolated_test.sh <larkspur-host> <libLarkspur.so> pid-namespace|ownership
set -u
source "$(dirname "$0")/../support/script-test-common.sh"
skip() { echo "skipped: $*"; exit 77; }

# A stereo 16-bit WAV file of silence: <file> <seconds>.
silence()
{
    python3 - "$1" "$2" <<'PY'
import sys, wave
with wave.open(sys.argv[1], "wb") as out:
    out.setnchannels(2)
    out.setsampwidth(2)
    out.setframerate(48000)
    out.writeframes(bytes(int(float(sys.argv[2]) * 48000) * 4))
PY
}

case $3 in
pid-namespace)
    # A render in another pid namespace, where a live render's pid looks gone, leaves that
    # render's temporary alone, and both succeed.
    if unshare -pf --mount-proc true 2> /dev/null; then
        isolated=(unshare -pf --mount-proc)
    elif unshare -U -r -pf --mount-proc true 2> /dev/null; then
        isolated=(unshare -U -r -pf --mount-proc)
    else
        skip "no pid namespaces here, neither as root nor in a user namespace"
    fi
    silence "$work/long.wav" 120
    silence "$work/short.wav" 1
    "$host" render --library "$library" "$work/long.wav" "$work/shared.wav" --block 4 > /dev/null 2> "$work/first.txt" &
    pid=$!
    temporary=$(await_file "$work/.shared.wav.tmp-*") || fail "the first render made no temporary"
    "${isolated[@]}" "$host" render --library "$library" "$work/short.wav" "$work/shared.wav" > /dev/null 2> "$work/err.txt" ||
        fail "render in another pid namespace: $(cat "$work/err.txt")"
    [ -e "$temporary" ] || fail "a render in another pid namespace removed a live render's temporary"
    wait "$pid" || fail "the render beside one in another pid namespace: $(cat "$work/first.txt")"
    ;;
ownership)
    # A replaced output and project keep their owner and group as well as their permission bits.
    [ "$(id -u)" -eq 0 ] || skip "giving a file to another user needs root"
    silence "$work/short.wav" 1
    for name in theirs.wav theirs.lkp; do
        echo "old" > "$work/$name"
        chown 54321:54322 "$work/$name"
        chmod 640 "$work/$name"
    done
    "$host" render --library "$library" "$work/short.wav" "$work/theirs.wav" --save-project "$work/theirs.lkp" \
        > /dev/null 2> "$work/err.txt" || fail "render over another user's files: $(cat "$work/err.txt")"
    for name in theirs.wav theirs.lkp; do
        [ "$(stat -c '%u:%g %a' "$work/$name")" = "54321:54322 640" ] ||
            fail "$name: $(stat -c '%u:%g %a' "$work/$name") instead of 54321:54322 640"
        grep -qx old "$work/$name" && fail "$name was not replaced"
    done
    ;;
*)
    echo "unknown case $3"
    exit 2
    ;;
esac
finish "render, $3: all checks passed"
