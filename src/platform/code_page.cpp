#include "platform/code_page.h"

namespace platform {

std::string ToNarrow(std::string_view wide) { return std::string(wide); }

std::string FromNarrow(std::string_view narrow) { return std::string(narrow); }

}  // namespace platform
