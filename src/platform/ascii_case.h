#pragma once

// Letter case of ASCII letters only; every other byte is left alone.

#include <string>
#include <string_view>

namespace platform {

std::string ToUpperAscii(std::string_view text);

}  // namespace platform
