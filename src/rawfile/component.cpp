#include "rawfile/component.h"

#include "common/xrawfile.h"
#include "platform/com.h"
#include "rawfile/raw_component.h"

namespace rawfile {

platform::IUnknown* CreateComponent() { return static_cast<xrawfile::IXRawfile*>(new RawComponent); }

void RegisterComponent() {
    platform::RegisterClass(xrawfile::kClassId, {xrawfile::kProgIdMsFileReader, xrawfile::kProgIdXRawfile},
                            CreateComponent);
}

}  // namespace rawfile
