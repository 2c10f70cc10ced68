#pragma once

// A scan event: how one scan was acquired (analyzer, polarity, data type,
// MS order, reactions, mass ranges, frequency conversion coefficients).
// Events are stored one after another without an index; their size depends
// on their counts and on the file version.

#include <cstdint>
#include <vector>

#include "rawfile/native/byte_reader.h"

namespace rawfile::native {

struct EventLayout {
    uint64_t preambleSize = 0;
    bool wordAfterPreamble = false;
    uint64_t reactionSize = 0;
    int trailingLists = 0;
};

// The layout of the file version's events.
EventLayout EventLayoutFor(uint32_t version);
// The same layout with each other known preamble size, to try when the
// version's own does not fit the stream.
std::vector<EventLayout> AlternativeEventLayouts(const EventLayout& layout);

struct Reaction {
    double precursorMz = 0;
    double isolationWidth = 0;
    double collisionEnergy = 0;
    uint32_t flags = 0;  // bit 0: energy valid; bits 1 and up: activation code

    uint32_t ActivationCode() const { return flags >> 1; }
    bool EnergyValid() const { return (flags & 1u) != 0; }
};

struct MassRange {
    double low = 0;
    double high = 0;
};

struct ScanEvent {
    uint8_t polarity = 0;    // 0 negative, 1 positive
    uint8_t dataType = 0;    // 0 centroid, 1 profile
    int8_t msOrder = 0;      // 1 = MS1, 2 = MS2 ...; -1 precursor-ion, -2 neutral-loss scan
    uint8_t scanType = 0;    // 0 Full, 6 Q1MS ...
    uint8_t dependent = 0;   // 1: data dependent
    uint8_t ionization = 0;  // 3 ESI, 5 NSI ...
    uint8_t wideband = 0;    // 1: wideband activation
    uint8_t analyzer = 0;    // 0 ITMS, 4 FTMS, 6 undefined ...
    uint8_t scanRate = 0;    // 1: rapid (only in the longest preamble)
    // The on/off switches below hold 1 (or 0, where noted) for "on" and
    // other values for "off" or "any".
    uint8_t sourceFragmentation = 1;     // 0: in-source CID on
    uint8_t supplementalActivation = 0;  // 1: on (only in preambles longer than 120 bytes)
    std::vector<Reaction> reactions;
    std::vector<MassRange> massRanges;
    std::vector<double> coefficients;
    // The first list after the coefficients: the in-source CID energy
    // when that is on.
    std::vector<double> sourceFragmentationEnergies;
};

// Reads one event at the cursor; false (cursor failed) when it does not fit.
bool ReadScanEvent(ByteReader& in, const EventLayout& layout, ScanEvent* event);
// Steps over one event at the cursor with the same checks.
bool SkipScanEvent(ByteReader& in, const EventLayout& layout);

}  // namespace rawfile::native
