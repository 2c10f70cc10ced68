#!/usr/bin/python3
"""Checks an indexed mzML file of a real RAW file against the file's reference
dump (what Thermo's own library reads from the RAW file) and against the
rules of the indexed wrapper:

    compare_with_reference.py MZML DUMP_JSON_GZ RAW_FILE [--as-stored]
                              [--compression zlib|none] [--text MS1_OR_MS2_FILE]...

- the wrapper: the index lists every spectrum and chromatogram, every offset
  is the byte position of the '<' of its element, indexListOffset that of
  '<indexList', fileChecksum the SHA-1 of the bytes up to and including
  '<fileChecksum>'; no byte-order mark, '\n' line ends;
- the file: spectrum count, source file SHA-1, instrument serial number, the
  run's start time (the RAW file's creation date, to the second);
- per scan, in scan order: native id, MS level, polarity, filter string, scan
  start time, total ion current, base peak m/z and intensity, lowest and
  highest m/z (the scan header's low and high mass), ion injection time,
  scan windows, FAIMS compensation voltage (only when FAIMS is on), the
  analyzer of the scan's instrument configuration; for MSn the precursor:
  isolation target and offsets, selected ion m/z, charge, activation and
  energies, and the scan it was isolated from (spectrumRef);
- the arrays: their counts and encoded lengths, the compression expected and
  a 64-bit float term on each, an empty '<binary/>' for an empty array. With
  --as-stored (spexor -p) the centroid/profile term is the stored one and
  both arrays hold the stored points bit for bit. Otherwise (spexor -c) every
  spectrum is centroid, scans stored as centroid hold their stored points bit
  for bit (points in a row at one m/z merged into one, intensities added),
  and the others the peaks of spexor's MS1/MS2 files of the same
  run given with --text (written with nine decimals).

Prints one line per problem (the first few of each kind, then a count) and a
closing line; exits 1 when there was a problem. Reads the mzML as a stream.
Run with Debian's /usr/bin/python3.
"""

import argparse
import base64
import collections
import datetime
import gzip
import hashlib
import json
import re
import struct
import sys
import xml.etree.ElementTree as ET
import zlib

NS = "{http://psi.hupo.org/ms/mzml}"
SHOWN_PER_KIND = 5
# Header values are written as decimal text; the reader must get back the
# double Thermo's library reads to this relative precision.
RELATIVE_TOLERANCE = 1e-9


class Problems:
    """Problems grouped by kind: the first few shown, the rest counted."""

    def __init__(self):
        self.counts = collections.Counter()

    def add(self, kind, text):
        self.counts[kind] += 1
        if self.counts[kind] <= SHOWN_PER_KIND:
            print(f"{kind}: {text}")

    def close(self):
        for kind, count in sorted(self.counts.items()):
            if count > SHOWN_PER_KIND:
                print(f"{kind}: {count - SHOWN_PER_KIND} more")
        total = sum(self.counts.values())
        print(f"reference comparison: {total} problem(s)")
        return 1 if total else 0


def close_enough(written, expected, tolerance=0.0):
    allowed = max(tolerance, RELATIVE_TOLERANCE * abs(expected), 1e-12)
    return abs(written - expected) <= allowed


# What the spexor options of the file make the arrays: as stored (-p) or
# peak-picked with the peaks of spexor's text files; their compression.
Expectations = collections.namedtuple("Expectations", "as_stored text_peaks compression")


# ---- the indexed wrapper -------------------------------------------------

def check_wrapper(path, problems):
    with open(path, "rb") as f:
        data = f.read()
    if data.startswith(b"\xef\xbb\xbf"):
        problems.add("wrapper", "the file starts with a byte-order mark")
    if b"\r" in data:
        problems.add("wrapper", "the file has carriage returns")
    tail = data[-512:]
    found = re.search(rb"<indexListOffset>(\d+)</indexListOffset>", tail)
    if not found:
        problems.add("wrapper", "no <indexListOffset> in the last 512 bytes")
        return
    offset = int(found.group(1))
    if data[offset:offset + len(b"<indexList")] != b"<indexList":
        problems.add("wrapper", f"indexListOffset {offset} does not point at '<indexList'")
    indexed = collections.Counter()
    for index in re.finditer(rb'<index name="(\w+)">(.*?)</index>', data, re.S):
        element = index.group(1).decode()
        for entry in re.finditer(rb'<offset idRef="([^"]*)">(\d+)</offset>', index.group(2)):
            indexed[element] += 1
            ref, at = entry.group(1).decode(), int(entry.group(2))
            start = f'<{element} '.encode()
            if data[at:at + len(start)] != start:
                problems.add("wrapper", f"{element} index: offset {at} of '{ref}' does not point at '<{element}'")
                continue
            head = data[at:data.find(b">", at)]
            if f'id="{ref}"'.encode() not in head:
                problems.add("wrapper", f"{element} index: offset {at} of '{ref}' points at another {element}")
    for element, plural in (("spectrum", "spectra"), ("chromatogram", "chromatograms")):
        written = data.count(f"<{element} ".encode())
        if indexed[element] != written:
            problems.add("wrapper", f"{indexed[element]} {element} offsets in the index for {written} {plural}")
    checksum = re.search(rb"<fileChecksum>([0-9a-f]{40})</fileChecksum>", data)
    if not checksum:
        problems.add("wrapper", "no SHA-1 <fileChecksum>")
        return
    covered = data[:checksum.start() + len(b"<fileChecksum>")]
    if hashlib.sha1(covered).hexdigest() != checksum.group(1).decode():
        problems.add("wrapper", "fileChecksum is not the SHA-1 of the bytes up to '<fileChecksum>'")


# ---- the reference dump ------------------------------------------------------

def trailer_reader(dump):
    """A function (scan, label) -> (number, tolerance) or None. A scan whose
    trailer lists fewer labels than the file's header has raw values that do
    not belong to their labels: its formatted values are read instead."""
    header_size = len(dump["file"]["trailer_header"])

    def read(scan, label):
        for entry in scan["trailer"]:
            if entry["label"] != label:
                continue
            if len(scan["trailer"]) == header_size:
                try:
                    return float(entry["raw"]), 0.0
                except (TypeError, ValueError):
                    pass
            text = entry["value"].strip()
            try:
                number = float(text)
            except ValueError:
                return None
            decimals = len(text.split(".")[1]) if "." in text else 0
            return number, 0.5 * 10 ** -decimals
        return None

    return read


def expected_ms_level(scan):
    # Precursor-ion, neutral-loss and neutral-gain scans (negative orders)
    # are tandem scans.
    return scan["ms_order"] if scan["ms_order"] > 0 else 2


def points_as_stored(scan):
    points = scan.get("segmented_incl_ref") or scan["segmented"]
    return points["positions"], points["intensities"]


def merge_repeated_mz(positions, intensities):
    """A peak-picked file holds each m/z of a centroid scan once: points in
    a row at one m/z become one, their intensities added in order."""
    merged_mz, merged_intensity = [], []
    for mz, intensity in zip(positions, intensities):
        if merged_mz and merged_mz[-1] == mz:
            merged_intensity[-1] += intensity
        else:
            merged_mz.append(mz)
            merged_intensity.append(intensity)
    return merged_mz, merged_intensity


# ---- the mzML ------------------------------------------------------------

def cv_params(element):
    """accession -> (value, unitAccession) of the element's own cvParams."""
    return {p.get("accession"): (p.get("value"), p.get("unitAccession"))
            for p in element.findall(NS + "cvParam")}


def decode_array(array, length, compression, where, problems):
    params = cv_params(array)
    binary = array.find(NS + "binary")
    text = (binary.text or "") if binary is not None else ""
    if array.get("encodedLength") != str(len(text)):
        problems.add("arrays", f"{where}: encodedLength {array.get('encodedLength')} for {len(text)} characters")
    if "MS:1000523" not in params:
        problems.add("arrays", f"{where}: not marked as 64-bit float")
        return None
    compressed = "MS:1000574" in params
    if not compressed and "MS:1000576" not in params:
        problems.add("arrays", f"{where}: neither zlib nor no compression named")
    elif compressed != (compression == "zlib"):
        problems.add("arrays", f"{where}: {'zlib' if compressed else 'no'} compression, {compression} expected")
    if length == 0:
        if text:
            problems.add("arrays", f"{where}: an empty array written as '{text[:40]}', not as <binary/>")
        return []
    raw = base64.b64decode(text)
    if compressed:
        raw = zlib.decompress(raw)
    if len(raw) != 8 * length:
        problems.add("arrays", f"{where}: {len(raw)} bytes for defaultArrayLength {length}")
        return None
    return list(struct.unpack(f"<{length}d", raw))


def spectrum_arrays(spectrum, compression, where, problems):
    length = int(spectrum.get("defaultArrayLength", "-1"))
    arrays = {}
    for array in spectrum.iter(NS + "binaryDataArray"):
        params = cv_params(array)
        kind = "mz" if "MS:1000514" in params else "intensity" if "MS:1000515" in params else None
        if kind:
            arrays[kind] = decode_array(array, length, compression, f"{where} {kind} array", problems)
    if set(arrays) != {"mz", "intensity"}:
        problems.add("arrays", f"{where}: arrays {sorted(arrays)}, not an m/z and an intensity array")
    return arrays


def check_arrays(spectrum, scan, expect, where, problems):
    as_stored, text_peaks = expect.as_stored, expect.text_peaks
    arrays = spectrum_arrays(spectrum, expect.compression, where, problems)
    params = cv_params(spectrum)
    centroid, profile = "MS:1000127" in params, "MS:1000128" in params
    if centroid == profile:
        problems.add("spectrum type", f"{where}: centroid {centroid}, profile {profile}")
    stored_centroid = scan["stats"]["is_centroid"]
    if as_stored and centroid != stored_centroid:
        problems.add("spectrum type", f"{where}: centroid {centroid}, stored as centroid {stored_centroid}")
    if not as_stored and not centroid:
        problems.add("spectrum type", f"{where}: not centroid in a peak-picked file")
    if as_stored or stored_centroid:
        positions, intensities = points_as_stored(scan)
        if not as_stored:
            positions, intensities = merge_repeated_mz(positions, intensities)
        for kind, expected in (("mz", positions), ("intensity", intensities)):
            compare_points(arrays.get(kind), expected, True, f"{where} {kind}", "stored", problems)
    elif scan["scan"] in text_peaks:
        for kind, expected in zip(("mz", "intensity"), text_peaks[scan["scan"]]):
            compare_points(arrays.get(kind), expected, False, f"{where} {kind}", "in the MS1/MS2 file", problems)


def compare_points(written, expected, bit_for_bit, where, source, problems):
    """Bit for bit, or to the nine decimals of spexor's text files."""
    if written is None:
        return
    if len(written) != len(expected):
        problems.add("arrays", f"{where}: {len(written)} points, {len(expected)} {source}")
        return
    for i, (a, b) in enumerate(zip(written, expected)):
        same = struct.pack("<d", a) == struct.pack("<d", b) if bit_for_bit else abs(a - b) <= 1e-9 + 1e-15 * abs(b)
        if not same:
            problems.add("arrays", f"{where}: point {i} is {a!r}, {b!r} {source}")
            return


def read_text_peaks(paths):
    """scan -> (m/z list, intensity list) of spexor's MS1 and MS2 files, the
    first block of each scan."""
    peaks = {}
    current = None
    for path in paths:
        with open(path) as f:
            for line in f:
                if line.startswith("S\t"):
                    number = int(line.split("\t")[1])
                    current = None if number in peaks else peaks.setdefault(number, ([], []))
                elif current is not None and line[:1].isdigit():
                    mz, intensity = line.split()
                    current[0].append(float(mz))
                    current[1].append(float(intensity))
    return peaks


def check_value(params, accession, expected, name, where, problems, tolerance=0.0):
    if accession not in params:
        problems.add(name, f"{where}: no {accession}")
        return
    written = float(params[accession][0])
    if not close_enough(written, expected, tolerance):
        problems.add(name, f"{where}: {written!r}, Thermo's library reads {expected!r}")


def minutes(params, where, problems):
    value, unit = params.get("MS:1000016", (None, None))
    if value is None:
        problems.add("retention time", f"{where}: no scan start time")
        return None
    factor = {"UO:0000031": 1.0, "UO:0000010": 1 / 60}.get(unit)
    if factor is None:
        problems.add("retention time", f"{where}: scan start time in unit {unit}")
        return None
    return float(value) * factor


def filter_range_rounding(filter_text):
    """Half a unit of the last decimal of the mass ranges the filter text
    shows ("[491.281-491.283, ...]"): the scan windows may be written so."""
    ranges = re.findall(r"\[([^\]]*)\]", filter_text)
    numbers = re.findall(r"\d+\.(\d+)", ranges[-1]) if ranges else []
    return 0.5 * 10 ** -max(len(n) for n in numbers) + 1e-9 if numbers else 0.0


def check_scan_details(scan_element, scan, trailer, where, problems):
    """Ion injection time, scan windows and FAIMS compensation voltage."""
    params = cv_params(scan_element)
    injection = trailer(scan, "Ion Injection Time (ms):")
    if injection is not None:
        check_value(params, "MS:1000927", injection[0], "ion injection time", where, problems, injection[1])
    windows = [(float(cv_params(w).get("MS:1000501", ("nan",))[0]), float(cv_params(w).get("MS:1000500", ("nan",))[0]))
               for w in scan_element.iter(NS + "scanWindow")]
    expected = [tuple(r) for r in scan["mass_ranges"]]
    rounding = filter_range_rounding(scan["filter"])
    if len(windows) != len(expected) or not all(close_enough(a, b, rounding) for w, r in zip(windows, expected)
                                                 for a, b in zip(w, r)):
        problems.add("scan window", f"{where}: {windows}, the scan's mass ranges are {expected}")
    faims_on = any(entry["label"] == "FAIMS Voltage On:" and entry["value"] in ("Yes", "On", "True")
                   for entry in scan["trailer"])
    compensation = trailer(scan, "FAIMS CV:")
    if faims_on and compensation is not None:
        check_value(params, "MS:1001581", compensation[0], "FAIMS", where, problems, compensation[1])
    elif "MS:1001581" in params:
        problems.add("FAIMS", f"{where}: a compensation voltage where FAIMS is off")


def check_header(spectrum, scan, trailer, where, problems):
    params = cv_params(spectrum)
    level = params.get("MS:1000511", (None,))[0]
    if level != str(expected_ms_level(scan)):
        problems.add("ms level", f"{where}: {level}, expected {expected_ms_level(scan)} (order {scan['ms_order']})")
    polarity = "MS:1000130" if scan["polarity"] == "Positive" else "MS:1000129"
    if [a for a in ("MS:1000130", "MS:1000129") if a in params] != [polarity]:
        problems.add("polarity", f"{where}: not marked {scan['polarity']}")
    stats = scan["stats"]
    check_value(params, "MS:1000285", stats["tic"], "total ion current", where, problems)
    check_value(params, "MS:1000504", stats["base_peak_mass"], "base peak m/z", where, problems)
    check_value(params, "MS:1000505", stats["base_peak_intensity"], "base peak intensity", where, problems)
    check_value(params, "MS:1000528", stats["low_mass"], "lowest m/z", where, problems)
    check_value(params, "MS:1000527", stats["high_mass"], "highest m/z", where, problems)
    scan_element = spectrum.find(f"{NS}scanList/{NS}scan")
    if scan_element is None:
        problems.add("scan", f"{where}: no <scan>")
        return
    scan_params = cv_params(scan_element)
    written_filter = scan_params.get("MS:1000512", (None,))[0]
    if written_filter != scan["filter"]:
        problems.add("filter", f"{where}: {written_filter!r}, Thermo's library reads {scan['filter']!r}")
    rt = minutes(scan_params, where, problems)
    if rt is not None and not close_enough(rt, scan["rt_min"]):
        problems.add("retention time", f"{where}: {rt!r} min, Thermo's library reads {scan['rt_min']!r}")
    check_scan_details(scan_element, scan, trailer, where, problems)


def filter_precursors(filter_text):
    """The precursor m/z values of a filter text ("433.19@cid35.00"), each
    with half a unit of its last decimal."""
    return [(float(text), 0.5 * 10 ** -len(text.split(".")[1]) + 1e-9)
            for text in re.findall(r"(\d+\.\d+)@", filter_text)]


# Activations whose energy is a collision energy (MS:1000045).
COLLISIONAL = {"CollisionInducedDissociation", "HigherEnergyCollisionalDissociation"}
ACTIVATIONS = {
    "CollisionInducedDissociation": "MS:1000133",
    "HigherEnergyCollisionalDissociation": "MS:1000422",
    "ElectronTransferDissociation": "MS:1000598",
    "ElectronCaptureDissociation": "MS:1000250",
    "PQD": "MS:1000599",
}
SUPPLEMENTAL_ACTIVATIONS = {
    "CollisionInducedDissociation": "MS:1002679",
    "HigherEnergyCollisionalDissociation": "MS:1002678",
}


def check_activation(precursor, scan, where, problems):
    """The last precursor's activation: the last reaction's, or, with
    supplemental activation, the one before it at the same precursor with
    the last as supplemental activation."""
    reactions = scan["reactions"]
    main, supplemental = reactions[-1], None
    if (scan.get("supplemental_activation") == "On" and len(reactions) >= 2
            and reactions[-2]["precursor_mass"] == reactions[-1]["precursor_mass"]):
        main, supplemental = reactions[-2], reactions[-1]
    element = precursor.find(NS + "activation")
    params = cv_params(element) if element is not None else {}
    expected = ACTIVATIONS.get(main["activation"])
    if expected is None:
        return
    if expected not in params:
        problems.add("activation", f"{where}: no {expected} for {main['activation']}; terms {sorted(params)}")
    if main["collision_energy_valid"] and main["activation"] in COLLISIONAL:
        check_value(params, "MS:1000045", main["collision_energy"], "activation", where, problems)
    if supplemental is not None:
        term = SUPPLEMENTAL_ACTIVATIONS.get(supplemental["activation"])
        if term not in params:
            problems.add("activation", f"{where}: no supplemental {term} for {supplemental['activation']}")
        check_value(params, "MS:1002680", supplemental["collision_energy"], "activation", where, problems)


ION_TRAPS = {"MS:1000083", "MS:1000082", "MS:1000264", "MS:1000291"}
QUADRUPOLES = {"MS:1000081"}


def expected_analyzers(scan, model):
    """The analyzer terms a scan's instrument configuration may name."""
    if scan["analyzer"] == "MassAnalyzerFTMS":
        return {"MS:1000079"} if "LTQ FT" in model else {"MS:1000484"}
    if scan["analyzer"] == "MassAnalyzerITMS":
        return ION_TRAPS
    if scan["analyzer"] == "Any" and model.startswith("TSQ"):
        return QUADRUPOLES
    return None


def check_analyzer(spectrum, scan, description, where, problems):
    expected = expected_analyzers(scan, description.model)
    if expected is None:
        return
    scan_element = spectrum.find(f"{NS}scanList/{NS}scan")
    ref = scan_element.get("instrumentConfigurationRef") if scan_element is not None else None
    ref = ref or description.default_configuration
    analyzers = description.analyzers.get(ref)
    if analyzers is None:
        problems.add("analyzer", f"{where}: instrument configuration {ref!r} is not in the file")
    elif not analyzers & expected:
        problems.add("analyzer", f"{where}: configuration {ref!r} has analyzer {sorted(analyzers)} for "
                                 f"{scan['analyzer']}, expected one of {sorted(expected)}")


def expected_precursor_scan(scan, scans, trailer):
    """The scan the precursor was isolated from: the trailer's master scan
    when it is an earlier scan one MS level lower, else the last such scan
    before; None when there is none."""
    level = expected_ms_level(scan) - 1
    master = trailer(scan, "Master Scan Number:")
    if master is not None and 0 < master[0] < scan["scan"]:
        named = scans.get(int(master[0]))
        if named is not None and expected_ms_level(named) == level:
            return named["scan"]
    for number in range(scan["scan"] - 1, 0, -1):
        if number in scans and expected_ms_level(scans[number]) == level:
            return number
    return None


def check_precursor_scan(precursor, scan, scans, trailer, where, problems):
    expected = expected_precursor_scan(scan, scans, trailer)
    ref = precursor.get("spectrumRef")
    written = int(ref.rsplit("scan=", 1)[1]) if ref and "scan=" in ref else None
    if written != expected:
        problems.add("precursor scan", f"{where}: spectrumRef {ref!r}, the precursor was isolated from scan {expected}")


def check_precursor(spectrum, scan, scans, trailer, where, problems):
    precursors = spectrum.findall(f"{NS}precursorList/{NS}precursor")
    if expected_ms_level(scan) == 1:
        if precursors:
            problems.add("precursor", f"{where}: an MS1 scan with {len(precursors)} precursor(s)")
        return
    if not precursors:
        # A neutral-loss or precursor-ion scan selects no single precursor.
        if scan["ms_order"] > 0:
            problems.add("precursor", f"{where}: no precursor")
        return
    if not scan["reactions"]:
        return
    targets = []
    for precursor in precursors:
        window = precursor.find(NS + "isolationWindow")
        params = cv_params(window) if window is not None else {}
        if "MS:1000827" not in params:
            problems.add("precursor", f"{where}: a precursor without isolation window target")
            return
        targets.append((float(params["MS:1000827"][0]), params, precursor))
    # The filter's precursor m/z: written at its stored precision or as the
    # filter text rounds it (two to four decimals).
    shown = filter_precursors(scan["filter"])
    last_mass = scan["reactions"][-1]["precursor_mass"]
    rounding = shown[-1][1] if shown else 5e-5
    target, window, precursor = targets[-1]
    if not close_enough(target, last_mass, rounding):
        problems.add("precursor", f"{where}: isolation target {target!r}, the filter's precursor {last_mass!r}")
        return
    for other, _, _ in targets:
        if not any(close_enough(other, r["precursor_mass"], rounding) for r in scan["reactions"]):
            problems.add("precursor", f"{where}: isolation target {other!r} is none of the filter's precursors")

    level = expected_ms_level(scan)
    width = trailer(scan, f"MS{level} Isolation Width:") or trailer(scan, "MSn Isolation Width:")
    lower = upper = None
    if width is not None and width[0] > 0:
        half, tolerance = width[0] / 2, width[1] / 2
        for accession, name in (("MS:1000828", "lower"), ("MS:1000829", "upper")):
            written = float(window.get(accession, ("nan",))[0])
            if not close_enough(written, half, tolerance):
                problems.add("isolation window", f"{where}: {name} offset {written!r}, half the trailer's width is {half!r}")
        lower, upper = target - half - tolerance, target + half + tolerance

    ions = precursor.findall(f"{NS}selectedIonList/{NS}selectedIon")
    if len(ions) != 1:
        problems.add("selected ion", f"{where}: {len(ions)} selected ions")
        return
    ion = cv_params(ions[0])
    mono = trailer(scan, "Monoisotopic M/Z:")
    expected = target
    if mono is not None and mono[0] > 0 and lower is not None and lower <= mono[0] <= upper:
        expected = mono[0]
    check_value(ion, "MS:1000744", expected, "selected ion", where, problems, 5e-5)

    check_activation(precursor, scan, where, problems)
    check_precursor_scan(precursor, scan, scans, trailer, where, problems)

    charge = trailer(scan, "Charge State:")
    written_charge = ion.get("MS:1000041", (None,))[0]
    if charge is not None and charge[0] > 0:
        if written_charge != str(int(charge[0])):
            problems.add("charge", f"{where}: {written_charge}, the trailer's charge state is {int(charge[0])}")
    elif written_charge is not None:
        problems.add("charge", f"{where}: charge {written_charge} where the trailer has none")


def check_spectrum(spectrum, scans, trailer, expect, description, written, problems):
    """Checks one spectrum against the scan its native id names; `written`
    collects the scan numbers in file order."""
    native_id = spectrum.get("id", "")
    where = f"spectrum {native_id}"
    found = re.fullmatch(r"controllerType=0 controllerNumber=1 scan=(\d+)", native_id)
    if not found or int(found.group(1)) not in scans:
        problems.add("spectrum list", f"{where}: not the native id of a scan of the RAW file")
        return
    number = int(found.group(1))
    if spectrum.get("index") != str(len(written)):
        problems.add("spectrum list", f"{where}: index {spectrum.get('index')} at position {len(written)}")
    if written and number <= written[-1]:
        problems.add("spectrum list", f"{where}: after scan {written[-1]}")
    written.append(number)
    scan = scans[number]
    check_header(spectrum, scan, trailer, where, problems)
    check_precursor(spectrum, scan, scans, trailer, where, problems)
    check_arrays(spectrum, scan, expect, where, problems)
    check_analyzer(spectrum, scan, description, where, problems)


# ---- the file ------------------------------------------------------------

class Description:
    """What the file says before its spectra, gathered as they are read."""

    def __init__(self, dump):
        self.model = dump["file"]["instrument"]["model"]
        self.source_files = []
        self.params = []  # every cvParam group of the param groups and instrument configurations
        self.default_configuration = None
        self.analyzers = {}  # instrument configuration id -> its analyzer terms
        self._analyzers = set()

    def take(self, tag, element):
        if tag == "sourceFile":
            self.source_files.append(cv_params(element))
        elif tag == "analyzer":
            self._analyzers.update(cv_params(element))
        elif tag == "instrumentConfiguration":
            self.analyzers[element.get("id")] = self._analyzers
            self._analyzers = set()
        if tag in ("referenceableParamGroup", "instrumentConfiguration"):
            self.params.extend(cv_params(e) for e in element.iter() if e.find(NS + "cvParam") is not None)


def check_file_description(description, dump, raw_sha1, problems):
    if not any(params.get("MS:1000569", (None,))[0] == raw_sha1 for params in description.source_files):
        problems.add("source file", f"no source file with the RAW file's SHA-1 {raw_sha1}")
    serial = dump["file"]["instrument"]["serial_number"]
    if serial:
        written = [v for params in description.params for a, (v, _) in params.items() if a == "MS:1000529"]
        if serial not in written:
            problems.add("instrument", f"serial number {written}, the RAW file's is {serial!r}")


def check_start_time(run, dump, problems):
    stamp = run.get("startTimeStamp")
    expected = datetime.datetime.fromisoformat(dump["file"]["creation_date_iso"][:19])
    try:
        written = datetime.datetime.fromisoformat(stamp.replace("Z", "+00:00")[:19]) if stamp else None
    except ValueError:
        written = None
    if written is None or abs((written - expected).total_seconds()) > 1:
        problems.add("start time", f"run startTimeStamp {stamp!r}, the RAW file was created {expected.isoformat()}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("mzml")
    parser.add_argument("dump")
    parser.add_argument("raw")
    parser.add_argument("--as-stored", action="store_true", help="the file was written with spexor -p")
    parser.add_argument("--compression", choices=("zlib", "none"), default="zlib",
                        help="the arrays' compression: zlib by default, none with -mzml-nozlib")
    parser.add_argument("--text", action="append", default=[],
                        help="spexor's MS1 or MS2 file of the same run (-m 9 -i 9), whose peaks the peak-picked "
                             "scans must have")
    args = parser.parse_args()

    problems = Problems()
    check_wrapper(args.mzml, problems)
    with gzip.open(args.dump, "rt", encoding="utf-8") as f:
        dump = json.load(f)
    with open(args.raw, "rb") as f:
        raw_sha1 = hashlib.sha1(f.read()).hexdigest()
    trailer = trailer_reader(dump)
    expect = Expectations(args.as_stored, read_text_peaks(args.text), args.compression)
    scans = {scan["scan"]: scan for scan in dump["scans"]}
    description = Description(dump)
    written = []
    for event, element in ET.iterparse(args.mzml, events=("start", "end")):
        tag = element.tag[len(NS):] if element.tag.startswith(NS) else element.tag
        if event == "start":
            if tag == "run":
                description.default_configuration = element.get("defaultInstrumentConfigurationRef")
                check_file_description(description, dump, raw_sha1, problems)
                check_start_time(element, dump, problems)
            elif tag == "spectrumList" and element.get("count") != str(len(scans)):
                problems.add("spectrum list", f"count {element.get('count')}, the RAW file has {len(scans)} scans")
        elif tag == "spectrum":
            check_spectrum(element, scans, trailer, expect, description, written, problems)
            element.clear()
        else:
            description.take(tag, element)
    missing = sorted(set(scans) - set(written))
    if missing:
        problems.add("spectrum list", f"{len(missing)} scan(s) not written: {missing[:10]}")
    return problems.close()


if __name__ == "__main__":
    sys.exit(main())
