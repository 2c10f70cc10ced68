#pragma once

// Damaged copies of the real RAW files for the robustness tests: a few cuts
// and a few sets of flipped bytes per file, at fixed places so every run
// tests the same copies.

#include <string>
#include <vector>

namespace robustness {

struct DamagedCopy {
    std::string what;  // "small.RAW cut to 1356 bytes", ...
    std::string bytes;
};

// Cuts after the file header, at a third and one byte short of the end; one
// bit flipped at twelve places across the file and at twelve places in its
// last twelfth; four words set to 0xFFFFFFFF in its last fifth (where the
// scan index, scan events and trailer records lie).
std::vector<DamagedCopy> DamagedCopies(const std::string& name, const std::string& bytes);

}  // namespace robustness
