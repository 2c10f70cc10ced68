#pragma once

#include "platform/fatal_error.h"

// A RAW file the reader cannot open: the open itself, the choice of its
// mass spectrometer or its scan range failed (the reader has written its
// lines). Fatal for the run unless it is asked to go on with the next file.
class OpenFailure : public platform::FatalError {
public:
    OpenFailure() = default;
};
