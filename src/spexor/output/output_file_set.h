#pragma once

struct RawFileJob;

// Enables the job's slots from its settings, creates each enabled slot's
// file with its writer and header lines. A slot whose file would be the RAW
// file itself, or cannot be created, is reported on standard error and left
// disabled for this file.
void OpenOutputs(RawFileJob& job);

// Creates the empty marker file when the job writes MS1 and MS2 in merged mode.
void CreateMarkerFile(const RawFileJob& job);

// Closes every open file, releases the writers and removes each file that
// received no spectrum.
void CloseOutputs(RawFileJob& job);
