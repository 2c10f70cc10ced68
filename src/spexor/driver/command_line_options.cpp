#include "spexor/driver/command_line_options.h"

#include <utility>

#include "spexor/driver/settings_error.h"
#include "spexor/driver/usage_texts.h"

namespace {

[[noreturn]] void RaiseOptionError() { throw SettingsError(OptionErrorText()); }

constexpr int kMostThreads = 256;

// Walks the arguments; options with a value take the next argument whatever
// it looks like.
class OptionReader {
public:
    OptionReader(int argc, const std::string* argv) : argc_(argc), argv_(argv) {}

    ConfigurationInput Read() {
        ConfigurationInput input;
        input.settings.outputKinds.mgf = false;  // the kinds come from the options alone
        for (next_ = 1; next_ < argc_;) {
            const std::string& argument = argv_[next_++];
            if (argument.empty() || argument[0] != '-') {
                input.inputs.push_back(argument);
            } else {
                ApplyOption(input.settings, argument);
            }
        }
        OutputKinds& kinds = input.settings.outputKinds;
        if (!kinds.ms1 && !kinds.ms2 && !kinds.ms3 && !kinds.mgf && !kinds.ksd && !kinds.mzml) kinds.mgf = true;
        return input;
    }

private:
    const std::string& Value(std::string::size_type length) {
        if (next_ >= argc_) RaiseOptionError();  // the option is the last argument
        const std::string& value = argv_[next_++];
        if (value.size() != length) RaiseOptionError();
        return value;
    }

    // A one-character number of decimals. Characters below "0" would give a
    // negative count, which no number format can take.
    char DecimalsValue() {
        const char c = Value(1)[0];
        if (c < '0') RaiseOptionError();
        return c;
    }

    // A whole number of threads from 1 to kMostThreads.
    int ThreadsValue() {
        if (next_ >= argc_) RaiseOptionError();
        const std::string& value = argv_[next_++];
        if (value.empty() || value.size() > 3 || value.find_first_not_of("0123456789") != std::string::npos) {
            RaiseOptionError();
        }
        const int threads = std::stoi(value);
        if (threads < 1 || threads > kMostThreads) RaiseOptionError();
        return threads;
    }

    void ApplyOption(RunSettings& settings, const std::string& option) {
        OutputKinds& kinds = settings.outputKinds;
        if (option == "-ms1") {
            kinds.ms1 = true;
        } else if (option == "-ms2") {
            kinds.ms2 = true;
        } else if (option == "-ms3") {
            kinds.ms3 = true;
        } else if (option == "-mgf") {
            kinds.mgf = true;
        } else if (option == "-ksd") {
            kinds.ksd = true;
        } else if (option == "-mzml") {
            kinds.mzml = true;
        } else if (option == "-mzml-nozlib") {
            settings.mzmlCompression = false;
        } else if (option == "-ms") {
            kinds.ms1 = true;
            kinds.ms2 = true;
        } else if (option == "-a") {
            settings.activationMode = ActivationMode::merged;
        } else if (option == "-p") {
            settings.centroided = false;
        } else if (option == "-c") {
            settings.centroided = true;
        } else if (option == "-h") {
            settings.isotopeMode = false;
        } else if (option == "-m") {
            const char c = DecimalsValue();
            settings.mzDecimals = c <= '9' ? c - '0' : 0;  // a non-digit reads as 0
        } else if (option == "-i") {
            settings.intensityDecimals = DecimalsValue() - '0';
        } else if (option == "-z") {
            const std::string& range = Value(3);
            settings.chargeMin = range[0] - '0';
            settings.chargeMax = range[2] - '0';
        } else if (option == "-j") {
            settings.threads = ThreadsValue();
        } else if (option == "-o") {
            if (next_ >= argc_) RaiseOptionError();
            settings.outputDirectory = argv_[next_++];
        } else if (option == "--help") {
            PrintHelp();
        } else {
            RaiseOptionError();
        }
    }

    int argc_;
    const std::string* argv_;
    int next_ = 1;
};

}  // namespace

ConfigurationInput ReadOptions(int argc, const std::string* argv) { return OptionReader(argc, argv).Read(); }

RunSettings ParseCommandLine(int argc, const std::string* argv) { return CompleteSettings(ReadOptions(argc, argv)); }
