#pragma once

#include "platform/com.h"

// Reading a trailer extra value the component answered with. A value of a
// type the conversion does not take prints its line on standard error and
// gives 0. The variant is left as it is; the caller clears it.

// R4 (widened) and R8; anything else gives 0.0.
double TrailerValueAsDouble(const platform::VARIANT& value);

// I1 and I2 sign-extended, UI1 and UI2, the 32-bit types as they stand, and
// the low 32 bits of I8 and UI8; anything else gives 0.
int TrailerValueAsInt(const platform::VARIANT& value);
