#include "rawfile/native/instrument_info.h"

namespace rawfile::native {

namespace {

constexpr uint64_t kUnknownLeadBytes = 8;

}  // namespace

InstrumentInfo ReadInstrumentInfo(const ByteReader& file, uint64_t address) {
    ByteReader in = file.Region(address, address <= file.size() ? file.size() - address : 0);
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

}  // namespace rawfile::native
