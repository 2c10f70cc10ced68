// libFuzzer target for the option parser: the input is split at NUL bytes
// into the arguments after the program path. The only exception allowed out
// of the parser is a SettingsError; the help text goes to /dev/null.
//
// Rules checked: an error carries exactly the option-error text; parsed
// options name at least one output kind, keep only arguments that are not
// options (or are empty) as inputs, give decimals of 0 or more and 1 to 256
// threads (0 when not given), and one more
// plain argument at the end adds exactly that input and changes nothing
// else.

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "spexor/driver/command_line_options.h"
#include "spexor/driver/settings_error.h"
#include "spexor/driver/usage_texts.h"

namespace {

using fuzz::Require;

struct Outcome {
    bool read = false;
    std::string error;
    ConfigurationInput input;
};

Outcome Read(const std::vector<std::string>& arguments) {
    Outcome outcome;
    try {
        outcome.input = ReadOptions(static_cast<int>(arguments.size()), arguments.data());
        outcome.read = true;
    } catch (const SettingsError& error) {
        outcome.error = error.what();
    }
    return outcome;
}

bool SameSettings(const RunSettings& x, const RunSettings& y) {
    return x.outputKinds.ms1 == y.outputKinds.ms1 && x.outputKinds.ms2 == y.outputKinds.ms2 &&
           x.outputKinds.ms3 == y.outputKinds.ms3 && x.outputKinds.mgf == y.outputKinds.mgf &&
           x.outputKinds.ksd == y.outputKinds.ksd && x.outputDirectory == y.outputDirectory &&
           x.activationMode == y.activationMode && x.centroided == y.centroided && x.isotopeMode == y.isotopeMode &&
           x.mzDecimals == y.mzDecimals && x.intensityDecimals == y.intensityDecimals && x.chargeMin == y.chargeMin &&
           x.chargeMax == y.chargeMax && x.threads == y.threads;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const int quiet = open("/dev/null", O_WRONLY);
    Require(quiet >= 0 && dup2(quiet, STDOUT_FILENO) >= 0, "standard output to /dev/null");
    close(quiet);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> arguments = {"spexor"};
    std::string current;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            arguments.push_back(current);
            current.clear();
        } else {
            current += static_cast<char>(data[i]);
        }
    }
    if (size > 0) {
        arguments.push_back(current);
    }

    const Outcome outcome = Read(arguments);
    if (!outcome.read) {
        Require(outcome.error == OptionErrorText(), "an error carries the option-error text");
    } else {
        const RunSettings& settings = outcome.input.settings;
        const OutputKinds& kinds = settings.outputKinds;
        Require(kinds.ms1 || kinds.ms2 || kinds.ms3 || kinds.mgf || kinds.ksd || kinds.mzml,
                "at least one output kind");
        Require(settings.mzDecimals >= 0 && settings.mzDecimals <= 9, "m/z decimals from 0 to 9");
        Require(settings.intensityDecimals >= 0, "intensity decimals of 0 or more");
        Require(settings.threads >= 0 && settings.threads <= 256, "threads from 1 to 256, or 0 for one per core");
        Require(outcome.input.inputs.size() < arguments.size(), "no more inputs than arguments");
        for (const std::string& input : outcome.input.inputs) {
            Require(input.empty() || input[0] != '-', "an input is no option");
        }
    }

    // One more plain argument: taken as an input, or as the value the last
    // option was waiting for (which may mend an error but not make one).
    arguments.push_back("extra.raw");
    const Outcome more = Read(arguments);
    if (outcome.read) {
        Require(more.read, "a plain argument at the end makes no error");
        std::vector<std::string> expected = outcome.input.inputs;
        expected.push_back("extra.raw");
        Require(more.input.inputs == expected, "a plain argument at the end is one more input");
        Require(SameSettings(more.input.settings, outcome.input.settings), "a plain argument changes no setting");
    }
    return 0;
}
