#!/usr/bin/env python3
"""Turns the benchmarks' JSON output (one or more files) into the side-by-side tables of bench/README.md."""

import json
import subprocess
import sys


def machine():
    model, cores = "unknown", "?"
    try:
        for line in subprocess.run(["lscpu"], capture_output=True, text=True).stdout.splitlines():
            key, _, value = line.partition(":")
            if key.strip() == "Model name":
                model = value.strip()
            elif key.strip() == "CPU(s)":
                cores = value.strip()
    except OSError:
        pass
    return model, cores


def main(paths):
    runs, date = {}, "?"
    for path in paths:
        with open(path) as f:
            data = json.load(f)
        date = data["context"].get("date", date)
        for b in data["benchmarks"]:
            if b.get("run_type", "iteration") == "iteration" and "error_occurred" not in b:
                runs[b["name"]] = b

    model, cores = machine()
    print(f"Machine: {model}, {cores} CPUs; date {date}\n")

    print("| FFT size | fftDispatch forward (ns) | FFTW_MEASURE (ns) | ours / FFTW |")
    print("|---:|---:|---:|---:|")
    n = 64
    while n <= 32768:
        ours, fftw = runs.get(f"fft/ours/{n}"), runs.get(f"fft/fftw/{n}")
        if ours and fftw:
            a, b = ours["cpu_time"], fftw["cpu_time"]
            print(f"| {n} | {a:.0f} | {b:.0f} | {a / b:.2f} |")
        n *= 2

    print()
    print("Convolution, × real time (stereo, 48 kHz); ratios are the peer's time over ours (above 1: we are faster).\n")
    print("| impulse | block | engine | JUCE | JUCE with FFTW | uniform FFTW | JUCE / engine "
          "| JUCE with FFTW / engine | uniform FFTW / engine |")
    print("|---:|---:|---:|---:|---:|---:|---:|---:|---:|")

    def cell(value, fmt):
        return "–" if value is None else format(value, fmt)

    for length in (64, 576, 1152, 4096):
        for block in ("32", "64", "256", "1024", "random"):
            suffix = f"{length}/{block}"
            ours = runs.get(f"convolution/ours/{suffix}")
            if not ours:
                continue
            a = ours["realtime"]
            peers = [runs.get(f"convolution/{p}/{suffix}") for p in ("juce", "juce_fftw", "uniform_fftw")]
            speeds = [p["realtime"] if p else None for p in peers]
            ratios = [a / s if s else None for s in speeds]
            print(f"| {length} | {block} | {a:.0f} | " + " | ".join(cell(s, ".0f") for s in speeds) + " | "
                  + " | ".join(cell(r, ".2f") for r in ratios) + " |")

    rows = [b for name, b in runs.items() if name.startswith("processStereo/")]
    if rows:
        print()
        print("| rate | block | time per block (µs) | × real time |")
        print("|---:|---:|---:|---:|")
        for b in rows:
            parts = dict(p.split(":") for p in b["name"].split("/")[1:] if ":" in p)
            print(f"| {int(parts['rate']) / 1000:g} kHz | {parts['block']} | {b['cpu_time']:.1f} | {b['realtime']:.0f} |")


if __name__ == "__main__":
    main(sys.argv[1:] if len(sys.argv) > 1 else ["build-bench/larkspur_engine_bench.json"])
