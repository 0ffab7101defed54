#!/usr/bin/env bash
# The render command under faults and unusual input: help, interrupts, clipping, unsupported and
# uncalibrated files, failed writes, pipes, memory that does not grow with the file's length, paths,
# outputs that are the input, and the temporaries of other files and other writers.
# Usage: render_robustness_test.sh <larkspur-host> <libLarkspur.so>
set -u
source "$(dirname "$0")/../support/script-test-common.sh"

# expect_status <description> <status> <stream> <message part, or "" for an empty stream> <command...>
expect_status()
{
    local what=$1 status=$2 stream=$3 message=$4
    shift 4
    "$@" > "$work/out.txt" 2> "$work/err.txt"
    local got=$?
    [ "$got" -eq "$status" ] || fail "$what: exit $got instead of $status: $(cat "$work/err.txt")"
    if [ -z "$message" ]; then
        [ -s "$work/$stream.txt" ] && fail "$what: $stream not empty: $(cat "$work/$stream.txt")"
    else
        grep -qF -- "$message" "$work/$stream.txt" || fail "$what: no '$message' in $stream: $(cat "$work/$stream.txt")"
    fi
}

render() { "$host" render --library "$library" "$@"; }

# wav <file> <seconds> <rate> <format: int16|float64> <wave: square|quiet>: stereo test files.
wav()
{
    python3 - "$@" <<'PY'
import struct, sys
path, seconds, rate, kind, wave = sys.argv[1], float(sys.argv[2]), int(sys.argv[3]), sys.argv[4], sys.argv[5]
frames = int(seconds * rate)
level = 1.0 if wave == "square" else 0.01
period = rate // 100
if kind == "int16":
    tag, bits, pack = 1, 16, lambda v: struct.pack("<h", max(-32768, min(32767, int(v * 32767))))
else:
    tag, bits, pack = 3, 64, lambda v: struct.pack("<d", v)
one = [pack(level if (i % period) < period // 2 else -level) for i in range(period)]
block = b"".join(s + s for s in one)
data = (block * (frames // period + 1))[: frames * 2 * bits // 8]
fmt = struct.pack("<HHIIHH", tag, 2, rate, rate * 4 * bits // 16, 2 * bits // 8, bits)
with open(path, "wb") as f:
    f.write(b"RIFF" + struct.pack("<I", 4 + 24 + 8 + len(data)) + b"WAVE")
    f.write(b"fmt " + struct.pack("<I", 16) + fmt + b"data" + struct.pack("<I", len(data)) + data)
PY
}

# Help goes to standard output and succeeds, for the program and for each command, wherever it
# stands among the options and without a display; so does the version.
while IFS='|' read -r asked usage; do
    # shellcheck disable=SC2086
    expect_status "help ($asked)" 0 out "$usage" env -u DISPLAY "$host" $asked
    [ -s "$work/err.txt" ] && fail "help ($asked) wrote to standard error: $(cat "$work/err.txt")"
done <<'TABLE'
--help|usage: larkspur-host describe
-h|usage: larkspur-host describe
describe --help|usage: larkspur-host describe <plug-in library>
describe -h|usage: larkspur-host describe <plug-in library>
render --help|usage: larkspur-host render
render -h|usage: larkspur-host render
render out.wav --preset Top --help|usage: larkspur-host render
editor --help|usage: larkspur-host editor
editor -h|usage: larkspur-host editor
editor --mono --help|usage: larkspur-host editor
validate --help|usage: larkspur-host validate
validate -h|usage: larkspur-host validate
validate --seed 1 --help|usage: larkspur-host validate
TABLE
expect_status "version" 0 out "larkspur-host " "$host" --version
grep -qE '^larkspur-host [0-9]+\.[0-9]+\.[0-9]+$' "$work/out.txt" || fail "version: $(cat "$work/out.txt")"

# A library that is a pipe, or a copy cut short, is refused with the reason before it is loaded:
# no command waits on the pipe or ends by SIGBUS.
mkfifo "$work/pipe.so"
head -c 300000 "$library" > "$work/cut.so"
for case in "pipe.so:it is a named pipe, not a regular file" "cut.so:the file is shorter than its headers declare"; do
    name=${case%%:*}
    expect_status "describe $name" 1 err "cannot load $work/$name: ${case#*:}" timeout 20 "$host" describe "$work/$name"
    expect_status "render with $name" 1 err "cannot load $work/$name: ${case#*:}" \
        timeout 20 "$host" render --library "$work/$name" "$work/x.wav"
done
# An empty name names no library, as for the other commands.
expect_status "describe with an empty name" 2 err "larkspur-host describe: an empty name was given for the plug-in library" \
    "$host" describe ""

# A full-scale square wave boosted by 12 dB clips in a 16-bit output: the samples are counted.
wav "$work/square.wav" 2 48000 int16 square
expect_status "clipping" 0 err "samples clipped in the 16-bit output" \
    render "$work/square.wav" "$work/clipped.wav" --set gain=12
grep -qE "warning: [0-9]{4,} samples clipped" "$work/err.txt" || fail "clipping: no count: $(cat "$work/err.txt")"

# The count covers every channel and every block, and one is named in the singular: floating-point
# samples past full scale, bypassed into a 24-bit FLAC file, in 256-frame blocks. Each row: the
# clipped samples as frame:channel, then the warning.
# float_wav <file> <frame:channel...>: 2048 quiet stereo frames at 48 kHz, the given samples at 1.5.
float_wav()
{
    python3 - "$@" <<'PY'
import struct, sys
loud = {tuple(map(int, spot.split(":"))) for spot in sys.argv[2:]}
data = b"".join(struct.pack("<f", 1.5 if (i, c) in loud else 0.25) for i in range(2048) for c in range(2))
fmt = struct.pack("<HHIIHH", 3, 2, 48000, 48000 * 8, 8, 32)
with open(sys.argv[1], "wb") as f:
    f.write(b"RIFF" + struct.pack("<I", 4 + 24 + 8 + len(data)) + b"WAVE")
    f.write(b"fmt " + struct.pack("<I", 16) + fmt + b"data" + struct.pack("<I", len(data)) + data)
PY
}
while IFS='|' read -r spots warning; do
    # shellcheck disable=SC2086
    float_wav "$work/loud.wav" $spots
    expect_status "clipped at $spots" 0 err "warning: $warning clipped in the 24-bit output $work/loud.flac" \
        render "$work/loud.wav" "$work/loud.flac" --set bypass=on --block 256
done <<'TABLE'
300:1|1 sample
10:0 10:1 20:1 1000:0|4 samples
TABLE

# A 64-bit floating-point WAV file says what it is.
wav "$work/double.wav" 1 48000 float64 quiet
expect_status "64-bit float WAV" 1 err "a WAV file of 64-bit floating-point samples, which cannot be read" \
    render "$work/double.wav" "$work/double-out.wav"

# A rate outside the level table is rendered with a warning.
wav "$work/low-rate.wav" 1 22050 int16 quiet
expect_status "uncalibrated rate" 0 err "22050 Hz is not one of the plug-in's calibrated rates" \
    render "$work/low-rate.wav" "$work/low-rate-out.wav"

# A pipe as input is refused without waiting for a writer.
mkfifo "$work/pipe.wav"
expect_status "input is a pipe" 1 err "cannot read $work/pipe.wav: it is not a regular file" \
    timeout 60 "$host" render --library "$library" "$work/pipe.wav" "$work/pipe-out.wav"

# A write that fails says why, and leaves an existing output and project whole.
echo "keep me" > "$work/kept.wav"
echo "keep me" > "$work/kept.lkp"
expect_status "output too large" 1 err "cannot write $work/kept.wav: File too large" \
    bash -c 'ulimit -f 100 && exec "$@"' write "$host" render --library "$library" "$work/square.wav" "$work/kept.wav" \
    --save-project "$work/kept.lkp"
[ "$(cat "$work/kept.wav")" = "keep me" ] || fail "a failed write changed the existing output"
[ "$(cat "$work/kept.lkp")" = "keep me" ] || fail "a failed render changed the existing project"

# An interrupted render removes what it had written, leaves the existing output and project alone
# and ends by the signal, for each signal that would otherwise end the process on the spot.
wav "$work/long.wav" 120 48000 int16 quiet
for signal in INT TERM HUP PIPE QUIT USR1 USR2 ALRM XCPU; do
    echo "old output" > "$work/interrupted.wav"
    "$host" render --library "$library" "$work/long.wav" "$work/interrupted.wav" --block 4 \
        --save-project "$work/kept.lkp" > /dev/null 2> "$work/err.txt" &
    pid=$!
    await_file "$work/.interrupted.wav.tmp-*" > /dev/null
    kill -"$signal" "$pid"
    { wait "$pid"; } 2> /dev/null
    status=$?
    expected=$((128 + $(kill -l "$signal")))
    [ "$status" -eq "$expected" ] || fail "SIG$signal: exit $status instead of $expected"
    grep -qF "interrupted; $work/interrupted.wav was not written" "$work/err.txt" ||
        fail "SIG$signal: no note: $(cat "$work/err.txt")"
    ls -A "$work" | grep -q "\.tmp-" && fail "SIG$signal: left $(ls -A "$work" | grep "\.tmp-")"
    [ "$(cat "$work/interrupted.wav")" = "old output" ] || fail "SIG$signal: the existing output was changed"
    [ "$(cat "$work/kept.lkp")" = "keep me" ] || fail "SIG$signal: the project was written"
done
rm -f "$work/interrupted.wav"

# Memory does not grow with the length: two minutes take about what five seconds take.
wav "$work/short.wav" 5 48000 int16 quiet
peak_kb()
{
    python3 -c 'import resource, subprocess, sys
subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)' "$@"
}
short_kb=$(peak_kb "$host" render --library "$library" "$work/short.wav" "$work/short-out.wav")
long_kb=$(peak_kb "$host" render --library "$library" "$work/long.wav" "$work/long-out.wav")
[ "$long_kb" -lt $((short_kb + 16384)) ] || fail "memory grows with the length: ${short_kb} kB for 5 s, ${long_kb} kB for 120 s"

# --- WAV headers ---
# header_wav <file> <channels> <rate> <tag> <bits> <block align> <valid bits (extensible), 0 for none>
#            [data bytes]: 4,410 frames of a ramp held in the containers' high bits (zeros when the
#            containers make no sense).
header_wav()
{
    python3 - "$@" <<'PY'
import struct, sys
path, channels, rate, tag, bits, align, valid = sys.argv[1], *map(int, sys.argv[2:8])
container = align // channels if channels else 0
used = valid or bits
data = bytes(4410 * channels * 2)
if 0 < used <= 8 * container <= 32:
    data = b""
    for i in range(4410 * channels):
        value = (i * 37 % (1 << used) - (1 << (used - 1))) << (8 * container - used)
        data += (value + (128 if container == 1 else 0)).to_bytes(container, "little", signed=container > 1)
size = int(sys.argv[8]) if len(sys.argv) > 8 else len(data)
fmt = struct.pack("<HHIIHH", 0xFFFE if valid else tag, channels, rate, rate * align, align, bits)
if valid:
    fmt += struct.pack("<HHIH", 22, valid, 0, tag) + bytes.fromhex("000000001000800000aa00389b71")
with open(path, "wb") as f:
    f.write(b"RIFF" + struct.pack("<I", 20 + len(fmt) + len(data)) + b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)))
    f.write(fmt + b"data" + struct.pack("<I", size) + data)
PY
}
# full_size <file> <copy>: the same file with its samples stated at their containers' full size.
full_size()
{
    python3 - "$@" <<'PY'
import sys
b = bytearray(open(sys.argv[1], "rb").read())
b[34] = 8 * (b[32] // b[22])
if b[20] == 0xFE:
    b[38] = b[34]
open(sys.argv[2], "wb").write(b)
PY
}
# frames <file>: the sample frames in a WAV file's data chunk.
frames()
{
    python3 - "$1" <<'PY'
import struct, sys
b, pos = open(sys.argv[1], "rb").read(), 12
while b[pos:pos + 4] != b"data":
    if b[pos:pos + 4] == b"fmt ":
        align = struct.unpack_from("<H", b, pos + 20)[0]
    pos += 8 + struct.unpack_from("<I", b, pos + 4)[0]
print(struct.unpack_from("<I", b, pos + 4)[0] // align)
PY
}

# Samples of fewer bits than their container render exactly as the same containers stated in full
# (bypassed, so that nothing clips and the render has nothing to say).
while read -r name channels bits align valid; do
    header_wav "$work/$name.wav" "$channels" 44100 1 "$bits" "$align" "$valid"
    full_size "$work/$name.wav" "$work/$name-full.wav"
    expect_status "$name" 0 err "" render "$work/$name.wav" "$work/$name-out.wav" --set bypass=on
    render "$work/$name-full.wav" "$work/$name-full-out.wav" --set bypass=on 2> /dev/null
    cmp -s "$work/$name-out.wav" "$work/$name-full-out.wav" || fail "$name: renders unlike its full-size containers"
    [ "$(frames "$work/$name-out.wav")" = 4410 ] || fail "$name: $(frames "$work/$name-out.wav") frames for 4410"
done <<'TABLE'
12-bit-stereo 2 12 4 0
20-bit-mono 1 20 3 0
extensible-20-in-24 2 24 6 20
7-bit-in-8 2 7 2 0
TABLE

# Headers that contradict themselves are refused with what is wrong.
while IFS='|' read -r name arguments reason; do
    # shellcheck disable=SC2086
    header_wav "$work/$name.wav" $arguments
    expect_status "$name" 1 err "cannot read $work/$name.wav: the WAV header is damaged: $reason" \
        render "$work/$name.wav" "$work/$name-out.wav"
done <<'TABLE'
block-align-0|2 44100 1 16 0 0|block align is 0 for 2 channels of 16-bit samples
block-align-8|2 44100 1 16 8 0|block align is 8 for 2 channels of 16-bit samples
24-bit-in-32|1 44100 1 24 4 0|block align is 4 for 1 channel of 24-bit samples
extensible-align-8|2 44100 1 24 8 20|block align is 8 for 2 channels of 24-bit samples
packed-12-bit|2 44100 1 12 3 0|block align is 3 for 2 channels of 12-bit samples
7-bit-no-container|2 44100 1 7 1 0|block align is 1 for 2 channels of 7-bit samples
16-bit-float|2 44100 3 16 4 0|the floating-point sample size is 16 bits, not 32 or 64
0-bit|2 44100 1 0 4 0|the sample size is 0 bits
40-bit|1 44100 1 40 5 0|the sample size is 40 bits, more than 32
rate-0|2 0 1 16 4 0|the sample rate is 0
no-channels|0 44100 1 16 4 0|the channel count is 0
valid-beyond-container|2 44100 1 16 4 20|20 valid bits in 16-bit samples
partial-frame|2 44100 1 16 4 0 17642|the data size of 17642 bytes is not a whole number of 4-byte frames
TABLE
# --- end of WAV headers ---

# --- paths and temporaries ---
# Paths mean what the kernel means by them, from the working folder: a ".." after a link leads into
# the link's target, a quoted "~" is a folder named so and never the home folder, and a bare
# library name is the file in the working folder.
paths="$work/paths"
# Commands run from other folders than this script's.
host=$(realpath "$host")
library=$(realpath "$library")
mkdir -p "$paths/work/~" "$paths/real/sub" "$paths/home"
ln -s ../real/sub "$paths/work/link"
cp "$work/short.wav" "$paths/real/in.wav"
echo "other" > "$paths/work/o.wav"
cp "$library" "$paths/work/plugin.so"
in_work() { env -C "$paths/work" HOME="$paths/home" "$host" render --block 4096 "$@"; }
expect_status "paths through a link" 0 err "" \
    in_work --library plugin.so link/../in.wav link/../o.wav --save-project link/../p.lkp
[ -s "$paths/real/o.wav" ] && [ -s "$paths/real/p.lkp" ] || fail "paths through a link: $(ls -R "$paths")"
[ "$(cat "$paths/work/o.wav")" = "other" ] && [ ! -e "$paths/work/p.lkp" ] ||
    fail "paths through a link: a file beside the link was written"
expect_status "a quoted ~" 0 err "" in_work --library "$library" "~/o.wav" --save-project "~/p.lkp"
[ -s "$paths/work/~/o.wav" ] && [ -s "$paths/work/~/p.lkp" ] && [ -z "$(ls -A "$paths/home")" ] ||
    fail "a quoted ~: $(ls -RA "$paths/home" "$paths/work/~")"

# An output or project that is a file the render reads (the input, the loaded project, the plug-in
# library), or each other, is refused before the render, and every file stays as it was: by name,
# through a link, a hard link or "..", and before the output exists.
same="$work/same"
mkdir "$same"
cp "$work/short.wav" "$same/in.wav"
cp "$paths/real/p.lkp" "$same/p.wav"
cp "$library" "$same/lib.wav"
ln "$same/in.wav" "$same/hard.wav"
ln -s in.wav "$same/link.wav"
echo "keep me" > "$same/kept.wav"
mkdir "$same/sub"
ln -s sub "$same/folder-link"
in_same() { env -C "$same" "$host" render --library "$library" "$@"; }
while IFS='|' read -r what arguments message; do
    # shellcheck disable=SC2086
    expect_status "$what" 1 err "$message" in_same $arguments
done <<'TABLE'
project is the input|in.wav o.wav --save-project in.wav|cannot write project in.wav: it is the input file
project links to the input|in.wav o.wav --save-project link.wav|cannot write project link.wav: it is the input file
project is the output|in.wav o.wav --save-project ./o.wav|cannot write project ./o.wav: it is the output file
project is the existing output|in.wav kept.wav --save-project ../same/kept.wav|cannot write project ../same/kept.wav: it is the output file
project is the built-in signal's output|kept.wav --save-project kept.wav|cannot write project kept.wav: it is the output file
output is the input|in.wav in.wav|cannot write in.wav: it is the input file
output is a hard link to the input|in.wav hard.wav|cannot write hard.wav: it is the input file
output is the input through ..|in.wav ../same/in.wav|cannot write ../same/in.wav: it is the input file
new project and output through a folder's link|in.wav sub/new1.wav --save-project folder-link/new1.wav|cannot write project folder-link/new1.wav: it is the output file
new project and output through ..|in.wav sub/new2.wav --save-project sub/../sub/new2.wav|cannot write project sub/../sub/new2.wav: it is the output file
new project and output through the link and ..|folder-link/../sub/new3.wav --save-project ./sub/new3.wav|cannot write project ./sub/new3.wav: it is the output file
output is the loaded project|in.wav p.wav --load-project p.wav|cannot write p.wav: it is the loaded project
output is the loaded project through ..|sub/../p.wav --load-project ./p.wav|cannot write sub/../p.wav: it is the loaded project
project is the plug-in library|in.wav o.wav --library lib.wav --save-project lib.wav|cannot write project lib.wav: it is the plug-in library
output is the plug-in library|--library ./lib.wav lib.wav|cannot write lib.wav: it is the plug-in library
TABLE
cmp -s "$work/short.wav" "$same/in.wav" && grep -qx "keep me" "$same/kept.wav" && [ -L "$same/link.wav" ] &&
    cmp -s "$paths/real/p.lkp" "$same/p.wav" && cmp -s "$library" "$same/lib.wav" || fail "a refused render changed a file"
[ "$(ls -A "$same" | tr '\n' ' ')" = "folder-link hard.wav in.wav kept.wav lib.wav link.wav p.wav sub " ] &&
    [ -z "$(ls -A "$same/sub")" ] || fail "a refused render left $(ls -AR "$same")"

# A project that cannot be written fails the command before the render, with the existing output
# left as it was.
while IFS='|' read -r project reason; do
    expect_status "project $project" 1 err "cannot write project $work/$project: $reason" \
        render "$work/short.wav" "$same/kept.wav" --save-project "$work/$project"
    grep -qx "keep me" "$same/kept.wav" || fail "project $project: the output was replaced"
done <<'TABLE'
none/p.lkp|No such file or directory
kept.lkp/p.lkp|Not a directory
TABLE

# A render whose output cannot be renamed into place at its end (its temporary was removed) fails
# and writes no project.
"$host" render --library "$library" "$work/long.wav" "$work/renamed.wav" --block 4 \
    --save-project "$work/kept.lkp" > /dev/null 2> "$work/err.txt" &
pid=$!
temporary=$(await_file "$work/.renamed.wav.tmp-*")
rm -f "$temporary"
wait "$pid"
status=$?
[ "$status" -eq 1 ] || fail "output's rename failed: exit $status: $(cat "$work/err.txt")"
grep -qF "cannot write $work/renamed.wav: No such file or directory" "$work/err.txt" ||
    fail "output's rename failed: $(cat "$work/err.txt")"
[ "$(cat "$work/kept.lkp")" = "keep me" ] || fail "the project was written although the output's final rename failed"
ls -A "$work" | grep -qE "renamed|\.tmp-" && fail "output's rename failed: left $(ls -A "$work" | grep -E "renamed|\.tmp-")"

# A project whose folder is removed during the render fails the command before the output is
# renamed into place: the existing output stays as it was, and nothing is left behind.
mkdir "$work/doomed"
echo "old output" > "$work/together.wav"
"$host" render --library "$library" "$work/long.wav" "$work/together.wav" --block 4 \
    --save-project "$work/doomed/p.lkp" > /dev/null 2> "$work/err.txt" &
pid=$!
await_file "$work/.together.wav.tmp-*" > /dev/null
rm -r "$work/doomed"
wait "$pid"
status=$?
[ "$status" -eq 1 ] || fail "project folder removed: exit $status: $(cat "$work/err.txt")"
grep -qF "cannot write project $work/doomed/p.lkp: No such file or directory" "$work/err.txt" ||
    fail "project folder removed: $(cat "$work/err.txt")"
[ "$(cat "$work/together.wav")" = "old output" ] || fail "project folder removed: the output was replaced"
ls -A "$work" | grep -q "\.tmp-" && fail "project folder removed: left $(ls -A "$work" | grep "\.tmp-")"
rm -f "$work/together.wav"

# A replaced output or project keeps its permission bits; a new one gets the usual ones.
echo "old" > "$work/private.wav"
echo "old" > "$work/private.lkp"
chmod 600 "$work/private.wav"
chmod 640 "$work/private.lkp"
umask 022
expect_status "private output" 0 err "" render "$work/short.wav" "$work/private.wav" --save-project "$work/private.lkp" --block 4096
[ "$(stat -c %a "$work/private.wav") $(stat -c %a "$work/private.lkp")" = "600 640" ] ||
    fail "a replaced output or project changed its permissions: $(stat -c '%n %a' "$work"/private.*)"
[ "$(head -c 4 "$work/private.wav")" = "RIFF" ] || fail "private output: not replaced"
umask 027
render "$work/short.wav" "$work/fresh.wav" --block 4096 2> /dev/null
umask 022
[ "$(stat -c %a "$work/fresh.wav")" = 640 ] || fail "a new output: mode $(stat -c %a "$work/fresh.wav"), not 640"

# Outputs are named in any case: the ending chooses the format.
while read -r name magic; do
    expect_status "output $name" 0 err "" render "$work/short.wav" "$work/$name" --block 4096
    [ "$(head -c 4 "$work/$name")" = "$magic" ] || fail "output $name: not $magic: $(head -c 4 "$work/$name" | od -c | head -1)"
done <<'TABLE'
Take.WAV RIFF
x.Flac fLaC
y.fLAC fLaC
TABLE

# A home folder that is no absolute path crashes nothing: renders without presets work and save
# their project, a preset is refused with the reason, and nothing is made below the working folder.
homes="$work/homes"
mkdir "$homes"
for home in '~' '~/x' 'relative' ''; do
    in_homes() { env -C "$homes" -u XDG_DATA_HOME HOME="$home" "$host" render --library "$library" --block 4096 "$@"; }
    expect_status "HOME='$home' without presets" 0 err "" in_homes "$work/short.wav" out.wav --save-project p.lkp
    [ -s "$homes/out.wav" ] && [ -s "$homes/p.lkp" ] || fail "HOME='$home': $(ls -A "$homes")"
    expect_status "HOME='$home' with a preset" 1 err \
        "the preset list is empty because there is no user data folder (neither XDG_DATA_HOME nor HOME is an absolute path)" \
        in_homes "$work/short.wav" out.wav --preset "Top End"
    [ "$(ls -A "$homes" | tr '\n' ' ')" = "out.wav p.lkp " ] || fail "HOME='$home' left $(ls -A "$homes")"
    rm -f "$homes/out.wav" "$homes/p.lkp"
done

# A write removes only the temporaries of its own file that a killed writer left.
bash -c 'exit 0' &
dead=$!
wait "$dead"
touch "$work/.notes.txt.tmp-$dead-1" "$work/.stale.wav.tmp-$dead-0"
expect_status "write beside others' temporaries" 0 err "" render "$work/short.wav" "$work/stale.wav"
[ -e "$work/.stale.wav.tmp-$dead-0" ] && fail "the output's stale temporary stayed"
[ -e "$work/.notes.txt.tmp-$dead-1" ] || fail "a render removed another file's temporary"
rm -f "$work/.notes.txt.tmp-$dead-1"

# --- end of paths and temporaries ---

finish "all render robustness checks passed"
