#include "rawfile/scan_filter.h"

#include <cctype>
#include <charconv>

namespace rawfile {

namespace {

std::string_view Trimmed(std::string_view text) {
    size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) return {};
    size_t end = text.find_last_not_of(" \t");
    return text.substr(begin, end - begin + 1);
}

bool Passes(RawBackend& backend, const ScanFilter& filter, int32_t scan) {
    int32_t order = 0;
    return backend.GetMsOrder(scan, &order) == kOk && order == *filter.msOrder;
}

}  // namespace

bool ParseScanFilter(std::string_view text, ScanFilter* filter) {
    text = Trimmed(text);
    filter->msOrder.reset();
    if (text.empty()) return true;
    if (text.size() < 2 || std::tolower(static_cast<unsigned char>(text[0])) != 'm' ||
        std::tolower(static_cast<unsigned char>(text[1])) != 's') {
        return false;
    }
    std::string_view digits = text.substr(2);
    if (digits.empty()) return true;
    int32_t order = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), order);
    if (error != std::errc() || end != digits.data() + digits.size() || order < 1) return false;
    filter->msOrder = order;
    return true;
}

Status AnsweringScan(RawBackend& backend, const ScanFilter& filter, int32_t scan, int32_t* answering) {
    if (!filter.msOrder) {
        *answering = scan;
        return kOk;
    }
    int32_t order = 0;
    if (Status status = backend.GetMsOrder(scan, &order); status != kOk) return status;
    if (order == *filter.msOrder) {
        *answering = scan;
        return kOk;
    }
    int32_t first = 0;
    int32_t last = 0;
    if (Status status = backend.GetScanRange(&first, &last); status != kOk) return status;
    for (int64_t later = int64_t{scan} + 1; later <= last; ++later) {
        if (Passes(backend, filter, static_cast<int32_t>(later))) {
            *answering = static_cast<int32_t>(later);
            return kOk;
        }
    }
    for (int64_t earlier = int64_t{scan} - 1; earlier >= first; --earlier) {
        if (Passes(backend, filter, static_cast<int32_t>(earlier))) {
            *answering = static_cast<int32_t>(earlier);
            return kOk;
        }
    }
    return kNoSuchScan;
}

}  // namespace rawfile
