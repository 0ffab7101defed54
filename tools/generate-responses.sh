#!/bin/sh
# Designs the responses and writes the embedded document.
# Usage: tools/generate-responses.sh <larkspur_response_writer> <output responses.xml>
set -eu
writer="$1"
output="$2"
here="$(cd "$(dirname "$0")" && pwd)"
design="$(mktemp)"
trap 'rm -f "$design"' EXIT
# One thread per process and no randomness: the design is the same on every x86-64 machine.
OPENBLAS_NUM_THREADS=1 OMP_NUM_THREADS=1 /usr/bin/python3 "$here/design_responses.py" "$design"
"$writer" "$design" "$output"
