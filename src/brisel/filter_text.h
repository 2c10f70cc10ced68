#pragma once

// What brisel reads from a scan's filter text, the component's one-line
// description of a scan such as "FTMS + p NSI Full ms [350.00-1800.00]".

#include <string>
#include <string_view>

// True when the first "ms" of the text is followed by "2". A text without
// "ms" is not an MS2 scan; "ms3" and "ms" scans are not MS2 scans.
bool IsMs2Filter(std::string_view filter);

// True when the text marks centroid data. A text that begins with a
// four-letter analyzer ("FTMS + c ...") carries the mark at index 7; a text
// that begins with its polarity sign ("+ c ESI ...", as triple-quadrupole
// files write them) carries it in the token after the sign. A text too short
// to hold the mark is profile data.
bool IsCentroidFilter(std::string_view filter);

// The text up to its first blank (all of it when it has none); a lone "+"
// stands for an ion trap and gives "ITMS".
std::string InstrumentTypeOf(std::string_view filter);
