#pragma once

// Pieces of mzML XML written straight into an output file.

#include <cstdint>
#include <string_view>

#include "spexor/output/mzml_vocabulary.h"
#include "spexor/output/output_file.h"

// Text with the characters XML gives a meaning to (& < > " ') as references.
void PutEscaped(OutputFile& out, std::string_view text);
// A double in the shortest form that reads back as the same double.
void PutDouble(OutputFile& out, double value);
void PutInteger(OutputFile& out, int64_t value);

// <cvParam .../> and a line end; value and unit optional. Elements are not
// indented: a reader has no use for the blanks, and every byte of the file
// is written, hashed and read again.
void PutCvParam(OutputFile& out, const CvTerm& term, std::string_view value = {}, const CvUnit* unit = nullptr);
void PutCvParam(OutputFile& out, const CvTerm& term, double value, const CvUnit* unit = nullptr);
void PutUserParam(OutputFile& out, std::string_view name, std::string_view value);

// The Thermo native id of a scan: "controllerType=0 controllerNumber=1 scan=N".
void PutNativeId(OutputFile& out, int32_t scan);
