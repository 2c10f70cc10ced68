#!/usr/bin/python3
"""Reads an mzML file with pymzml as a pipeline would:

    read_with_pymzml.py MZML FIRST_SCAN LAST_SCAN

- iterates every spectrum: one per scan from FIRST_SCAN to LAST_SCAN, in
  order, each with its MS level and as many m/z values as intensities,
  defaultArrayLength of each;
- reads spectra by scan number through the file's index (random access),
  every scan in reverse order or, in a file of many scans, an even spread
  of them: each the spectrum the iteration gave.

Prints one line per problem and a closing line; exits 1 when there was a
problem, a pymzml exception included. Run with Debian's /usr/bin/python3
(python3-pymzml).
"""

import sys

import pymzml

MAX_RANDOM_READS = 300


def scan_number(spectrum):
    native_id = spectrum.element.get("id") or ""
    return int(native_id.rsplit("scan=", 1)[1]) if "scan=" in native_id else None


def summary(spectrum):
    """What the iteration and a random access must agree on."""
    mz, intensity = spectrum.mz, spectrum.i
    return (spectrum.ms_level, len(mz), len(intensity),
            float(mz[0]) if len(mz) else None, float(intensity[-1]) if len(intensity) else None)


# Tandem spectra without an isolated precursor: constant neutral loss and
# precursor ion scans of triple quadrupoles.
SCANS_WITHOUT_PRECURSOR = ("MS:1000326", "MS:1000341")


def needs_precursor(spectrum, level):
    if level is None or level < 2:
        return False
    return not any(spectrum.get(accession) is not None for accession in SCANS_WITHOUT_PRECURSOR)


def iterate(path, problems):
    seen = {}
    order = []
    with pymzml.run.Reader(path) as run:
        for spectrum in run:
            number = scan_number(spectrum)
            order.append(number)
            facts = summary(spectrum)
            seen[number] = facts
            level, mz_count, intensity_count = facts[:3]
            length = int(spectrum.element.get("defaultArrayLength"))
            if level is None:
                problems.append(f"scan {number}: no MS level")
            elif needs_precursor(spectrum, level) and not any(p.get("mz") for p in spectrum.selected_precursors or []):
                problems.append(f"scan {number}: an MS{level} spectrum without a selected precursor m/z")
            if spectrum.scan_time_in_minutes() is None:
                problems.append(f"scan {number}: no scan start time")
            if mz_count != intensity_count or mz_count != length:
                problems.append(f"scan {number}: {mz_count} m/z values, {intensity_count} intensities, "
                                f"defaultArrayLength {length}")
    return order, seen


def read_randomly(path, scans, seen, problems):
    if len(scans) > MAX_RANDOM_READS:
        step = len(scans) / MAX_RANDOM_READS
        scans = sorted({scans[int(i * step)] for i in range(MAX_RANDOM_READS)} | {scans[-1]})
    run = pymzml.run.Reader(path)
    reads = 0
    for number in reversed(scans):
        try:
            spectrum = run[number]
        except Exception as error:  # pymzml's own exceptions have no common base
            problems.append(f"random access to scan {number}: {type(error).__name__}: {error}")
            break
        reads += 1
        if scan_number(spectrum) != number:
            problems.append(f"random access to scan {number} gave spectrum {spectrum.element.get('id')!r}")
        elif summary(spectrum) != seen.get(number):
            problems.append(f"random access to scan {number}: {summary(spectrum)}, iterated {seen.get(number)}")
    return reads


def main():
    path, first, last = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    problems = []
    expected = list(range(first, last + 1))
    reads = 0
    try:
        order, seen = iterate(path, problems)
        if order != expected:
            missing = sorted(set(expected) - set(order))
            problems.append(f"iterated {len(order)} spectra for scans {first}-{last}; not in scan order "
                            f"or missing {missing[:10]}")
        reads = read_randomly(path, [n for n in expected if n in seen], seen, problems)
    except Exception as error:  # pymzml's own exceptions have no common base
        problems.append(f"iterating: {type(error).__name__}: {error}")
    for problem in problems[:20]:
        print(problem)
    print(f"pymzml: {len(problems)} problem(s), {reads} spectra read by scan number")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
