#pragma once

// The points of a stored profile: ion-trap profiles list every stored bin
// at its m/z; FT profiles convert bin frequencies to m/z with the scan
// event's coefficients and pad the gaps between chunks with zero points,
// as Thermo's library lists them.

#include <vector>

#include "rawfile/backend.h"
#include "rawfile/native/standard_packet.h"

namespace rawfile::native {

// Type 19: point j of a chunk starting at bin b lies at first + (b + j + 1) * step + fudge.
Status AppendIonTrapProfile(const ProfileBlock& profile, std::vector<double>* pairs);

// Type 21: frequencies first + bin * step, converted with `coefficients`
// (4 values for FT-ICR, 5 or 7 for Orbitrap analyzers).
Status AppendFtProfile(const ProfileBlock& profile, const std::vector<double>& coefficients,
                       std::vector<double>* pairs);

}  // namespace rawfile::native
