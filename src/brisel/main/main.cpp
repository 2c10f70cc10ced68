#include <exception>
#include <string_view>

#include "brisel/brisel_app.h"
#include "platform/command_line.h"
#include "platform/console.h"
#include "platform/memory_reuse.h"
#include "platform/message_box.h"
#include "rawfile/component.h"

// brisel converts the RAW files named on its command line into MS1 files
// beside them. It reports problems in message boxes and always exits with 0.
// "--version" as the only argument prints "brisel" and the version instead.
int main(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        platform::WriteLine(platform::Stream::Out, "brisel " BRISEL_VERSION);
        return 0;
    }
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
