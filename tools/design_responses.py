#!/usr/bin/python3
"""Designs the equaliser's 275 impulse responses and writes them, quantised to 24 bits, as text.

Each response is a minimum-phase FIR of the band's analogue target curve, scaled so that the
processor's band levels, parallel band sum and level compensation give a flat chain at 0 dB and
the nominal curve for every step. Output lines (stdout or the file named by the first argument):
    gain <dB>                             scale the loader applies to every decoded response
    band <number> <name>                  starts a band element
    response <band> <Hz> <type> <dB> <1152 integer samples>
"""

import os
import sys

# The C library picks its exp, log and pow for the processor, and its FMA versions round
# differently; the loader reads this setting only when a process starts, so start again with it.
BASELINE_MATHS = "glibc.cpu.hwcaps=-AVX2,-FMA,-FMA4"
if os.environ.get("GLIBC_TUNABLES") != BASELINE_MATHS:
    os.execve(sys.executable, [sys.executable] + sys.argv, dict(os.environ, GLIBC_TUNABLES=BASELINE_MATHS))

# The same result on every x86-64 machine: one thread, and numpy's baseline code instead of the
# SIMD variants it would pick for this processor (they may round differently).
os.environ["OPENBLAS_NUM_THREADS"] = "1"
os.environ["OMP_NUM_THREADS"] = "1"
os.environ["OPENBLAS_CORETYPE"] = "Prescott"
os.environ["NPY_DISABLE_CPU_FEATURES"] = (
    "SSSE3 SSE41 POPCNT SSE42 AVX F16C FMA3 AVX2 AVX512F AVX512CD AVX512_SKX AVX512_CLX AVX512_CNL AVX512_ICL")

import multiprocessing
import numpy as np
import scipy.optimize

RATE = 96000.0
LENGTH = 1152
KEPT = 1136  # the last 16 samples stay zero: resampling delays a response by a few samples
# A refitted response rings to its very end; 16 more zeros keep the resampler's own ringing after
# the response's last sample inside the truncated length at the lower rates.
REFIT_KEPT = 1120
# The refit weighs the error from 16 f0 upward this much more, so that the error that 12 ms
# cannot avoid stays near f0.
HIGH_IMPORTANCE = 32.0
# The refit keeps the energy centre within 0.045 ms (in samples), so that no response smears a
# transient audibly.
CENTRE_LIMIT = 0.045e-3 * RATE
CENTRE_PENALTY = 10.0
GRID = 65536  # cepstral minimum-phase grid
DOCUMENT_GAIN_DB = 27.52
COMPENSATION_DB = 18.4  # what the level compensation takes away at 96 kHz
DRY_SHARE = 1.0 / 3.0  # share of the dry path that each band carries

GAINS = [-12, -9, -6, -4, -2, 0, 2, 4, 6, 9, 12]
BANDS = [
    (1, "LF", [50, 100, 200, 300, 400], ["LP", "PK"]),
    (2, "MF", [400, 800, 1500, 3000, 5000], ["PK"]),
    (3, "HF", [5000, 7000, 10000, 12500, 15000], ["HP", "PK"]),
]


def target_magnitude(kind, f0, gain_db, freqs):
    """Exact magnitude of the analogue prototype, s = j f / f0."""
    s = 1j * np.asarray(freqs, dtype=float) / f0
    if gain_db == 0:
        return np.ones(s.shape)
    a = 10.0 ** (gain_db / 40.0)
    if kind == "PK":
        q = 0.5 * 10.0 ** (abs(gain_db) / 40.0)
        h = (s * s + s * a / q + 1.0) / (s * s + s / (a * q) + 1.0)
    else:
        r = np.sqrt(a) * np.sqrt(2.0)
        if kind == "LP":
            h = a * (s * s + r * s + a) / (a * s * s + r * s + 1.0)
        else:
            h = a * (a * s * s + r * s + 1.0) / (s * s + r * s + a)
    return np.abs(h)


def minimum_phase(kind, f0, gain_db):
    freqs = np.arange(GRID // 2 + 1) * RATE / GRID
    magnitude = target_magnitude(kind, f0, gain_db, freqs)
    cepstrum = np.fft.irfft(np.log(magnitude), GRID)
    folded = np.zeros(GRID)
    folded[0] = cepstrum[0]
    folded[1 : GRID // 2] = 2.0 * cepstrum[1 : GRID // 2]
    folded[GRID // 2] = cepstrum[GRID // 2]
    response = np.fft.irfft(np.exp(np.fft.rfft(folded)), GRID)
    taps = np.zeros(LENGTH)
    taps[:KEPT] = response[:KEPT]
    return taps


# Error grid of the refit: uniform bins, weighted by 1/f so that every octave counts alike.
FIT_SIZE = 16384
FIT_FREQS = np.arange(FIT_SIZE // 2 + 1) * RATE / FIT_SIZE
FIT_BAND = (FIT_FREQS >= 15.0) & (FIT_FREQS <= 45000.0)
CHECK_FREQS = np.geomspace(20.0, 20000.0, 2000)


def response_db(taps, freqs):
    n = np.arange(len(taps))
    spectrum = np.exp(-2j * np.pi * np.outer(freqs, n) / RATE) @ taps
    return 20.0 * np.log10(np.abs(spectrum))


def refit(taps, kind, f0, gain_db):
    """Minimises a weighted p-norm of the error in dB, raising p towards a minimax fit."""
    freqs = FIT_FREQS[FIT_BAND]
    target = 20.0 * np.log10(target_magnitude(kind, f0, gain_db, freqs))
    # density: every octave counts alike; importance scales the error itself, so that it still
    # counts when p grows towards a minimax fit
    weight = 1.0 / freqs
    log_weight = np.log(weight / weight.sum())
    importance = np.where(freqs >= 16.0 * f0, HIGH_IMPORTANCE, 1.0)
    importance = np.where(freqs > 20000.0, 4.0, importance)
    scale_db = 20.0 / np.log(10.0)
    x = taps[:REFIT_KEPT].copy()
    taps_index = np.arange(REFIT_KEPT, dtype=float)

    def cost(x, p, tau):
        spectrum = np.fft.rfft(x, FIT_SIZE)[FIT_BAND]
        power = np.maximum(spectrum.real ** 2 + spectrum.imag ** 2, 1e-300)
        error = 0.5 * scale_db * np.log(power) - target
        ratio = np.maximum(importance * np.abs(error) / tau, 1e-300)
        # value = tau * (sum weight * ratio^p)^(1/p), in logarithms so that large p cannot overflow
        logs = log_weight + p * np.log(ratio)
        top = np.max(logs)
        shares = np.exp(logs - top)
        total = shares.sum()
        value = tau * np.exp((top + np.log(total)) / p)
        # d value / d error, then through |E|^2 to the taps
        d_error = value * (shares / total) / ratio * importance * np.sign(error) / tau
        u = d_error * scale_db / power
        full = np.zeros(FIT_SIZE // 2 + 1, dtype=complex)
        full[FIT_BAND] = u * spectrum
        # gradient_n = sum_k Re(u_k E_k e^{+j w_k n}) over the one-sided grid
        gradient = np.fft.irfft(full, FIT_SIZE)[:REFIT_KEPT] * (FIT_SIZE / 2.0)
        # keep the energy at the start: a penalty once the energy centre passes its limit
        energy = np.dot(x, x)
        centre = np.dot(taps_index, x * x) / energy
        if centre > CENTRE_LIMIT:
            excess = centre - CENTRE_LIMIT
            value += CENTRE_PENALTY * excess * excess
            gradient += CENTRE_PENALTY * 2.0 * excess * 2.0 * x * (taps_index - centre) / energy
        return value, gradient

    for p in (2.0, 4.0, 8.0, 16.0, 32.0, 64.0, 128.0):
        spectrum = np.fft.rfft(x, FIT_SIZE)[FIT_BAND]
        tau = np.max(importance * np.abs(20.0 * np.log10(np.abs(spectrum)) - target))
        result = scipy.optimize.minimize(
            cost, x, args=(p, tau), jac=True, method="L-BFGS-B",
            options={"maxiter": 400, "maxcor": 20, "gtol": 1e-12, "ftol": 1e-15},
        )
        x = result.x
    out = np.zeros(LENGTH)
    out[:REFIT_KEPT] = x
    return out


def design(kind, f0, gain_db, band):
    taps = minimum_phase(kind, f0, gain_db)
    if band == 1 and gain_db != 0:
        target = 20.0 * np.log10(target_magnitude(kind, f0, gain_db, CHECK_FREQS))
        if np.max(np.abs(response_db(taps, CHECK_FREQS) - target)) > 0.02:
            taps = refit(taps, kind, f0, gain_db)
    return taps


def band_level(band, gain_db):
    if band == 1:
        return 10.0 ** (gain_db * 0.25 / 20.0)
    if band == 2:
        return 10.0 ** (-3.0 / 20.0)
    return 10.0 ** ((gain_db * 0.25 - 3.0) / 20.0)


def stored_samples(band, taps, gain_db):
    """The bank's buffer, divided by the document's scale and rounded to 24 bits."""
    buffer = taps.copy()
    buffer[0] -= 1.0 - DRY_SHARE
    buffer *= 10.0 ** (COMPENSATION_DB / 20.0) / band_level(band, gain_db)
    buffer /= 10.0 ** (DOCUMENT_GAIN_DB / 20.0)
    quantised = np.rint(buffer * 8388608.0)
    if np.max(np.abs(quantised)) >= 8388608.0:
        raise ValueError("response does not fit in 24 bits")
    return quantised.astype(np.int64)


def design_entry(entry):
    band, f0, kind, gain_db = entry
    return stored_samples(band, design(kind, f0, gain_db, band), gain_db)


def main():
    entries = [(band, f0, kind, gain_db)
               for band, _, frequencies, kinds in BANDS
               for f0 in frequencies for kind in kinds for gain_db in GAINS]
    # Every response is designed on its own, so a pool changes the speed and not the result.
    workers = max(1, min(4, os.cpu_count() or 1))
    with multiprocessing.Pool(workers) as pool:
        designs = dict(zip(entries, pool.map(design_entry, entries, chunksize=1)))
    out = open(sys.argv[1], "w") if len(sys.argv) > 1 else sys.stdout
    out.write("gain %s\n" % repr(DOCUMENT_GAIN_DB))
    for band, name, frequencies, kinds in BANDS:
        out.write("band %d %s\n" % (band, name))
        for f0 in frequencies:
            for kind in kinds:
                for gain_db in GAINS:
                    samples = designs[(band, f0, kind, gain_db)]
                    out.write("response %d %d %s %d %s\n" % (band, f0, kind, gain_db, " ".join(map(str, samples))))
    out.close()


if __name__ == "__main__":
    main()
