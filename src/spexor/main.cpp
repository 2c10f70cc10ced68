#include "platform/command_line.h"
#include "platform/console.h"
#include "platform/fatal_error.h"
#include "platform/memory_reuse.h"
#include "rawfile/component.h"
#include "spexor/driver/spexor_app.h"

// A completed run ends with status 0. A fatal error ends the run at once:
// it travels up to here (its message written, or carried to be written
// now), and the open output files, flushed as they are destroyed on the
// way, keep what they hold.
int main(int argc, char** argv) {
    platform::SetProcessArguments(argc, argv);
    platform::KeepLargeBlocksForReuse();
    rawfile::RegisterComponent();
    try {
        SpexorApp app;
        return app.InitInstance() ? 0 : platform::ProcessExitStatus(platform::kFatalExitStatus);
    } catch (const platform::FatalError& error) {
        if (error.CarriesMessage()) platform::WriteLine(platform::Stream::Err, error.what());
        return error.ExitStatus();
    }
}
