#include "spexor/driver/parameter_file.h"

#include <fstream>
#include <utility>

#include "platform/file_entry.h"
#include "spexor/console/console_lines.h"
#include "spexor/driver/parameter_keys.h"
#include "spexor/driver/parameter_text.h"
#include "spexor/driver/settings_error.h"

namespace {

bool IsSectionLabel(const std::string& line) { return line == "[required]" || line == "[optional]"; }

// One trimmed line: blank lines, comments and the two labels are skipped.
void ReadLine(ConfigurationInput& input, const std::string& line, int lineNumber) {
    if (line.empty() || line[0] == '#') return;
    if (line[0] == '[') {
        if (IsSectionLabel(line)) return;
        throw SettingsError(
            ParameterLineError(lineNumber, "illegal label, only [required] and [optional] are allowed"));
    }
    const auto equals = line.find('=');
    if (equals == std::string::npos) throw SettingsError("Error: Not an appropriate parameter file!\n");
    // Only the line and the value are trimmed: blanks before "=" stay in the key.
    ApplyParameter(input, line.substr(0, equals), TrimParameterText(line.substr(equals + 1)), lineNumber);
}

}  // namespace

ConfigurationInput ReadParameterText(std::istream& text) {
    ConfigurationInput input;
    std::string line;
    // Lines are read whole, however long: a long path stays one path.
    for (int lineNumber = 1; std::getline(text, line); ++lineNumber) {
        ReadLine(input, TrimParameterText(line), lineNumber);
    }
    return input;
}

RunSettings ReadParameterFile(const std::string& path) {
    std::ifstream file;
    if (platform::LookUpEntry(path) != platform::EntryKind::folder) file.open(path);
    if (!file.is_open()) {
        throw SettingsError(console::ExceptionLine("Failed to open parameter file " + path + "! "));
    }
    return CompleteSettings(ReadParameterText(file));
}
