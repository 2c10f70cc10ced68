#pragma once

// The component's VARIANT form of a trailer value.

#include "platform/com.h"
#include "rawfile/trailer_value.h"

namespace rawfile {

// Puts `value` into `variant` (cleared first) with its type tag; a text
// becomes a new system string the variant owns.
void PutTrailerVariant(const TrailerValue& value, platform::VARIANT* variant);

}  // namespace rawfile
