#pragma once

// Conversion between the program's wide texts and the system's narrow code
// page. Both are UTF-8 here, so the conversion keeps every byte.

#include <string>
#include <string_view>

namespace platform {

std::string ToNarrow(std::string_view wide);
std::string FromNarrow(std::string_view narrow);

}  // namespace platform
