#include "brisel/filter_text.h"

namespace {

constexpr char kCentroidMark = 'c';
constexpr std::string_view::size_type kAnalyzerCentroidIndex = 7;

bool BeginsWithPolarity(std::string_view filter) {
    return !filter.empty() && (filter.front() == '+' || filter.front() == '-');
}

// The blank-separated token that follows the leading polarity sign.
std::string_view TokenAfterPolarity(std::string_view filter) {
    const auto start = filter.find_first_not_of(' ', 1);
    if (start == std::string_view::npos) return {};
    const auto end = filter.find(' ', start);
    return filter.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

}  // namespace

bool IsMs2Filter(std::string_view filter) {
    const auto at = filter.find("ms");
    if (at == std::string_view::npos) return false;
    const auto next = at + 2;
    return next < filter.size() && filter[next] == '2';
}

bool IsCentroidFilter(std::string_view filter) {
    if (BeginsWithPolarity(filter)) return TokenAfterPolarity(filter) == std::string_view(&kCentroidMark, 1);
    return filter.size() > kAnalyzerCentroidIndex && filter[kAnalyzerCentroidIndex] == kCentroidMark;
}

std::string InstrumentTypeOf(std::string_view filter) {
    const auto blank = filter.find(' ');
    std::string type(filter.substr(0, blank));
    if (type == "+") type = "ITMS";
    return type;
}
