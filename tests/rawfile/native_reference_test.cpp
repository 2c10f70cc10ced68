// The native backend against the reference dumps of the real RAW files
// (made with Thermo's own reader library), one test per dump in the data
// folder's reference folder: the scan range, the creation date and the
// trailer-extra header (labels, type names, reported length or precision)
// must be equal, and so must every scan's filter text, retention time, MS
// order, trailer values and mass list, numbers bit for bit. Each test
// prints one line with its counts of equal answers per check.
//
// Where the library lists only some of the header's trailer labels for a
// scan, the dump's unformatted values were taken by position from the full
// list and do not belong to their labels; such a trailer is compared by
// label with the library's formatted text instead.

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "platform/com.h"
#include "rawfile/native/generic_data.h"
#include "rawfile/native/native_raw_file.h"
#include "rawfile/native/number_format.h"
#include "rawfile/native_json.h"
#include "rawfile/trailer_variant.h"
#include "support/real_files.h"

namespace {

using native_test::JsonValue;
using rawfile::RawBackend;
using rawfile::Status;
using rawfile::native::NativeRawFile;
using testing_support::ReferenceDump;

bool SameBits(double a, double b) { return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b); }

// The variant type the file's declared trailer type gives.
platform::VARTYPE ExpectedVariantType(const std::string& rawType) {
    static const std::map<std::string, platform::VARTYPE> kTypes = {
        {"SByte", platform::VT_I1},    {"Byte", platform::VT_UI1},  {"Int16", platform::VT_I2},
        {"UInt16", platform::VT_UI2},  {"Int32", platform::VT_I4},  {"UInt32", platform::VT_UI4},
        {"Single", platform::VT_R4},   {"Double", platform::VT_R8}, {"Boolean", platform::VT_BOOL},
        {"String", platform::VT_BSTR},
    };
    const auto found = kTypes.find(rawType);
    return found != kTypes.end() ? found->second : static_cast<platform::VARTYPE>(platform::VT_EMPTY);
}

// Compares one typed trailer value with the dump's unformatted value text.
// Returns an empty text when equal, else what differs.
std::string CompareTrailerValue(const platform::VARIANT& value, const JsonValue& expected) {
    const JsonValue& rawType = expected["raw_type"];
    if (rawType.IsNull()) {
        return value.vt == platform::VT_EMPTY ? "" : "a NULL field gave a value";
    }
    const platform::VARTYPE type = ExpectedVariantType(rawType.text);
    if (value.vt != type) {
        return "type " + std::to_string(value.vt) + " instead of " + std::to_string(type);
    }
    const std::string& raw = expected["raw"].text;
    bool equal = false;
    switch (value.vt) {
        case platform::VT_I1: equal = value.cVal == std::stoll(raw); break;
        case platform::VT_UI1: equal = value.bVal == std::stoll(raw); break;
        case platform::VT_I2: equal = value.iVal == std::stoll(raw); break;
        case platform::VT_UI2: equal = value.uiVal == std::stoll(raw); break;
        case platform::VT_I4: equal = value.lVal == std::stoll(raw); break;
        case platform::VT_UI4: equal = value.ulVal == std::stoull(raw); break;
        case platform::VT_R4:  // "1.5299999713897705f": the single widened, 17 digits
            equal = std::bit_cast<uint32_t>(value.fltVal) == std::bit_cast<uint32_t>(std::stof(raw));
            break;
        case platform::VT_R8: equal = SameBits(value.dblVal, std::stod(raw)); break;
        case platform::VT_BOOL: equal = (value.boolVal != 0) == (raw == "True"); break;
        case platform::VT_BSTR: equal = std::string(value.bstrVal, platform::SysStringLen(value.bstrVal)) == raw; break;
        default: break;
    }
    return equal ? "" : "value differs from " + raw;
}

std::string Exact(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

// How many of the scans (or header fields) one check found equal, and the
// first few differences, each naming the scan and what differs.
struct Check {
    explicit Check(const char* name) : what(name) {}

    const char* what;
    int equal = 0;
    int asked = 0;
    int differences = 0;
    std::vector<std::string> firstDifferences;

    void Note(const std::string& difference) {
        ++asked;
        if (difference.empty()) {
            ++equal;
        } else if (++differences <= 5) {
            firstDifferences.push_back(difference);
        }
    }

    std::string Count() const { return std::to_string(equal) + "/" + std::to_string(asked); }
};

std::string CompareMassList(RawBackend& backend, int scan, const JsonValue& expectedScan) {
    const JsonValue* list = expectedScan.Find("segmented_incl_ref");
    if (list == nullptr || list->IsNull()) {
        list = &expectedScan["segmented"];
    }
    const std::vector<double>& positions = (*list)["positions"].numbers;
    const std::vector<double>& intensities = (*list)["intensities"].numbers;
    std::vector<double> pairs;
    if (const Status status = backend.GetMassList(scan, &pairs); status != rawfile::kOk) {
        return "mass list failed with status " + std::to_string(status) + " instead of giving " +
               std::to_string(positions.size()) + " points";
    }
    if (pairs.size() != 2 * positions.size()) {
        return "mass list has " + std::to_string(pairs.size() / 2) + " points instead of " +
               std::to_string(positions.size());
    }
    for (size_t i = 0; i < positions.size(); ++i) {
        if (!SameBits(pairs[2 * i], positions[i]) || !SameBits(pairs[2 * i + 1], intensities[i])) {
            return "mass list point " + std::to_string(i) + " is (" + Exact(pairs[2 * i]) + ", " +
                   Exact(pairs[2 * i + 1]) + ") instead of (" + Exact(positions[i]) + ", " + Exact(intensities[i]) +
                   ")";
        }
    }
    return "";
}

// The library's text of a typed trailer value: numbers with the header's
// precision, switches by their type's words, integers in decimal.
std::string FormattedTrailerValue(const rawfile::TrailerValue& value, const JsonValue& field) {
    const std::string& type = field["data_type"].text;
    const auto precision = static_cast<int>(field["precision_or_length"].number);
    return std::visit(
        [&](const auto& typed) -> std::string {
            using T = std::decay_t<decltype(typed)>;
            if constexpr (std::is_same_v<T, bool>) {
                if (type == "YESNO") return typed ? "Yes" : "No";
                if (type == "ONOFF") return typed ? "On" : "Off";
                return typed ? "True" : "False";
            } else if constexpr (std::is_floating_point_v<T>) {
                std::string text;
                return rawfile::native::FormatFixed(static_cast<double>(typed), precision, &text) ? text : "?";
            } else if constexpr (std::is_integral_v<T>) {
                return std::to_string(static_cast<long long>(typed));
            } else if constexpr (std::is_same_v<T, std::string>) {
                return typed;
            } else {
                return "";
            }
        },
        value);
}

// The header field of a label (the first of that name).
const JsonValue* HeaderField(const JsonValue& trailerHeader, const std::string& label) {
    for (const JsonValue& field : trailerHeader.items) {
        if (field["label"].text == label) return &field;
    }
    return nullptr;
}

std::string CompareTrailer(RawBackend& backend, int scan, const JsonValue& expectedScan,
                           const JsonValue& trailerHeader) {
    const std::vector<JsonValue>& entries = expectedScan["trailer"].items;
    const bool filtered = entries.size() < trailerHeader.items.size();
    for (const JsonValue& entry : entries) {
        rawfile::TrailerValue answer;
        const Status status = backend.GetTrailerValue(scan, entry["label"].text, &answer);
        std::string difference;
        if (status != rawfile::kOk) {
            difference = "failed with status " + std::to_string(status);
        } else if (filtered) {
            const JsonValue* field = HeaderField(trailerHeader, entry["label"].text);
            const std::string text = field != nullptr ? FormattedTrailerValue(answer, *field) : "(no header field)";
            if (text != entry["value"].text)
                difference = "text \"" + text + "\" instead of \"" + entry["value"].text + "\"";
        } else {
            platform::VARIANT value;  // the component's form, whose tags the dump's types name
            rawfile::PutTrailerVariant(answer, &value);
            difference = CompareTrailerValue(value, entry);
            platform::VariantClear(&value);
        }
        if (!difference.empty()) {
            return "trailer \"" + entry["label"].text + "\": " + difference;
        }
    }
    return "";
}

// The scan header's values (the scan index's statistics) against the dump's.
std::string CompareScanHeader(RawBackend& backend, int scan, const JsonValue& expectedScan) {
    rawfile::ScanHeaderValues values;
    const Status status = backend.GetScanHeader(scan, &values);
    if (status != rawfile::kOk) return "scan header failed with status " + std::to_string(status);
    const JsonValue& stats = expectedScan["stats"];
    const std::pair<const char*, double> fields[] = {{"tic", values.totalIonCurrent},
                                                     {"base_peak_mass", values.basePeakMass},
                                                     {"base_peak_intensity", values.basePeakIntensity},
                                                     {"low_mass", values.lowMass},
                                                     {"high_mass", values.highMass},
                                                     {"start_time", values.startTime}};
    for (const auto& [field, value] : fields) {
        if (!SameBits(value, stats[field].number)) {
            return std::string(field) + " " + Exact(value) + " instead of " + Exact(stats[field].number);
        }
    }
    return "";
}

struct ScanChecks {
    Check filters{"filter text"};
    Check retentionTimes{"retention time"};
    Check msOrders{"MS order"};
    Check trailers{"trailer values"};
    Check massLists{"mass list"};
    Check headers{"scan header values"};

    std::vector<Check*> All() { return {&filters, &retentionTimes, &msOrders, &trailers, &massLists, &headers}; }
};

void CompareScan(RawBackend& backend, const JsonValue& expected, const JsonValue& trailerHeader, ScanChecks* checks) {
    const int scan = static_cast<int>(expected["scan"].number);
    const std::string at = "scan " + std::to_string(scan) + ": ";
    std::string filter;
    const Status filterStatus = backend.GetFilterText(scan, &filter);
    if (filterStatus != rawfile::kOk) {
        checks->filters.Note(at + "filter text failed with status " + std::to_string(filterStatus));
    } else {
        checks->filters.Note(filter == expected["filter"].text
                                 ? ""
                                 : at + "filter \"" + filter + "\" instead of \"" + expected["filter"].text + "\"");
    }
    double minutes = 0;
    const Status timeStatus = backend.GetRetentionTime(scan, &minutes);
    if (timeStatus != rawfile::kOk) {
        checks->retentionTimes.Note(at + "retention time failed with status " + std::to_string(timeStatus));
    } else {
        checks->retentionTimes.Note(SameBits(minutes, expected["rt_min"].number)
                                        ? ""
                                        : at + "retention time " + Exact(minutes) + " instead of " +
                                              Exact(expected["rt_min"].number));
    }
    int32_t order = 0;
    const Status orderStatus = backend.GetMsOrder(scan, &order);
    const auto expectedOrder = static_cast<int32_t>(expected["ms_order"].number);
    if (orderStatus != rawfile::kOk) {
        checks->msOrders.Note(at + "MS order failed with status " + std::to_string(orderStatus));
    } else {
        checks->msOrders.Note(order == expectedOrder ? ""
                                                     : at + "MS order " + std::to_string(order) + " instead of " +
                                                           std::to_string(expectedOrder));
    }
    const std::string trailer = CompareTrailer(backend, scan, expected, trailerHeader);
    checks->trailers.Note(trailer.empty() ? "" : at + trailer);
    const std::string massList = CompareMassList(backend, scan, expected);
    checks->massLists.Note(massList.empty() ? "" : at + massList);
    const std::string header = CompareScanHeader(backend, scan, expected);
    checks->headers.Note(header.empty() ? "" : at + header);
}

// The trailer-extra header field by field: label, type name, and the length
// or precision as Thermo's library reports it.
Check CompareTrailerHeader(const NativeRawFile& file, const JsonValue& expected) {
    Check check{"trailer header field"};
    const std::vector<rawfile::native::FieldDescriptor>& fields = file.trailerHeader().fields;
    const std::vector<JsonValue>& labels = expected.items;
    for (size_t i = 0; i < std::max(fields.size(), labels.size()); ++i) {
        const std::string at = "trailer header field " + std::to_string(i) + ": ";
        if (i >= fields.size()) {
            check.Note(at + "missing; expected \"" + labels[i]["label"].text + "\"");
            continue;
        }
        const rawfile::native::FieldDescriptor& field = fields[i];
        if (i >= labels.size()) {
            check.Note(at + "\"" + field.label + "\" is not in the reference");
            continue;
        }
        const JsonValue& label = labels[i];
        const std::string type = rawfile::native::FieldTypeName(field.type);
        const uint32_t reported = rawfile::native::ReportedLengthOrPrecision(field);
        const auto expectedReported = static_cast<uint32_t>(label["precision_or_length"].number);
        std::string difference;
        if (field.label != label["label"].text) {
            difference = "label \"" + field.label + "\" instead of \"" + label["label"].text + "\"";
        } else if (type != label["data_type"].text) {
            difference = "\"" + field.label + "\" has type " + type + " instead of " + label["data_type"].text;
        } else if (reported != expectedReported) {
            difference = "\"" + field.label + "\" (" + type + ") reports length or precision " +
                         std::to_string(reported) + " instead of " + std::to_string(expectedReported);
        }
        check.Note(difference.empty() ? "" : at + difference);
    }
    return check;
}

// A check's name as a test property (an XML attribute in the test report).
std::string PropertyName(std::string what) {
    for (char& c : what) {
        if (c == ' ') c = '_';
    }
    return what;
}

class NativeReferenceTest : public testing::TestWithParam<ReferenceDump> {};

TEST_P(NativeReferenceTest, EveryScanEqualsTheReferenceDump) {
    const ReferenceDump& reference = GetParam();
    ASSERT_FALSE(reference.rawName.empty())
        << "no RAW file in " << testing_support::DataDir() << " is named " << reference.name << ".raw";
    const std::string& name = reference.rawName;
    std::string text;
    ASSERT_TRUE(native_test::ReadGzipFile(reference.path.string(), &text)) << reference.path;
    JsonValue dump;
    std::string error;
    ASSERT_TRUE(native_test::ParseJson(text, &dump, &error)) << reference.path << ": " << error;
    text.clear();

    std::unique_ptr<NativeRawFile> file;
    const Status status = NativeRawFile::Open((testing_support::DataDir() / name).string(), &file);
    ASSERT_NE(file, nullptr) << name << ": open failed with status " << status;
    ASSERT_EQ(file->SetCurrentController(0, 1), rawfile::kOk) << name;

    const JsonValue& facts = dump["file"];
    int32_t first = 0;
    int32_t last = 0;
    double created = 0;
    ASSERT_EQ(file->GetFirstScan(&first), rawfile::kOk) << name;
    ASSERT_EQ(file->GetLastScan(&last), rawfile::kOk) << name;
    ASSERT_EQ(file->GetCreationDate(&created), rawfile::kOk) << name;
    EXPECT_EQ(first, facts["first_scan"].number) << name << ": first scan";
    EXPECT_EQ(last, facts["last_scan"].number) << name << ": last scan";
    EXPECT_TRUE(SameBits(created, facts["creation_date_oadate"].number))
        << name << ": creation date " << Exact(created) << " instead of "
        << Exact(facts["creation_date_oadate"].number);

    Check header = CompareTrailerHeader(*file, facts["trailer_header"]);
    ScanChecks checks;
    for (const JsonValue& scan : dump["scans"].items) {
        CompareScan(*file, scan, facts["trailer_header"], &checks);
    }
    const int scans = static_cast<int>(dump["scans"].items.size());

    std::string summary = name + ": " + std::to_string(scans) + " scans;";
    for (const Check* check : checks.All()) {
        summary += std::string(" ") + check->what + " " + check->Count() + ",";
        RecordProperty(PropertyName(check->what), check->Count());
    }
    summary += " trailer header fields " + header.Count();
    RecordProperty("trailer_header_fields", header.Count());
    std::cout << "[ reference ] " << summary << std::endl;

    EXPECT_EQ(scans, last - first + 1) << name << ": scans in the reference against the scan range";
    for (const Check* check : checks.All()) {
        EXPECT_EQ(check->equal, scans) << name << ": scans whose " << check->what << " is equal";
    }
    EXPECT_EQ(header.equal, static_cast<int>(facts["trailer_header"].items.size()))
        << name << ": trailer header fields equal";
    std::vector<Check*> all = checks.All();
    all.push_back(&header);
    for (const Check* check : all) {
        for (const std::string& difference : check->firstDifferences) {
            ADD_FAILURE() << name << " " << difference;
        }
        if (check->differences > 5) {
            ADD_FAILURE() << name << ": " << check->differences - 5 << " more differences in " << check->what;
        }
    }
    EXPECT_EQ(file->Close(), rawfile::kOk);
}

std::string CaseName(const testing::TestParamInfo<ReferenceDump>& info) {
    return testing_support::TestNameOf(info.param.name);
}

// One test per dump in the reference folder; none when the data folder is
// not there.
INSTANTIATE_TEST_SUITE_P(RealFiles, NativeReferenceTest, testing::ValuesIn(testing_support::ReferenceDumps()),
                         CaseName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(NativeReferenceTest);

}  // namespace
