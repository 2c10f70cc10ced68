#include <exception>

#include "brisel/brisel_app.h"
#include "platform/command_line.h"
#include "platform/memory_reuse.h"
#include "platform/message_box.h"
#include "rawfile/component.h"

// brisel converts the RAW files named on its command line into MS1 files
// beside them. It reports problems in message boxes and always exits with 0.
int main(int argc, char** argv) {
    platform::SetProcessArguments(argc, argv);
    platform::KeepLargeBlocksForReuse();
    rawfile::RegisterComponent();
    try {
        CBriselApp app;
        app.InitInstance();
    } catch (const std::exception& error) {
        platform::AfxMessageBox(error.what(), platform::MB_OK);
    }
    return 0;
}
