#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

#include "spexor/output/scan_record.h"

// A record's peak lines ("m/z intensity\n" with the run's decimals),
// formatted once and written for every block of the record. The buffer is
// kept from record to record.
class PeakLines {
public:
    // A negative number of decimals makes no valid conversion; such a
    // setting writes no decimals.
    PeakLines(int mzDecimals, int intensityDecimals);

    void Format(const SpectrumRecord& record);
    std::string_view Text() const { return std::string_view(text_.get(), size_); }

private:
    void Reserve(std::size_t room);

    int mzDecimals_;
    int intensityDecimals_;
    std::unique_ptr<char[]> text_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};
