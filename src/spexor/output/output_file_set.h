#pragma once

struct RawFileJob;

// Opens the job's outputs from its settings: each wanted slot's staged file
// (written under a temporary name, made when its first bytes are written)
// with its writer and what the file starts with. What an earlier run left
// under an output's name, the marker's included, is removed. A slot whose
// file would be the RAW file itself, or whose name holds something that
// cannot be removed, is reported on standard error, counted as failed and
// left closed for this file.
void OpenOutputs(RawFileJob& job);

// Finishes and closes every open file and releases the writers. Files that
// received a spectrum take their final names, all together, when none of
// the RAW file's outputs failed, and then the empty marker file is made
// when the job writes MS1 and MS2 in merged mode (it tells that the merged
// outputs are there; not for a file none of whose scans could be read).
// When any output, the marker included, failed (reported and counted), none
// is left under its final name, so that no cut-off file, nor one beside
// it, looks complete. Files that received no spectrum were never made.
void CloseOutputs(RawFileJob& job);

// True when a writer that describes the file in full (mzML) is open.
bool DescribesRun(const RawFileJob& job);
