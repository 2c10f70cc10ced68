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
             "\tspexor parameter_file_path",
             "or",
             "\tspexor [OPTION]... [FILE]...",
             "e.g. ",
             "\tspexor config.ini",
             "e.g. ",
             "\tspexor -ms -h /data/worm/ /data/qe/data1.raw",
             "For more information, type spexor --help or see man spexor.",
         }) {
        WriteLine(Stream::Err, line);
    }
}

std::string OptionErrorText() {
    return "Usage: spexor input_file_path ... [-options]\n\t\tSee spexor --help or man spexor for more details.\n";
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
    WriteLine(Stream::Out, "\tspexor - extract text-plain spectra");
    WriteLine(Stream::Out, "");
    WriteLine(Stream::Out, "SYNOPSIS");
    WriteLine(Stream::Out, "\tspexor [OPTION]... [FILE]...");
    WriteLine(Stream::Out, "\tspexor PARAMETER_FILE");
    WriteLine(Stream::Out, "");
    WriteLine(Stream::Out, "DESCRIPTION");
    WriteLine(Stream::Out,
              "\tExtract text-plain spectra from binary Thermo Scientific RAW files. "
              "When [FILE] is a parameter file (a single argument whose name ends in \"ini\"), no more options "
              "are expected. When [FILE] is a RAW file or a folder holding RAW files, the options take effect. "
              "See man spexor for the parameter file, the output files and the exit status.");
    WriteLine(Stream::Out, "");
    WriteOptionEntry("\t-a",
                     "Take effect for MS/MS. Turn on this switch to hold different activation types spectra in one "
                     "file. Turn off to split in different files.");
    WriteOptionEntry("\t-c", "Make results centroided. In default case, this switch is on.");
    WriteOptionEntry("\t-h",
                     "Always write the precursor m/z of the scan filter, never the monoisotopic m/z of the scan.");
    WriteOptionEntry("\t--help", "Get help information.");
    WriteOptionEntry("\t-i", "The decimal place of intensity. The value goes from 0 to 9. Default is -i " +
                                 std::to_string(defaults.intensityDecimals) + ".");
    WriteOptionEntry("\t-j",
                     "The number of threads to convert on. Default is one per core the process may use; "
                     "-j 1 converts on one thread.");
    WriteOptionEntry("\t--keep-going",
                     "Go on with the next RAW file when one cannot be opened, instead of ending the run; the run "
                     "then ends with exit status 255.");
    WriteOptionEntry("\t-ksd", "Export KSD files.");
    WriteOptionEntry("\t-m", "The decimal place of m/z ratio. The value goes from 0 to 9. Default is -m " +
                                 std::to_string(defaults.mzDecimals) + ".");
    WriteOptionEntry("\t-mgf", "Export MGF extension file(s).");
    WriteOptionEntry("\t-ms", "Export MS1 and MS2 files.");
    WriteOptionEntry("\t-ms1", "Export MS1 files.");
    WriteOptionEntry("\t-ms2", "Export MS2 files.");
    WriteOptionEntry("\t-ms3", "Export MS3 files.");
    WriteOptionEntry("\t-mzml",
                     "Export one indexed mzML 1.1 file per RAW file, holding every scan of every MS level (the "
                     "activation switch -a does not apply to it).");
    WriteOptionEntry("\t-mzml-nozlib",
                     "Write the peak arrays of mzML files uncompressed, for readers that cannot read zlib. In "
                     "default case, they are zlib-compressed.");
    WriteOptionEntry("\t-o", "Outputs directory, created with its parents when missing. e.g. -o /data/output/.");
    WriteOptionEntry("\t-p", "Make results profile. In default case, this switch is off.");
    WriteOptionEntry("\t--version", "Print the program's name and version; only as the single argument.");
    WriteOptionEntry("\t-z",
                     "Charge range of the spectra. The range could be any interval between 1 and 9, the first "
                     "charge not above the last. Default is -z 2-3.");
}
