#include "spexor/driver/settings_source.h"

#include "platform/ascii_case.h"
#include "platform/console.h"
#include "spexor/driver/command_line_options.h"
#include "spexor/driver/parameter_file.h"
#include "spexor/driver/usage_texts.h"

bool IsParameterFileArgument(const std::string& argument) {
    const std::string upper = platform::ToUpperAscii(argument);
    return upper.size() >= 3 && upper.compare(upper.size() - 3, 3, "INI") == 0;
}

SettingsRequest ObtainSettings(int argc, const std::string* argv) {
    if (argc < 2) {
        WriteUsageBlock();
        return {SettingsRequest::Kind::usage, std::nullopt};
    }
    if (argc == 2) {
        if (argv[1] == "--help") {
            PrintHelp();
            return {SettingsRequest::Kind::help, std::nullopt};
        }
        if (argv[1] == "--version") {
            platform::WriteLine(platform::Stream::Out, "spexor " SPEXOR_VERSION);
            return {SettingsRequest::Kind::version, std::nullopt};
        }
        if (IsParameterFileArgument(argv[1])) return {SettingsRequest::Kind::run, ReadParameterFile(argv[1])};
    }
    return {SettingsRequest::Kind::run, ParseCommandLine(argc, argv)};
}
