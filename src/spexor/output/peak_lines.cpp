#include "spexor/output/peak_lines.h"

#include <algorithm>
#include <cstring>

#include "spexor/output/number_format.h"

PeakLines::PeakLines(int mzDecimals, int intensityDecimals)
    : mzDecimals_(std::max(0, mzDecimals)), intensityDecimals_(std::max(0, intensityDecimals)) {}

void PeakLines::Reserve(std::size_t room) {
    if (capacity_ - size_ >= room) return;
    const std::size_t capacity = std::max(2 * capacity_, size_ + 64 * room);
    std::unique_ptr<char[]> grown(new char[capacity]);
    if (size_ > 0) std::memcpy(grown.get(), text_.get(), size_);
    text_ = std::move(grown);
    capacity_ = capacity;
}

void PeakLines::Format(const SpectrumRecord& record) {
    const std::size_t lineRoom = MaxFixedChars(mzDecimals_) + MaxFixedChars(intensityDecimals_) + 2;
    size_ = 0;
    for (int32_t i = 0; i < record.peakCount; ++i) {
        Reserve(lineRoom);
        const Peak& peak = record.peaks[i];
        char* at = text_.get() + size_;
        at = WriteFixed(at, peak.mz, mzDecimals_);
        *at++ = ' ';
        at = WriteFixed(at, peak.intensity, intensityDecimals_);
        *at++ = '\n';
        size_ = static_cast<std::size_t>(at - text_.get());
    }
}
