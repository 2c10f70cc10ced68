#include "rawfile/native/instrument_info.h"

namespace rawfile::native {

namespace {

constexpr uint64_t kUnknownLeadBytes = 8;
constexpr uint64_t kFirstWindow = 4096;
constexpr uint64_t kLargestWindow = 1 << 20;  // five short texts never come near this

// The texts at the cursor; all empty when they do not read whole.
InstrumentInfo ReadTexts(ByteReader& in) {
    in.Skip(kUnknownLeadBytes);
    const uint32_t extraTextFlag = in.U32();
    InstrumentInfo info;
    info.name = in.PString();
    info.model = in.PString();
    if (extraTextFlag != 0) {
        in.SkipPString();
    }
    info.serialNumber = in.PString();
    info.softwareVersion = in.PString();
    info.hardwareVersion = in.PString();
    return in.ok() ? info : InstrumentInfo();
}

}  // namespace

InstrumentInfo ReadInstrumentInfo(const FileBytes& file, uint64_t address) {
    InstrumentInfo info;
    ReadBuffer buffer;
    ReadGrowing(file, address, kFirstWindow, kLargestWindow, buffer, [&info](ByteReader in) {
        info = ReadTexts(in);
        return in.ok();
    });
    return info;
}

}  // namespace rawfile::native
