#include "spexor/driver/parameter_keys.h"

#include "platform/ascii_case.h"
#include "platform/code_page.h"
#include "spexor/driver/parameter_text.h"
#include "spexor/driver/settings_error.h"

std::string ParameterLineError(int lineNumber, const std::string& description) {
    return "** Error in parameter file **\nLine " + std::to_string(lineNumber) + ": " + description + "\n";
}

namespace {

[[noreturn]] void Raise(int lineNumber, const std::string& description) {
    throw SettingsError(ParameterLineError(lineNumber, description));
}

void ApplyExtension(OutputKinds& kinds, const std::string& value, int line) {
    const std::vector<std::string> items = SplitBarList(platform::ToUpperAscii(value));
    if (!items.empty()) kinds.mgf = false;
    for (const std::string& item : items) {
        if (item == "MS1") {
            kinds.ms1 = true;
        } else if (item == "MS2") {
            kinds.ms2 = true;
        } else if (item == "MGF") {
            kinds.mgf = true;
        } else if (item == "KSD") {
            kinds.ksd = true;
        } else if (item == "MZML") {
            kinds.mzml = true;
        } else {
            Raise(line, "error extension type, supporting values are MS1, MS2, MGF, KSD, and MZML");
        }
    }
}

// "ON" or "OFF" in any case; anything else raises `description`.
bool OnOff(const std::string& value, int line, const std::string& description) {
    const std::string upper = platform::ToUpperAscii(value);
    if (upper == "ON") return true;
    if (upper != "OFF") Raise(line, description);
    return false;
}

bool IsDigitOneToNine(char c) { return c >= '1' && c <= '9'; }

int SingleDigit(const std::string& value, int line, const std::string& description) {
    if (value.size() != 1 || !IsDigitOneToNine(value[0])) Raise(line, description);
    return value[0] - '0';
}

void ApplyCharge(RunSettings& settings, const std::string& value, int line) {
    if (value.size() != 3 || !IsDigitOneToNine(value[0]) || value[1] != '-' || !IsDigitOneToNine(value[2])) {
        Raise(line, "error charge range");
    }
    settings.chargeMin = value[0] - '0';
    settings.chargeMax = value[2] - '0';
}

}  // namespace

void ApplyParameter(ConfigurationInput& input, const std::string& key, const std::string& value, int line) {
    RunSettings& settings = input.settings;
    if (key == "extension") {
        ApplyExtension(settings.outputKinds, value, line);
    } else if (key == "input_file_path") {
        for (const std::string& item : SplitBarList(value)) input.inputs.push_back(platform::FromNarrow(item));
    } else if (key == "output_file_path") {
        settings.outputDirectory = platform::FromNarrow(value);
    } else if (key == "activation") {
        const std::string upper = platform::ToUpperAscii(value);
        if (upper == "ALL") {
            settings.activationMode = ActivationMode::merged;
        } else if (upper == "NONE") {
            settings.activationMode = ActivationMode::split;
        } else {
            Raise(line, "error activation type, legal values are ALL and NONE");
        }
    } else if (key == "centroided") {
        settings.centroided = OnOff(value, line, "error centroided value, only ON and OFF");
    } else if (key == "isotope") {
        settings.isotopeMode = OnOff(value, line, "error isotope mode value, only ON and OFF");
    } else if (key == "mz") {
        settings.mzDecimals = SingleDigit(value, line, "error mz value");
    } else if (key == "intensity") {
        settings.intensityDecimals = SingleDigit(value, line, "error intensity value");
    } else if (key == "charge") {
        ApplyCharge(settings, value, line);
    } else if (key == "mzml_compression") {
        settings.mzmlCompression = OnOff(value, line, "error mzml_compression value, only ON and OFF");
    } else {
        Raise(line, "no such name " + key);
    }
}
