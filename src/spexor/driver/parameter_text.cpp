#include "spexor/driver/parameter_text.h"

namespace {
constexpr std::string_view kTrimmed = " \t\n\r\v\f\a\b";
}  // namespace

std::string TrimParameterText(std::string_view text) {
    const auto first = text.find_first_not_of(kTrimmed);
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(kTrimmed);
    return std::string(text.substr(first, last - first + 1));
}

std::vector<std::string> SplitBarList(std::string_view text) {
    std::vector<std::string> items;
    std::string_view::size_type start = 0;
    while (start <= text.size()) {
        auto bar = text.find('|', start);
        if (bar == std::string_view::npos) bar = text.size();
        if (bar > start) items.emplace_back(text.substr(start, bar - start));
        start = bar + 1;
    }
    return items;
}
