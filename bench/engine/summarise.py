#!/usr/bin/env python3
"""Turns the engine benchmark's JSON output into the side-by-side tables of bench/README.md."""

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


def main(path):
    with open(path) as f:
        data = json.load(f)
    runs = {b["name"]: b for b in data["benchmarks"] if b.get("run_type", "iteration") == "iteration"}

    model, cores = machine()
    print(f"Machine: {model}, {cores} CPUs; date {data['context'].get('date', '?')}\n")

    print("| FFT size | fftDispatch forward (ns) | FFTW_MEASURE (ns) | ours / FFTW |")
    print("|---:|---:|---:|---:|")
    n = 16
    while n <= 32768:
        ours, fftw = runs.get(f"fft/ours/{n}"), runs.get(f"fft/fftw/{n}")
        if ours and fftw:
            a, b = ours["cpu_time"], fftw["cpu_time"]
            print(f"| {n} | {a:.0f} | {b:.0f} | {a / b:.2f} |")
        n *= 2

    print()
    print("| impulse | block | engine (× real time) | JUCE zero-latency (× real time) "
          "| JUCE NonUniform{64} (× real time) | engine / zero-latency | engine / NonUniform{64} |")
    print("|---:|---:|---:|---:|---:|---:|---:|")
    for length in (576, 1152, 100000):
        for block in (64, 256, 1024):
            suffix = f"{length}/{block}"
            ours = runs.get(f"convolution/ours/{suffix}")
            zero = runs.get(f"convolution/juce_zero_latency/{suffix}")
            nonuniform = runs.get(f"convolution/juce_nonuniform64/{suffix}")
            if not (ours and zero and nonuniform):
                continue
            a, b, c = ours["realtime"], zero["realtime"], nonuniform["realtime"]
            print(f"| {length} | {block} | {a:.0f} | {b:.0f} | {c:.0f} | {a / b:.2f} | {a / c:.2f} |")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "build-bench/engine-bench.json")
