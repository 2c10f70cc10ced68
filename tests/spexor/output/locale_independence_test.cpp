// The output files read the same whatever locale the process runs in.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <locale>
#include <regex>
#include <string>

#include "spexor/output/format_writer.h"
#include "support/temp_dir.h"

using testing_support::ReadFile;
using testing_support::TempDir;

namespace {

// A locale with a decimal comma and German day and month names, compiled
// into `dir`. Returns its name, or empty when it cannot be made.
std::string MakeCommaLocale(const TempDir& dir) {
    const std::string source = dir.Write("comma.src",
                                         "LC_CTYPE\ncopy \"POSIX\"\nEND LC_CTYPE\n"
                                         "LC_COLLATE\ncopy \"POSIX\"\nEND LC_COLLATE\n"
                                         "LC_NUMERIC\ndecimal_point \",\"\nthousands_sep \".\"\ngrouping 3;3\n"
                                         "END LC_NUMERIC\n"
                                         "LC_TIME\ncopy \"de_DE\"\nEND LC_TIME\n"
                                         "LC_MONETARY\ncopy \"POSIX\"\nEND LC_MONETARY\n"
                                         "LC_MESSAGES\ncopy \"POSIX\"\nEND LC_MESSAGES\n")
                                   .string();
    const std::string command =
        "localedef -c -f UTF-8 -i '" + source + "' '" + (dir.path() / "comma.UTF-8").string() + "' >/dev/null 2>&1";
    std::system(command.c_str());
    setenv("LOCPATH", dir.path().c_str(), 1);
    const bool made = std::setlocale(LC_ALL, "comma.UTF-8") != nullptr;
    return made ? "comma.UTF-8" : "";
}

}  // namespace

TEST(LocaleIndependence, NumbersAndDatesIgnoreTheProcessLocale) {
    TempDir dir;
    if (MakeCommaLocale(dir).empty()) {
        unsetenv("LOCPATH");
        GTEST_SKIP() << "no locale with a decimal comma can be made here";
    }
    std::locale::global(std::locale("comma.UTF-8"));
    char check[16];
    std::snprintf(check, sizeof check, "%.1f", 1.5);
    EXPECT_STREQ(check, "1,5");  // the locale really is in force

    ConversionSettings settings;
    SpectrumRecord record;
    record.scanNumber = 1234;
    record.peakCount = 1;
    record.peaks.reset(new Peak[1]{{120.08131, 5310.2}});
    record.retentionTime = 2710.5;
    record.activationCenter = 445.62;
    record.monoisotopicMz = 445.1203461;
    record.chargeMin = record.chargeMax = 2;
    std::string reason;
    auto file = OutputFile::Create((dir.path() / "run.ms2").string(), reason);
    RunFacts run;
    run.baseName = "run";
    const std::unique_ptr<FormatWriter> writer = MakeFormatWriter(OutputFormat::MS2, settings, *file, run);
    writer->Begin();
    writer->WriteSpectrum(record);
    file->Close();

    std::locale::global(std::locale::classic());
    std::setlocale(LC_ALL, "C");
    unsetenv("LOCPATH");
    const std::string text = ReadFile(dir.path() / "run.ms2");
    EXPECT_TRUE(std::regex_search(text, std::regex("CreationDate\t(Sun|Mon|Tue|Wed|Thu|Fri|Sat) "
                                                   "(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) ")))
        << text;
    EXPECT_NE(text.find("S\t001234\t001234\t445.1203461\n"), std::string::npos) << text;
    EXPECT_NE(text.find("I\tRetTime\t2710.500000\n"), std::string::npos);
    EXPECT_NE(text.find("I\tActivationCenter\t445.62\n"), std::string::npos);
    EXPECT_NE(text.find("Z\t2\t889.233416\n120.08131 5310.2\n"), std::string::npos);
}
