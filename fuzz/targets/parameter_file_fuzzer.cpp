// libFuzzer target for the parameter-file reader: each input is the text of
// a parameter file. The only exception allowed out of the reader is a
// SettingsError; anything else reaches libFuzzer, which reports it.
//
// Rules checked: an error is either the "not an appropriate parameter file"
// text or a line-numbered message naming one of the text's lines; settings
// read from a file keep decimals and charges single digits from 1 to 9,
// never turn on MS3 output, and list only non-empty inputs without bars;
// and the text reads the same with its line breaks written as CR LF.

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "spexor/driver/parameter_file.h"
#include "spexor/driver/settings_error.h"

namespace {

using fuzz::Require;

struct Outcome {
    bool read = false;
    std::string error;
    ConfigurationInput input;
};

Outcome Read(const std::string& text) {
    Outcome outcome;
    std::istringstream stream(text);
    try {
        outcome.input = ReadParameterText(stream);
        outcome.read = true;
    } catch (const SettingsError& error) {
        outcome.error = error.what();
    }
    return outcome;
}

bool SameSettings(const ConfigurationInput& a, const ConfigurationInput& b) {
    const RunSettings& x = a.settings;
    const RunSettings& y = b.settings;
    return a.inputs == b.inputs && x.outputKinds.ms1 == y.outputKinds.ms1 && x.outputKinds.ms2 == y.outputKinds.ms2 &&
           x.outputKinds.ms3 == y.outputKinds.ms3 && x.outputKinds.mgf == y.outputKinds.mgf &&
           x.outputKinds.ksd == y.outputKinds.ksd && x.outputDirectory == y.outputDirectory &&
           x.activationMode == y.activationMode && x.centroided == y.centroided && x.isotopeMode == y.isotopeMode &&
           x.mzDecimals == y.mzDecimals && x.intensityDecimals == y.intensityDecimals && x.chargeMin == y.chargeMin &&
           x.chargeMax == y.chargeMax;
}

bool SingleDigit(int value) { return value >= 1 && value <= 9; }

void Check(const Outcome& outcome, const std::string& text) {
    if (!outcome.read) {
        const std::string& error = outcome.error;
        static const std::string kNotParameterFile = "Error: Not an appropriate parameter file!\n";
        static const std::string kHeading = "** Error in parameter file **\nLine ";
        if (error == kNotParameterFile) {
            return;
        }
        Require(error.rfind(kHeading, 0) == 0, "an error is the line-numbered message");
        // A key holding a NUL byte cuts the message short there (what() ends at the NUL).
        Require(error.back() == '\n' || text.find('\0') != std::string::npos, "the message ends its line");
        const size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
        const unsigned long line = std::stoul(error.substr(kHeading.size()));
        Require(line >= 1 && line <= lines, "an error names one of the text's lines");
        return;
    }
    const RunSettings& settings = outcome.input.settings;
    Require(SingleDigit(settings.mzDecimals) && SingleDigit(settings.intensityDecimals), "decimals from 1 to 9");
    Require(SingleDigit(settings.chargeMin) && SingleDigit(settings.chargeMax), "charges from 1 to 9");
    Require(settings.chargeMin <= settings.chargeMax, "the first charge not above the last");
    Require(!settings.outputKinds.ms3, "a parameter file never asks for MS3 output");
    for (const std::string& input : outcome.input.inputs) {
        Require(!input.empty() && input.find('|') == std::string::npos, "inputs are non-empty and hold no bars");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const Outcome outcome = Read(text);
    Check(outcome, text);

    std::string crlf;
    crlf.reserve(text.size() + text.size() / 8);
    for (char c : text) {
        if (c == '\n') {
            crlf += '\r';
        }
        crlf += c;
    }
    const Outcome again = Read(crlf);
    Require(again.read == outcome.read && again.error == outcome.error, "CR LF line breaks give the same error");
    if (outcome.read) {
        Require(SameSettings(again.input, outcome.input), "CR LF line breaks give the same settings");
    }
    return 0;
}
