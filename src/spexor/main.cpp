#include "platform/command_line.h"
#include "platform/process.h"
#include "rawfile/component.h"
#include "spexor/driver/spexor_app.h"

int main(int argc, char** argv) {
    platform::SetProcessArguments(argc, argv);
    rawfile::RegisterComponent();
    SpexorApp app;
    // A completed run ends with status 0; every failure has already ended
    // the process with its own status.
    if (!app.InitInstance()) platform::ExitProcess(platform::kFatalExitStatus);
    return 0;
}
