#!/usr/bin/env bash
# The render command as a user runs it: the built-in signal, WAV and FLAC files in and out,
# presets, settings, projects, a progress line on a long file, and clear errors for bad input.
# Usage: render_command_test.sh <larkspur-host> <libLarkspur.so>
set -u
source "$(dirname "$0")/../support/script-test-common.sh"

# expect_ok <description> <command...>
expect_ok()
{
    local what=$1
    shift
    local status=0
    "$@" > "$work/out.txt" 2> "$work/err.txt" || status=$?
    if [ "$status" -ne 0 ]; then
        fail "$what: exit $status: $(cat "$work/err.txt")"
    fi
}

# expect_error <description> <status> <message part> <command...>
expect_error()
{
    local what=$1 status=$2 message=$3
    shift 3
    "$@" > "$work/out.txt" 2> "$work/err.txt"
    local got=$?
    [ "$got" -eq "$status" ] || fail "$what: exit $got instead of $status"
    grep -qF -- "$message" "$work/err.txt" || fail "$what: no '$message' in: $(cat "$work/err.txt")"
}

render() { "$host" render --library "$library" "$@"; }

# The built-in signal, with a preset, into WAV: 4 s of stereo at 48 kHz.
expect_ok "built-in signal" render "$work/builtin.wav" --preset "Natural Thump"
[ -s "$work/builtin.wav" ] || fail "built-in signal: no output"
[ "$(head -c 4 "$work/builtin.wav")" = "RIFF" ] || fail "built-in signal: not a WAV file"

# The default library next to the program's build is found without --library.
expect_ok "default library" "$host" render "$work/default.wav"

# WAV in, FLAC out, with settings in plain units and normalised.
expect_ok "wav to flac" render "$work/builtin.wav" "$work/set.flac" --set gain_1_2=6 --set type_1_1=LP \
    --set active_2_3=off --set-normalised frequency_1_1=0.5 --block 333
[ "$(head -c 4 "$work/set.flac")" = "fLaC" ] || fail "wav to flac: not a FLAC file"

# FLAC in, WAV out, at the file's rate.
expect_ok "flac to wav" render "$work/set.flac" "$work/back.wav" --preset "Top End" --block 4096
[ "$(head -c 4 "$work/back.wav")" = "RIFF" ] || fail "flac to wav: not a WAV file"

# With the plug-in bypassed, integer samples leave as they came, in WAV of every depth and in FLAC:
# every value of the depth, both extremes included.
for bits in 8 16 24; do
    python3 - "$work/in-$bits.wav" "$bits" <<'PY'
import random, struct, sys, wave
path, bits = sys.argv[1], int(sys.argv[2])
low, high = -(1 << (bits - 1)), (1 << (bits - 1)) - 1
values = [low, high, 0, -1, 1] + [random.Random(bits).randint(low, high) for _ in range(8999)]
width = bits // 8
if bits == 8:
    data = bytes(v + 128 for v in values)
else:
    data = b"".join((v & ((1 << bits) - 1)).to_bytes(width, "little") for v in values)
with wave.open(path, "wb") as out:
    out.setnchannels(2)
    out.setsampwidth(width)
    out.setframerate(44100)
    out.writeframes(data)
PY
    for ending in wav flac; do
        [ "$bits$ending" = 8flac ] && continue
        expect_ok "bypassed $bits-bit $ending" render "$work/in-$bits.wav" "$work/out-$bits.$ending" --set bypass=on
        # The lowest integer is -1.0, which the output holds: nothing clips.
        grep -q "clipped" "$work/err.txt" && fail "bypassed $bits-bit $ending: $(cat "$work/err.txt")"
        if [ "$ending" = flac ]; then
            flac -s -d -f --force-legacy-wave-format -o "$work/out-$bits.flac.wav" "$work/out-$bits.flac" || fail "bypassed $bits-bit flac: no decode"
        fi
        python3 -c 'import sys, wave; a, b = (wave.open(p).readframes(1 << 30) for p in sys.argv[1:]); sys.exit(a != b)' \
            "$work/in-$bits.wav" "$work/out-$bits.$ending$([ "$ending" = flac ] && echo .wav)" ||
            fail "bypassed $bits-bit $ending: the samples changed"
    done
done

# A project saved with the settings renders the same audio when loaded again, and may be saved
# over the one loaded.
expect_ok "save project" render "$work/builtin.wav" "$work/first.wav" --preset "Big Synth" --set gain_L=-3 \
    --save-project "$work/song.lkp"
expect_ok "load project" render "$work/builtin.wav" "$work/second.wav" --load-project "$work/song.lkp" \
    --save-project "$work/song.lkp"
cmp -s "$work/first.wav" "$work/second.wav" || fail "project: the loaded state renders differently"
# A successful save, over an existing project too, leaves no temporary behind.
expect_ok "save project again" render "$work/builtin.wav" "$work/first.wav" --preset "Big Synth" --set gain_L=-3 \
    --save-project "$work/song.lkp"
ls -A "$work" | grep -q "\.tmp-" && fail "a successful save left $(ls -A "$work" | grep "\.tmp-")"

# Project files that are no regular file are refused with the reason.
expect_error "project is a folder" 1 "cannot read project $work: it is a folder" \
    render "$work/x.wav" --load-project "$work"
expect_error "project is /dev/zero" 1 "cannot read project /dev/zero: it is a device" \
    render "$work/x.wav" --load-project /dev/zero

# A project is written only after a successful render, and whole before the output is renamed into
# place. A save that fails after the render (here on a file-size limit the small output fits under,
# as on a full disk) leaves the existing output and project whole, and so does a render that fails
# (an output past the limit).
cp "$work/song.lkp" "$work/kept.lkp"
echo "old output" > "$work/tiny-out.wav"
printf 'RIFF\x2c\x02\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00\x40\x1f\x00\x00\x80\x3e\x00\x00\x02\x00\x10\x00data\x08\x02\x00\x00' > "$work/tiny.wav"
head -c 520 /dev/zero >> "$work/tiny.wav"
limited() { bash -c 'ulimit -f 2 && exec "$@"' limited "$host" render --library "$library" "$@"; }
expect_error "project save fails" 1 "cannot write project $work/kept.lkp: File too large" \
    limited "$work/tiny.wav" "$work/tiny-out.wav" --preset "Top End" --save-project "$work/kept.lkp"
expect_error "render fails before the project" 1 "cannot write $work/x.wav: File too large" \
    limited "$work/x.wav" --preset "Top End" --save-project "$work/kept.lkp"
cmp -s "$work/song.lkp" "$work/kept.lkp" || fail "a failed save or render changed the existing project"
grep -qx "old output" "$work/tiny-out.wav" || fail "a project that could not be written let the output be replaced"
ls -A "$work" | grep -q "\.tmp-" && fail "a failed save left $(ls -A "$work" | grep "\.tmp-")"
expect_ok "project after failed save" render "$work/builtin.wav" "$work/third.wav" --load-project "$work/kept.lkp"
cmp -s "$work/first.wav" "$work/third.wav" || fail "the project kept after a failed save renders differently"

# Only regular files are replaced: a pipe, socket or device as a project or output is refused with
# what it is, before the render, and stays what it was. Device nodes are made here when possible
# (as root), so that no real device is ever at risk; otherwise links to /dev/null and /dev/full.
mkfifo "$work/pipe.lkp" "$work/pipe.wav"
python3 -c 'import socket, sys; socket.socket(socket.AF_UNIX).bind(sys.argv[1])' "$work/socket.lkp"
mknod "$work/null.wav" c 1 3 2> /dev/null || ln -s /dev/null "$work/null.wav"
mknod "$work/full.lkp" c 1 7 2> /dev/null || ln -s /dev/full "$work/full.lkp"
for target in pipe.lkp:p:"a named pipe" socket.lkp:S:"a socket" full.lkp:c:"a device" \
    pipe.wav:p:"a named pipe" null.wav:c:"a device"; do
    IFS=: read -r name kind what <<< "$target"
    if [ "${name##*.}" = lkp ]; then
        expect_error "project onto $name" 1 "cannot write project $work/$name: it is $what, not a regular file" \
            timeout 60 "$host" render --library "$library" "$work/x.wav" --save-project "$work/$name"
    else
        expect_error "output onto $name" 1 "cannot write $work/$name: it is $what, not a regular file" \
            timeout 60 "$host" render --library "$library" "$work/$name"
    fi
    [ -"$kind" "$work/$name" ] || fail "$name was replaced: $(ls -l "$work/$name")"
done
[ -e "$work/x.wav" ] && fail "a refused project left an output file"

# Names of up to 255 bytes are written, though the temporary beside them needs a shorter name.
long=$(printf 'l%.0s' $(seq 1 246))
expect_ok "250-byte names" render "$work/$long.wav" --block 4096 --save-project "$work/$long.lkp"
[ -s "$work/$long.wav" ] && [ -s "$work/$long.lkp" ] || fail "250-byte names: no output or project"

# A temporary that a killed writer left is removed by the next write of the same file; one whose
# writer still runs, and names that are not ours, stay.
bash -c 'exit 0' &
dead=$!
wait "$dead"
touch "$work/.song.lkp.tmp-$dead-0" "$work/.song.lkp.tmp-$$-0" "$work/.song.lkp.tmp-mine"
expect_ok "write beside a stale temporary" render "$work/x.wav" --block 4096 --save-project "$work/song.lkp"
[ -e "$work/.song.lkp.tmp-$dead-0" ] && fail "the stale temporary of pid $dead stayed"
[ -e "$work/.song.lkp.tmp-$$-0" ] && [ -e "$work/.song.lkp.tmp-mine" ] || fail "a temporary not stale was removed"
rm -f "$work/x.wav" "$work/.song.lkp.tmp-$$-0" "$work/.song.lkp.tmp-mine"

# A long file reports its progress.
{
    printf 'RIFF\xa4\xaf\x02\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00\x40\x1f\x00\x00\x80\x3e\x00\x00\x02\x00\x10\x00'
    printf 'data\x80\xaf\x02\x00'
    head -c 176000 /dev/zero
} > "$work/long.wav"
expect_ok "long file" render "$work/long.wav" "$work/long-out.wav"
grep -q "rendering: 100%" "$work/err.txt" || fail "long file: no progress line"

# A file that holds less audio than its header claims is damaged, however little is missing: the
# render stops before allocating for the claimed length and writes nothing.
le32() { printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $((($1 >> 8) & 255)) $((($1 >> 16) & 255)) $((($1 >> 24) & 255)); }
# short_wav <file> <data bytes claimed> <data bytes present>: mono 16-bit at 8 kHz.
short_wav()
{
    {
        printf 'RIFF'
        printf "$(le32 $(($2 + 36)))"
        printf 'WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00\x40\x1f\x00\x00\x80\x3e\x00\x00\x02\x00\x10\x00data'
        printf "$(le32 "$2")"
        head -c "$3" /dev/zero
    } > "$1"
}
short_wav "$work/whole.wav" 2000 2000
expect_ok "whole small wav" render "$work/whole.wav" "$work/whole-out.wav"
short_wav "$work/cut.wav" 2000 1998
expect_error "wav one frame short" 1 "the audio data is damaged: the header claims 1000 samples per channel, the file holds 999" \
    render "$work/cut.wav" "$work/cut-out.wav"
short_wav "$work/huge.wav" 2147483600 400
expect_error "wav claiming 2 GB" 1 "the header claims 1073741800 samples per channel, the file holds 200" \
    render "$work/huge.wav" "$work/huge-out.wav"
# The FLAC written above holds 4 s at 48 kHz; its header is made to claim 10 million samples.
cp "$work/set.flac" "$work/claims-more.flac"
printf '\x00\x98\x96\x80' | dd of="$work/claims-more.flac" bs=1 seek=22 conv=notrunc status=none
expect_error "flac claiming more" 1 "the header claims 10000000 samples per channel, the file holds 192000" \
    render "$work/claims-more.flac" "$work/claims-more-out.wav"
head -c 20000 "$work/set.flac" > "$work/cut.flac"
expect_error "flac cut off" 1 "the audio data is damaged: the header claims 192000 samples per channel" \
    render "$work/cut.flac" "$work/cut-flac-out.wav"
for name in cut-out.wav huge-out.wav claims-more-out.wav cut-flac-out.wav; do
    [ -e "$work/$name" ] && fail "a damaged input left the output file $name"
done

# Bad input.
expect_error "unknown preset" 1 'unknown preset "Loudness War"; the presets are' \
    render "$work/x.wav" --preset "Loudness War"
# presets_file <data folder> <name...>: a presets file of presets with these names (XML).
presets_file()
{
    local folder="$1/Korvel Audio Tools/Larkspur" position=0 name
    shift
    mkdir -p "$folder"
    {
        echo '<?xml version="1.0" encoding="UTF-8"?>'
        echo '<PRESETS>'
        for name in "$@"; do
            position=$((position + 1))
            echo "  <preset$position bypass=\"0.0\" presetName=\"$name\"/>"
        done
        echo '</PRESETS>'
    } > "$folder/presets.xml"
}
# Names listed from an edited presets file: controls, separators, direction controls, quotes and
# backslashes escaped, other characters as they are, each name one item. Each row: the name in the
# file (XML), then as listed.
names_data="$work/escaped-names"
escape_rows=(
    'Caf&#xE9;|"Café"'
    'Del&#x7F;ete|"Del\x7Fete"'
    'Next&#x85;Line|"Next\u0085Line"'
    'evil&#x202E;lave|"evil\u202Elave"'
    'Two&#x2028;Lines|"Two\u2028Lines"'
    'Isolate&#x2066;d&#x2069;|"Isolate\u2066d\u2069"'
    'Arabic&#x61C;mark|"Arabic\u061Cmark"'
    'Left&#x200E;mark|"Left\u200Emark"'
    'Right&#x200F;mark|"Right\u200Fmark"'
    'Mine&#xA;Top End|"Mine\x0ATop End"'
    'Carriage&#xD;return|"Carriage\x0Dreturn"'
    'Say &quot;hi&quot;|"Say \x22hi\x22"'
    'Back\slash|"Back\x5Cslash"'
    'Not\nnewline|"Not\x5Cnnewline"'
)
presets_file "$names_data" "${escape_rows[@]%%|*}"
XDG_DATA_HOME="$names_data" "$host" render --library "$library" "$work/escaped.wav" --preset "none" \
    > /dev/null 2> "$work/err.txt"
for row in "${escape_rows[@]}"; do
    grep -qF -- "${row#*|}" "$work/err.txt" || fail "listed names: no ${row#*|} in: $(cat "$work/err.txt")"
done
LC_ALL=C grep -qP '[\x7F]|\xC2[\x80-\x9F]|\xD8\x9C|\xE2\x80[\x8E\x8F\xA8-\xAE]|\xE2\x81[\xA6-\xA9]' "$work/err.txt" \
    && fail "listed names: a control character reached the terminal"
[ "$(wc -l < "$work/err.txt")" -eq 1 ] || fail "listed names: not one line: $(cat "$work/err.txt")"
grep -qF '"Top End"' "$work/err.txt" && fail "listed names: a line feed split a name in two"
# Names edited in by hand that overflow the host's room: only whole names are listed, the first
# ones, and the rest are counted as not listed.
filler=$(printf 'x%.0s' $(seq 1 997))
# shellcheck disable=SC2046
presets_file "$work/long-names" $(printf "%s$filler " $(seq 100 200))
XDG_DATA_HOME="$work/long-names" "$host" render --library "$library" "$work/x.wav" --preset "none" \
    > /dev/null 2> "$work/err.txt"
items=$(grep -oE '"[0-9]{3}x*"' "$work/err.txt")
listed=$(grep -c . <<< "$items")
[ "$listed" -gt 0 ] && [ "$listed" -lt 101 ] && [ "$(grep -cvxE "\"[0-9]{3}x{997}\"" <<< "$items")" -eq 0 ] ||
    fail "overflowing names: $listed listed, not all whole: $(grep -vxE "\"[0-9]{3}x{997}\"" <<< "$items" | head -c 200)"
grep -qF "; $((101 - listed)) more presets in the file are not listed, since the list holds the first $listed" \
    "$work/err.txt" || fail "overflowing names: the rest not counted: $(tail -c 200 "$work/err.txt")"
# The host's room holds 101 names of the longest new length, 100 characters of four bytes each.
notes=$(printf '&#x1F3B5;%.0s' $(seq 1 99))
# shellcheck disable=SC2046
presets_file "$work/longest-names" $(for i in $(seq 0 100); do printf "$notes&#x%X; " $((0x1F400 + i)); done)
XDG_DATA_HOME="$work/longest-names" "$host" render --library "$library" "$work/x.wav" --preset "none" \
    > /dev/null 2> "$work/err.txt"
[ "$(LC_ALL=C grep -o '"[^"]*"' "$work/err.txt" | LC_ALL=C awk 'length == 402' | wc -l)" -eq 101 ] &&
    ! grep -q "not listed" "$work/err.txt" || fail "101 of the longest names: not all listed whole: $(tail -c 300 "$work/err.txt")"
expect_error "unknown parameter" 1 "unknown parameter 'gain_9_9'" render "$work/x.wav" --set gain_9_9=1
expect_error "value out of range" 1 "gain_1_2 takes a number from -12.0 to 12.0, got '20'" \
    render "$work/x.wav" --set gain_1_2=20
expect_error "not a number" 1 "gain_1_2 takes a number" render "$work/x.wav" --set gain_1_2=loud
expect_error "bad choice" 1 "type_1_3 takes one of PK, HP, got 'LP'" render "$work/x.wav" --set type_1_3=LP
expect_error "bad normalised value" 1 "must be a number from 0 to 1" render "$work/x.wav" --set-normalised gain_L=nan
expect_error "missing file" 1 "cannot read $work/none.wav: No such file or directory" render "$work/none.wav" "$work/x.wav"
echo "this is not audio" > "$work/text.wav"
expect_error "unreadable file" 1 "not a WAV or FLAC file" render "$work/text.wav" "$work/x.wav"
expect_error "bad output name" 1 "must end in .wav or .flac" render "$work/x.mp3"
expect_error "bad rate" 2 "--rate takes" render "$work/x.wav" --rate fast
expect_error "rate differs from file" 1 "the host does not resample" render "$work/builtin.wav" "$work/x.wav" --rate 44100
expect_error "unknown option" 2 "unknown option --loud" render "$work/x.wav" --loud
expect_error "no output" 2 "no output file given" render
# An empty name names no file: a usage error naming what it was given for, and nothing is written
# (a project is never silently dropped).
while IFS='|' read -r what message; do
    IFS=, read -r -a arguments <<< "$what"
    expect_error "empty name: $what" 2 "an empty name was given for $message" \
        "$host" render "${arguments[@]/#EMPTY/}"
done << TABLE
EMPTY|the output file
EMPTY,$work/x.wav|the input file
$work/builtin.wav,EMPTY|the output file
$work/x.wav,--save-project,EMPTY|--save-project
$work/x.wav,--load-project,EMPTY|--load-project
$work/x.wav,--library,EMPTY|--library
TABLE
expect_error "bad project" 1 "is not a Larkspur host project" render "$work/x.wav" --load-project "$work/text.wav"
expect_error "missing library" 1 "cannot load" "$host" render "$work/x.wav" --library "$work/none.so"
[ -e "$work/x.wav" ] && fail "a failed render left an output file"

# Six processes starting at once in a fresh profile all find the factory presets whole.
export XDG_DATA_HOME="$work/fresh"
pids=()
for i in 1 2 3 4 5 6; do
    render "$work/at-once-$i.wav" --preset "Natural Thump" --block 4096 > "$work/at-once-$i.txt" 2>&1 &
    pids+=($!)
done
for i in 1 2 3 4 5 6; do
    wait "${pids[$((i - 1))]}" || fail "process $i of six starting at once: $(cat "$work/at-once-$i.txt")"
done

# A broken presets file is named, with what is wrong with it.
presets="$XDG_DATA_HOME/Korvel Audio Tools/Larkspur/presets.xml"
printf '<PRESETS><preset1 presetName="Cut' > "$presets"
expect_error "broken presets file" 1 "the preset list is empty because $presets cannot be read: it is not a readable presets document" \
    render "$work/x.wav" --preset "Natural Thump"
rm "$presets" && mkfifo "$presets"
expect_error "presets file is a pipe" 1 "$presets cannot be read: it is a named pipe" \
    timeout 60 "$host" render --library "$library" "$work/x.wav" --preset "Natural Thump"
rm "$presets" && ln -s /dev/zero "$presets"
expect_error "presets file is /dev/zero" 1 "$presets cannot be read: it is a device" \
    timeout 60 "$host" render --library "$library" "$work/x.wav" --preset "Natural Thump"
export XDG_DATA_HOME="$work/data"

finish "all render command checks passed"
