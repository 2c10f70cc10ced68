#pragma once

// The header and the start of a scan record of an MS1 file that brisel
// writes, built from the values the tests expect in them.

#include <string>

namespace brisel_test {

inline std::string Header(const std::string& date, int first, int last) {
    return "H\tCreationDate\t" + date + "\n" +
           "H\tExtractor\tKelvor\n"
           "H\tExtractorVersion\t1.0\n"
           "H\tDataType\tCentroid\n"
           "H\tFirstScan\t" +
           std::to_string(first) + "\n" + "H\tLastScan\t" + std::to_string(last) + "\n";
}

// The S line and the three I lines; `number` as the S line writes it.
inline std::string ScanStart(const std::string& number, const std::string& minutes, const std::string& type) {
    return "S\t" + number + "\t" + number + "\nI\tRetTime\t" + minutes +
           "\nI\tIonInjectionTime\t0\nI\tInstrumentType\t" + type + "\n";
}

}  // namespace brisel_test
