#pragma once

struct RawFileJob;

// Opens the job's outputs from its settings: each wanted slot's file with
// its writer and header lines. A slot whose file would be the RAW file
// itself, or cannot be created, is reported on standard error, counted as
// failed and left closed for this file.
void OpenOutputs(RawFileJob& job);

// Creates the empty marker file when the job writes MS1 and MS2 in merged
// mode. A marker that cannot be made is reported, counted as failed and
// not left behind.
void CreateMarkerFile(RawFileJob& job);

// Closes every open file, releases the writers and removes each file that
// received no spectrum, and each file whose writing failed (counted as
// failed), so that no cut-off file is left looking complete.
void CloseOutputs(RawFileJob& job);

// True when a writer that describes the file in full (mzML) is open.
bool DescribesRun(const RawFileJob& job);
