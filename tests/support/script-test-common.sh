# Sourced by the host's script tests after `set -u`: the host program and the plug-in library from
# the script's first two arguments, a temporary folder (also the user's data folder) removed on
# exit, and failures counted rather than stopping at the first.
host=$1
library=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME="$work/data"
failures=0

fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

# finish <closing line>: exits 1 with the failure count, or prints the closing line.
finish()
{
    if [ "$failures" -ne 0 ]; then
        echo "$failures check(s) failed"
        exit 1
    fi
    echo "$1"
}

# await_file <pattern>: waits up to 10 s for a file that the pattern matches (a render's
# temporary, say) and prints its name; fails when none appears.
await_file()
{
    local i
    for i in $(seq 1 200); do
        compgen -G "$1" && return 0
        sleep 0.05
    done
    return 1
}
