#!/usr/bin/env python3
"""Writes the seed corpus of every fuzz target, built from synthetic
structures laid out as docs/rawfile-format.md describes them (no real RAW
file is read or copied).

    fuzz/make_seeds.py OUTDIR

makes OUTDIR/<target>/ for each target, each holding a few well-formed
inputs in the layout that target reads (see the comment at the top of each
target's source).
"""

import os
import struct
import sys

# ---------------------------------------------------------------- basics


def u8(v):
    return struct.pack("<B", v & 0xFF)


def u16(v):
    return struct.pack("<H", v & 0xFFFF)


def u32(v):
    return struct.pack("<I", v & 0xFFFFFFFF)


def i32(v):
    return struct.pack("<i", v)


def u64(v):
    return struct.pack("<Q", v)


def f32(v):
    return struct.pack("<f", v)


def f64(v):
    return struct.pack("<d", v)


def pstr(text):
    units = text.encode("utf-16-le")
    return i32(len(units) // 2) + units


# ---------------------------------------------------------------- scan events

OLDEST_VERSION, NEWEST_VERSION = 57, 66
PREAMBLE_SIZES = (80, 120, 128, 132)


def event_layout(version):
    """(preamble size, word after the preamble, reaction size, trailing lists)."""
    if version < 62:
        preamble = 80
    elif version < 63:
        preamble = 120
    elif version < 66:
        preamble = 128
    else:
        preamble = 132
    longest = version >= 66
    return (preamble, longest, 56 if longest else 32, 3 if longest else 2)


def known_layouts():
    """The layouts in the order the scan event target numbers them."""
    layouts = []
    for version in range(OLDEST_VERSION, NEWEST_VERSION + 1):
        own = event_layout(version)
        for layout in [own] + [(size,) + own[1:] for size in PREAMBLE_SIZES if size != own[0]]:
            if layout not in layouts:
                layouts.append(layout)
    return layouts


def reaction(layout, mz, width, energy, activation, energy_valid=True):
    body = f64(mz) + f64(width) + f64(energy) + u32((activation << 1) | (1 if energy_valid else 0))
    return body + bytes(layout[2] - len(body))


def scan_event(layout, polarity=1, data_type=1, ms_order=1, scan_type=0, source_fragmentation=1, dependent=0,
               ionization=5, wideband=0, analyzer=4, supplemental=0, scan_rate=0, reactions=(),
               ranges=((350.0, 2000.0),), coefficients=(), sid_energies=()):
    preamble = bytearray(layout[0])
    for at, value in ((4, polarity), (5, data_type), (6, ms_order), (7, scan_type), (8, source_fragmentation),
                      (10, dependent), (11, ionization), (32, wideband), (40, analyzer), (120, supplemental),
                      (129, scan_rate)):
        if at < len(preamble):
            preamble[at] = value & 0xFF
    out = bytes(preamble)
    if layout[1]:
        out += u32(0)
    out += u32(len(reactions)) + b"".join(reactions)
    out += u32(len(ranges)) + b"".join(f64(low) + f64(high) for low, high in ranges)
    out += u32(len(coefficients)) + b"".join(f64(c) for c in coefficients)
    out += u32(len(sid_energies)) + b"".join(f64(e) for e in sid_energies)
    for _ in range(1, layout[3]):
        out += u32(0)
    return out


ORBITRAP_COEFFICIENTS = (0.0, 0.0, 0.0, 3.6e13, -1.0e9, 0.0, 0.0)


def sample_events(layout):
    """Events of the kinds the files hold: MS1 and MSn on both analyzers."""
    cid = reaction(layout, 810.79, 2.0, 35.0, 0)
    hcd = reaction(layout, 445.12, 1.6, 28.0, 5)
    etd = reaction(layout, 612.3, 2.0, 0.0, 4, energy_valid=False)
    any_ = reaction(layout, 526.258, 0.7, 20.0, 6)
    return [
        scan_event(layout, coefficients=ORBITRAP_COEFFICIENTS),
        scan_event(layout, data_type=0, ms_order=2, dependent=1, analyzer=0, ionization=3, reactions=[cid],
                   ranges=((210.0, 1635.0),)),
        scan_event(layout, data_type=0, ms_order=3, dependent=1, supplemental=1, reactions=[cid, hcd, etd],
                   ranges=((100.0, 1000.0),), coefficients=ORBITRAP_COEFFICIENTS[:5]),
        scan_event(layout, polarity=0, data_type=0, ms_order=2, scan_type=3, analyzer=1, ionization=3,
                   reactions=[any_], ranges=((181.653, 182.582), (507.779, 508.708))),
        scan_event(layout, ms_order=-1, scan_type=6, analyzer=6, source_fragmentation=0, sid_energies=(15.0,),
                   reactions=[any_], scan_rate=1, wideband=1),
        scan_event(layout, data_type=1, ms_order=1, scan_type=2, ranges=((400.0, 410.0), (500.0, 510.0),
                                                                        (600.0, 610.0)), coefficients=(0, 1e8, 2e14, 0)),
    ]


# ---------------------------------------------------------------- packets

DOUBLE_MASSES = 0x10000
FUDGE = 0x1


def standard_packet(profile=b"", peaks=b"", descriptors=b"", extra=b"", noise=b"", extension=b"", flags=0,
                    segments=1, segment_ranges=()):
    blocks = (profile, peaks, descriptors, extra, noise, extension)
    for block in blocks:
        assert len(block) % 4 == 0
    words = [len(b) // 4 for b in blocks]
    header = (u32(segments) + u32(words[0]) + u32(words[1]) + u32(flags) + u32(words[2]) + u32(words[3]) +
              u32(words[4]) + u32(words[5]) + bytes(8))
    ranges = b"".join(f32(low) + f32(high) for low, high in segment_ranges)
    return header + ranges + b"".join(blocks)


def profile_block(first, step, bins, chunks, fudge=False):
    """chunks: (first bin, [intensities], fudge value)."""
    out = f64(first) + f64(step) + u32(len(chunks)) + u32(bins)
    for start, values, correction in chunks:
        out += u32(start) + u32(len(values))
        if fudge:
            out += f32(correction)
        out += b"".join(f32(v) for v in values)
    return out


def peak_list(segments, doubles=False):
    out = b""
    for peaks in segments:
        out += u32(len(peaks))
        for mz, intensity in peaks:
            out += (f64(mz) if doubles else f32(mz)) + f32(intensity)
    return out


def sample_packets():
    """(type, packet) pairs of every standard packet type."""
    ft_chunks = [(20, [0.0, 15.0, 900.0, 140.0, 0.0], 0.0), (40, [5.0, 7.0], 0.001), (200, [1.0], -0.002)]
    trap_chunks = [(0, [3.0, 4.0, 5.0], 0.0), (10, [8.0, 9.0], 0.0)]
    return [
        (21, standard_packet(profile=profile_block(300000.0, -2.5, 400, ft_chunks))),
        (21, standard_packet(profile=profile_block(300000.0, -2.5, 205, ft_chunks, fudge=True), flags=FUDGE)),
        (21, standard_packet(profile=profile_block(500000.0, 1.0, 1000, [(990, [2.0] * 3, 0.0)]),
                             peaks=peak_list([[(400.1, 900.0)]]))),
        (19, standard_packet(profile=profile_block(200.0, 0.1, 20, trap_chunks))),
        (18, standard_packet(peaks=peak_list([[(150.1, 30.0), (250.2, 45.0), (333.3, 1.0)]]))),
        (20, standard_packet(peaks=peak_list([[(400.11, 150.0), (401.2, 12.0)]], doubles=True), flags=DOUBLE_MASSES,
                             noise=bytes(16), extension=bytes(8))),
        (20, standard_packet(peaks=peak_list([[(182.0, 10.0)], [(508.1, 20.0), (508.3, 5.0)]]), segments=2,
                             segment_ranges=((507.779, 508.708),))),
        (18, standard_packet(descriptors=bytes(12), extra=bytes(4))),
    ]


COEFFICIENT_SETS = ((), (0.0, 1e8, 2e14, 0.0), ORBITRAP_COEFFICIENTS[:5], ORBITRAP_COEFFICIENTS, (1.0, 2.0, 3.0))


def coefficients_prefix(coefficients):
    return u8(len(coefficients)) + b"".join(f64(c) for c in coefficients)


def segment_record(low, high, step, offset, version):
    """28 bytes from format version 64 on, 20 (offset word first) before."""
    if version < 64:
        return u32(offset) + f32(low) + f32(high) + f64(step)
    return u32(0) + f32(low) + f32(high) + f64(step) + u32(offset) + u32(0)


def segmented_profile(data_address_gap, segments, version):
    """Type 16: f32 intensities, then the segment table. Returns (bytes
    before the table counted from the data address, table offset, records).
    segments: (low, high, step, [intensities])."""
    block = b""
    starts = []
    for low, high, step, values in segments:
        starts.append(len(block))
        block += b"".join(f32(v) for v in values)
    records = b""
    for s, (low, high, step, _) in enumerate(segments):
        records += segment_record(low, high, step, data_address_gap if s == 0 else starts[s], version)
    records += segment_record(0, 0, 0, len(block), version)
    return block, records, len(segments) + 1


def centroid_segments(data_address_gap, peaks, version, segments=1):
    """Type 24: n (f32, f32) peaks, n flag bytes, the segment table."""
    body = b"".join(f32(mz) + f32(i) for mz, i in peaks) + bytes(len(peaks))
    records = segment_record(100.0, 200.0, 0.0, data_address_gap, version)
    for _ in range(1, segments):
        records += segment_record(200.0, 300.0, 0.0, 0, version)
    records += segment_record(0, 0, 0, 8 * len(peaks), version)
    return body, records, segments + 1


# ---------------------------------------------------------------- trailer headers

FIELD_SIZES = {0: 0, 1: 1, 2: 1, 3: 1, 4: 1, 5: 1, 6: 2, 7: 2, 8: 4, 9: 4, 10: 4, 11: 8}


def field_size(code, length):
    if code == 12:
        return length
    if code == 13:
        return 2 * length
    return FIELD_SIZES[code]


def trailer_header(fields):
    """fields: (type code, length or precision, label)."""
    return u32(len(fields)) + b"".join(u32(code) + u32(length) + pstr(label) for code, length, label in fields)


def trailer_record(fields, values):
    out = b""
    for (code, length, _), value in zip(fields, values):
        size = field_size(code, length)
        if code in (1,):
            out += struct.pack("<b", value)
        elif code in (2, 3, 4, 5):
            out += u8(value)
        elif code == 6:
            out += struct.pack("<h", value)
        elif code == 7:
            out += u16(value)
        elif code == 8:
            out += i32(value)
        elif code == 9:
            out += u32(value)
        elif code == 10:
            out += f32(value)
        elif code == 11:
            out += f64(value)
        elif code == 12:
            out += value.encode("latin-1")[:size].ljust(size, b"\0")
        elif code == 13:
            out += value.encode("utf-16-le")[:size].ljust(size, b"\0")
    return out


SCAN_TRAILER = [
    (0, 0, "Trailer Extra Information:"),
    (6, 0, "Charge State:"),
    (11, 4, "Monoisotopic M/Z:"),
    (10, 2, "Ion Injection Time (ms):"),
    (3, 0, "Master Scan Number:"),
    (12, 8, "Scan Description:"),
]


def scan_trailer_values(scan):
    return [None, 2 + scan % 2, 445.12 + scan, 12.5, scan % 2, "desc%d" % scan]


EVERY_TYPE = [(code, {10: 2, 11: 4, 12: 6, 13: 5}.get(code, 0), "Field %d:" % code) for code in range(14)]
EVERY_TYPE_VALUES = [None, -5, 1, 0, 1, 200, -1234, 60000, -123456, 4000000000, 1.5, 2.25, "caf\u00e9", "\u00b5s\u4e2d"]


# ---------------------------------------------------------------- RAW files

FILE_HEADER_SIZE = 1356


def wide(version):
    return version >= 64


def file_header(version, creation=0x01D9_0000_0000_0000):
    out = bytearray(FILE_HEADER_SIZE)
    out[0:2] = u16(0xA101)
    out[2:18] = "Finnigan".encode("utf-16-le")
    out[36:40] = u32(version)
    out[40:48] = u64(creation)
    return bytes(out)


def sequencer_row(version):
    texts = 13 + 3 + (15 if version >= 60 else 0)
    out = bytes(64)
    for i in range(texts):
        out += pstr("sample.raw" if i == 10 else "")
        if i == 15:
            out += u32(0)
    return out


def autosampler_info():
    return bytes(24) + pstr("")


def raw_file_info(version, addresses):
    if version < 64:
        size, table, entry = 804, 44, 12
    elif version < 66:
        size, table, entry = 1840, 824, 16
    else:
        size, table, entry = 1856, 824, 16
    out = bytearray(size)
    out[28:32] = u32(len(addresses))
    out[32:36] = u32(1)
    for i, address in enumerate(addresses):
        at = table + i * entry
        out[at:at + (8 if wide(version) else 4)] = u64(address) if wide(version) else u32(address)
    return bytes(out)


def run_header_size(version):
    return 7576 if wide(version) else 7408


def run_header(version, first, last, error_count, trailer_count, precision, addresses):
    """addresses: scan index, data, instrument log, error log, scan event, trailer extra (absolute)."""
    out = bytearray(run_header_size(version))
    out[0:4] = u32(1)
    out[8:12] = i32(first)
    out[12:16] = i32(last)
    out[20:24] = u32(error_count)
    out[7380:7384] = u32(trailer_count)
    out[7404:7408] = u32(precision)
    if wide(version):
        for at, value in zip((7408, 7416, 7424, 7432), addresses[:4]):
            out[at:at + 8] = u64(value)
        for at, value in zip((7448, 7456), addresses[4:]):
            out[at:at + 8] = u64(value)
    else:
        for at, value in zip((28, 32, 36, 40), addresses[:4]):
            out[at:at + 4] = u32(value)
        for at, value in zip((7368, 7372), addresses[4:]):
            out[at:at + 4] = u32(value)
    return bytes(out)


def instrument_info():
    return bytes(8) + u32(0) + b"".join(pstr(t) for t in ("Orbitrap Fusion", "Orbitrap Fusion", "FSN20000",
                                                          "3.0.2041", "", "", "", ""))


def index_entry(version, offset, event, segment, type_word, size, minutes):
    entry_size = 72 if version < 64 else (80 if version < 65 else 88)
    out = bytearray(entry_size)
    out[0:4] = u32(offset)
    out[8:10] = u16(event)
    out[10:12] = u16(segment)
    out[16:20] = u32(type_word)
    out[20:24] = u32(size)
    out[24:32] = f64(minutes)
    if wide(version):
        out[72:80] = u64(offset)
    return bytes(out)


def acquisition(version, kind):
    """The structures after the run header, relative to their start (which is
    where the instrument information lies): (tail bytes, relative addresses
    of scan index, data, instrument log, error log, scan event, trailer
    extra, first scan, last scan, error log count, trailer count)."""
    layout = event_layout(version)
    tail = instrument_info()
    data_address = len(tail)
    packets = b""
    entries = []
    events = []
    templates = [[scan_event(layout, data_type=0, ms_order=2, scan_type=3, analyzer=1, ionization=3,
                             reactions=[reaction(layout, 526.258, 0.7, 20.0, 6)], ranges=((100.0, 300.0),))]]
    per_scan = True
    if kind == "dda":
        samples = sample_packets()
        chosen = [samples[0], samples[4], samples[5], samples[3]]
        scan_events = sample_events(layout)
        for n, (type_, packet) in enumerate(chosen):
            entries.append((len(packets), 0, 0, type_, len(packet), 0.5 + n * 0.01))
            packets += packet
            events.append(scan_events[n])
    elif kind == "srm":
        per_scan = False
        # One type-24 and one type-16 scan, their events from the template.
        body, records, count = centroid_segments(len(packets), [(150.0, 10.0), (151.0, 20.0)], version)
        packets += body
        entries.append((len(packets), 0, 0, 24, count, 0.1))
        packets += records
        start = len(packets)
        block, records, count = segmented_profile(start, [(100.0, 101.0, 0.5, [1.0, 2.0, 3.0]),
                                                          (200.0, 200.5, 0.25, [4.0, 5.0])], version)
        packets += block
        entries.append((len(packets), 0, 0, 16, count, 0.2))
        packets += records
    elif kind == "many":
        # More scans than one block of the event stream holds (256), so
        # that asking for scans moves between blocks.
        event = scan_event(layout, data_type=0, ms_order=2, analyzer=0, ranges=(),
                           reactions=[reaction(layout, 500.0, 2.0, 35.0, 0)])
        for n in range(260):
            packet = standard_packet(peaks=peak_list([[(100.0 + n, 1.0 + n)]]) if n % 10 == 0 else b"")
            entries.append((len(packets), 0, 0, 18, len(packet), n * 0.01))
            packets += packet
            events.append(event)
    elif kind == "empty":
        pass
    tail += packets
    scan_index = len(tail)
    for offset, event, segment, type_, size, minutes in entries:
        tail += index_entry(version, offset, event, segment, type_, size, minutes)
    scan_event_address = len(tail)
    leading = len(entries) if version < 66 else 0
    tail += u32(leading)
    if per_scan:
        tail += b"".join(events)
    trailer_extra = len(tail)
    for n in range(len(entries)):
        tail += trailer_record(SCAN_TRAILER, scan_trailer_values(n + 1))
    error_log = len(tail)
    errors = [(0.3, "Lock mass not found")] if kind == "dda" else []
    tail += u32(0) + b"".join(f32(t) + pstr(m) for t, m in errors)
    tail += u32(len(templates)) + b"".join(u32(len(s)) + b"".join(s) for s in templates)
    tail += trailer_header(SCAN_TRAILER)
    first, last = (1, len(entries)) if entries else (0, 0)
    addresses = (scan_index, data_address, 0, error_log, scan_event_address, trailer_extra)
    return tail, addresses, first, last, len(errors), len(entries)


PRECISION = 4


def raw_file(version, kind, extra_controller=False):
    """A whole RAW file of that version: header chain, then the acquisition."""
    tail, relative, first, last, errors, trailers = acquisition(version, kind)
    header = file_header(version) + sequencer_row(version) + autosampler_info()
    info_size = len(raw_file_info(version, []))
    first_header = len(header) + info_size
    headers = []
    if extra_controller:
        headers.append(run_header(version, 0, 0, 0, 0, 0, (0, 0, 0, 0, 0, 0)))
    base = first_header + run_header_size(version) * (len(headers) + 1)
    addresses = [a + base if i != 2 else 0 for i, a in enumerate(relative)]
    headers.append(run_header(version, first, last, errors, trailers, PRECISION, addresses))
    table = [first_header + i * run_header_size(version) for i in range(len(headers))]
    return header + raw_file_info(version, table) + b"".join(headers) + tail


def header_chain_input(version_byte, flags, kind, version):
    """The header-chain target's input: version selector, controller flags,
    the run header's values and relative addresses, then the acquisition."""
    tail, relative, first, last, errors, trailers = acquisition(version, kind)
    knobs = i32(first) + i32(last) + u32(errors) + u32(trailers) + u32(PRECISION) + u64(0x01D9_0000_0000_0000)
    knobs += b"".join(u32(a) for a in relative)
    return u8(version_byte) + u8(flags) + knobs + tail


# ---------------------------------------------------------------- texts

FIXTURES = [
    """rawfixture 1
created 45000.5
scan 1
filter FTMS + p NSI Full ms [350.00-1800.00]
rt 0.5
trailer R4 Ion Injection Time (ms):=12.5
points 400.10 0 400.11 150 400.12 900 400.13 140 400.14 0
scan 2
filter ITMS + c NSI d Full ms2 445.12@cid35.00 [110.00-1000.00]
rt 0.52
trailer I2 Charge State:=2
trailer R8 Monoisotopic M/Z:=445.1200
p 150.1 30
p 250.2 45
fail trailer:Ion Injection Time (ms):
""",
    """rawfixture 1\r
range 1 5\r
fail open 9\r
fail date\r
# a comment\r
scan 3\r
order 3\r
trailer BSTR Scan Description:=a b c\r
trailer VT7 Date:=45000.25\r
trailer VT11 Flag:=1\r
trailer VT64 Tagged:=17\r
trailer UI8 Big:=18446744073709551615\r
trailer I1 Small:=-128\r
fail masslist 5\r
""",
    """rawfixture 1
range 10 2
fail controller
fail first -2
fail last
fail close
fail filter 7
fail rt
fail trailer 4
""",
    """rawfixture 1
scan -4
filter ms3
trailer UINT A:=4294967295
trailer INT B:=-2147483648
trailer UI1 C:=255
trailer UI2 D:=65535
trailer UI4 E:=4294967295
trailer I4 F:=+12
trailer I8 G:=-9223372036854775808
trailer VT0 H:=
scan 7
points 1 2 3 4
""",
]

PARAMETER_FILES = [
    """[required]
input_file_path = /data/run1.raw|/data/run2.raw|/data/folder/
output_file_path = /data/out/
extension = MS1|MS2|MGF|KSD
[optional]
activation = ALL
centroided = ON
isotope = off
mz = 5
intensity = 1
charge = 2-3
""",
    "# only a comment\n\n   \t\n[optional]\nactivation=NONE\ncentroided=OFF\nmz=9\nintensity=3\ncharge=1-9\n",
    "input_file_path=a.raw\r\nextension=mgf|ms2\r\nisotope=ON\r\n",
    "[required]\nbogus line\n",
    "[other]\n",
    "extension=MS3\n",
    "mz=0\n",
    "no_such_key=1\n",
]

OPTION_LISTS = [
    ["-ms1", "-ms2", "-ms3", "-mgf", "-ksd", "-a", "-o", "out/split", "examples/demo.raw"],
    ["-ms", "-h", "-p", "-m", "4", "-i", "2", "-z", "1-4", "-j", "4", "/data/a.raw", "/data/"],
    ["-j", "256", "a.raw"],
    ["-j", "0"],
    ["-j", "1000"],
    ["-c", "-m", "x", "file.raw"],
    ["--help"],
    ["-o"],
    ["-z", "12"],
    ["-i", "/"],
    ["-unknown"],
    ["", "plain", "-mgf"],
]


# ---------------------------------------------------------------- seeds


def seeds():
    """(target, name, bytes) of every seed."""
    out = []
    for index, layout in enumerate(known_layouts()):
        for n, event in enumerate(sample_events(layout)):
            precision = (2, 3, 4, 0, 1, 22)[n]
            out.append(("scan_event_fuzzer", "layout%d-event%d" % (index, n), u8(index) + u8(precision) + event))
    for n, (type_, packet) in enumerate(sample_packets()):
        for c, coefficients in enumerate(COEFFICIENT_SETS):
            out.append(("standard_packet_fuzzer", "type%d-%d-c%d" % (type_, n, c),
                        coefficients_prefix(coefficients) + packet))
        if type_ in (20, 21):
            gap = b"\xEE" * (8 * n)  # bytes before the data address
            lead = b"\xDD" * 12  # packets before this one
            file_ = gap + lead + packet + b"\xCC" * 4
            for c, coefficients in enumerate(COEFFICIENT_SETS[1:4]):
                control = u8(1 if type_ == 21 else 0) + coefficients_prefix(coefficients)
                control += u16(len(gap)) + u16(len(lead)) + u32(len(packet))
                out.append(("ft_packet_fuzzer", "type%d-%d-c%d" % (type_, n, c), control + file_))
    out.append(("trailer_fuzzer", "scan", trailer_header(SCAN_TRAILER) +
                trailer_record(SCAN_TRAILER, scan_trailer_values(1))))
    out.append(("trailer_fuzzer", "every-type", trailer_header(EVERY_TYPE) +
                trailer_record(EVERY_TYPE, EVERY_TYPE_VALUES)))
    out.append(("trailer_fuzzer", "short-record", trailer_header(EVERY_TYPE) +
                trailer_record(EVERY_TYPE, EVERY_TYPE_VALUES)[:20]))
    out.append(("trailer_fuzzer", "empty", u32(0)))
    for n, text in enumerate(FIXTURES):
        out.append(("fixture_parser_fuzzer", "fixture%d" % n, text.encode("utf-8")))
    for n, text in enumerate(PARAMETER_FILES):
        out.append(("parameter_file_fuzzer", "parameters%d" % n, text.encode("utf-8")))
    for n, arguments in enumerate(OPTION_LISTS):
        out.append(("options_fuzzer", "options%d" % n, b"\0".join(a.encode("utf-8") for a in arguments)))
    out.append(("native_backend_fuzzer", "v57-many", raw_file(57, "many")))
    for version in (57, 64, 66):
        for kind in ("dda", "srm", "empty"):
            out.append(("native_backend_fuzzer", "v%d-%s" % (version, kind), raw_file(version, kind)))
            out.append(("header_chain_fuzzer", "v%d-%s" % (version, kind),
                        header_chain_input(version - 57, 0, kind, version)))
        out.append(("native_backend_fuzzer", "v%d-two-controllers" % version,
                    raw_file(version, "dda", extra_controller=True)))
        out.append(("header_chain_fuzzer", "v%d-two-controllers" % version,
                    header_chain_input(version - 57, 1, "dda", version)))
        out.append(("header_chain_fuzzer", "v%d-dda-copied" % version,
                    header_chain_input(version - 57, 2, "dda", version)))
        out.append(("header_chain_fuzzer", "v%d-srm-copied" % version,
                    header_chain_input(version - 57, 2, "srm", version)))
    out.append(("header_chain_fuzzer", "v67", header_chain_input(240, 0, "empty", 66)))
    for version in (57, 64, 66):
        tail, relative, first, last, errors, trailers = acquisition(version, "srm")
        data = relative[1]
        for type_, entry_at in ((24, 0), (16, 1)):
            # The type-16/24 target: the file is the acquisition; the entry's
            # offset and record count are those the index holds.
            index = relative[0] + entry_at * len(index_entry(version, 0, 0, 0, 0, 0, 0))
            offset = struct.unpack_from("<I", tail, index)[0]
            count = struct.unpack_from("<I", tail, index + 20)[0]
            narrow = 2 if version < 64 else 0  # the target's bit for 20-byte records
            control = u8((0 if type_ == 24 else 1) | narrow) + u16(data) + u16(offset) + u16(count)
            out.append(("tq_packet_fuzzer", "v%d-type%d" % (version, type_), control + tail))
    return out


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_seeds.py OUTDIR")
    root = sys.argv[1]
    for target, name, data in seeds():
        folder = os.path.join(root, target)
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, name), "wb") as seed:
            seed.write(data)


if __name__ == "__main__":
    main()
