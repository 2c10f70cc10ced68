#pragma once

// Names of the files written beside a RAW file. They are derived from the
// RAW path by characters, not by reading an extension: D:/data/run07.raw
// gives D:/data/run07.MS1 and D:/data/run07.MS1.Log.

#include <string>
#include <string_view>

// The RAW path without its last three characters, followed by "MS1". A path
// of fewer than three characters is kept whole ("ab" gives "abMS1").
// Characters are UTF-8 code points, so a multi-byte character is removed whole.
std::string Ms1PathFor(std::string_view rawPath);

// The MS1 path followed by ".Log".
std::string LogPathFor(std::string_view ms1Path);
