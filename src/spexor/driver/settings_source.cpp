#include "spexor/driver/settings_source.h"

#include "platform/ascii_case.h"
#include "platform/process.h"
#include "spexor/driver/command_line_options.h"
#include "spexor/driver/parameter_file.h"
#include "spexor/driver/usage_texts.h"

bool IsParameterFileArgument(const std::string& argument) {
    const std::string upper = platform::ToUpperAscii(argument);
    return upper.size() >= 3 && upper.compare(upper.size() - 3, 3, "INI") == 0;
}

RunSettings ObtainSettings(int argc, const std::string* argv) {
    if (argc < 2) {
        WriteUsageBlock();
        platform::ExitProcess(platform::kFatalExitStatus);
    }
    if (argc == 2) {
        if (argv[1] == "--help") {
            ParseCommandLine(argc, argv);
            platform::ExitProcess(0);
        }
        if (IsParameterFileArgument(argv[1])) return ReadParameterFile(argv[1]);
    }
    return ParseCommandLine(argc, argv);
}
