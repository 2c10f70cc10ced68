#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/com.h"

// Turns the component's answer to a trailer extra value call into a number,
// the same way for both readers, and clears the variant of the answer.
//
// A failed call prints the trailer failure line for `label` and `scan` and
// gives 0. A value of a type the conversion does not take prints its line on
// standard error and gives 0.

// The integer a variant of one of the integer types holds (I1, I2, I4, INT,
// I8 and their unsigned kinds), widened; none for any other type.
std::optional<int64_t> VariantInteger(const platform::VARIANT& value);

// R4 (widened) and R8.
double TakeTrailerDouble(bool callSucceeded, platform::VARIANT& value, const std::string& label, int scan);

// I1 and I2 sign-extended, UI1 and UI2, the 32-bit types as they stand, and
// the low 32 bits of I8 and UI8.
int TakeTrailerInt(bool callSucceeded, platform::VARIANT& value, const std::string& label, int scan);
