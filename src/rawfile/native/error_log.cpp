#include "rawfile/native/error_log.h"

namespace rawfile::native {

bool SkipErrorLog(ByteReader& file, uint32_t count) {
    file.U32();  // 0, or the record count in some files: not relied on
    for (uint32_t i = 0; i < count && file.ok(); ++i) {
        file.F32();  // retention time
        file.SkipPString();
    }
    return file.ok();
}

}  // namespace rawfile::native
