#include "spexor/driver/usage_texts.h"

#include <initializer_list>
#include <string_view>

#include "platform/console.h"
#include "spexor/driver/run_settings.h"

using platform::Stream;
using platform::WriteLine;

void WriteUsageBlock() {
    for (std::string_view line : {
             "Usage:",
             "\tspexor.exe parameter_file_path",
             "or",
             "\tspexor.exe [OPTION]... [FILE]...",
             "e.g. ",
             "\tspexor.exe config.ini",
             "e.g. ",
             "\tspexor.exe -ms -h E:\\Data\\Worm\\ E:\\Data\\QE\\data1.raw",
             "For more information, type spexor.exe --help or see the User Guide.",
         }) {
        WriteLine(Stream::Err, line);
    }
}

std::string OptionErrorText() {
    return "Usage: spexor.exe input_file_path ... [-options]\n\t\tPlease refer to the user guide for more details.\n";
}

namespace {

void WriteOptionEntry(std::string_view option, const std::string& description) {
    WriteLine(Stream::Out, option);
    WriteLine(Stream::Out, "\t\t" + description);
    WriteLine(Stream::Out, "");
}

}  // namespace

void PrintHelp() {
    const RunSettings defaults;
    WriteLine(Stream::Out, "NAME");
    WriteLine(Stream::Out, "\tspexor.exe - extract text-plain spectra");
    WriteLine(Stream::Out, "");
    WriteLine(Stream::Out, "SYNOPSIS");
    WriteLine(Stream::Out, "\tspexor.exe [OPTION]... [FILE]...");
    WriteLine(Stream::Out, "");
    WriteLine(Stream::Out, "DESCRIPTION");
    WriteLine(Stream::Out,
              "\tExtract text-plain spectra from binary Thermo Scientific RAW FILES. "
              "When [FILE] is set to be a configuration file, no more options expected. "
              "When [FILE] is a file with RAW extension or a directory with RAW files"
              " "
              "containing, options will take effect. See User Guide to get more information "
              "on configuration file.");
    WriteLine(Stream::Out, "");
    WriteOptionEntry("\t-a",
                     "Take effect for MS/MS. Turn on this switch to hold different activation types spectra in one "
                     "file. Turn off to split in different files.");
    WriteOptionEntry("\t-c", "Make results centroided. In default case, this switch is on.");
    WriteOptionEntry("\t--help", "Get help information.");
    WriteOptionEntry("\t-i", "The decimal place of intensity. The value goes from 1 to 9. Default is -i " +
                                 std::to_string(defaults.intensityDecimals) + ".");
    WriteOptionEntry("\t-j",
                     "The number of threads to convert on. Default is one per core the process may use; "
                     "-j 1 converts on one thread.");
    WriteOptionEntry("\t-m", "The decimal place of m/z ratio. The value goes from 1 to 9. Default is -m " +
                                 std::to_string(defaults.mzDecimals) + ".");
    WriteOptionEntry("\t-mgf", "Export MGF extension file(s).");
    WriteOptionEntry("\t-ms", "Export MS1 and MS2 files.");
    WriteOptionEntry("\t-ms1", "Export MS1 files.");
    WriteOptionEntry("\t-ms2", "Export MS2 files.");
    WriteOptionEntry("\t-o", "Outputs directory. e.g. -o F:\\data\\output\\.");
    WriteOptionEntry("\t-mzml",
                     "Export one indexed mzML 1.1 file per RAW file, holding every scan of every MS level (the "
                     "activation switch -a does not apply to it).");
    WriteOptionEntry("\t-mzml-nozlib",
                     "Write the peak arrays of mzML files uncompressed, for readers that cannot read zlib. In "
                     "default case, they are zlib-compressed.");
    WriteOptionEntry("\t-p", "Make results profile. In default case, this switch is off.");
    WriteOptionEntry("\t-ksd", "Export KSD files.");
    WriteOptionEntry("\t-z",
                     "Charge range of the spectra. The range could be any interval between 1 and 9. Default is -z "
                     "2-3.");
}
