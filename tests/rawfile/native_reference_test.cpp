// The native backend against the reference dumps of the real RAW files
// (made with Thermo's own reader library): every scan's filter text,
// retention time, trailer values and mass list must be equal, numbers bit
// for bit.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/com.h"
#include "rawfile/native/native_backend.h"
#include "rawfile/trailer_variant.h"
#include "rawfile/native_json.h"

namespace {

using native_test::JsonValue;
using rawfile::RawBackend;
using rawfile::Status;

const std::filesystem::path kDataDir = SHARED_DATA_DIR;

struct ReferenceCase {
    const char* rawName;
    const char* dumpName;
};

const ReferenceCase kCases[] = {
    {"small.RAW", "small"},
    {"small2.RAW", "small2"},
    {"sample.raw", "sample"},
    {"Angiotensin_325-HCD.raw", "Angiotensin_325-HCD"},
    {"Angiotensin_325-CID.raw", "Angiotensin_325-CID"},
    {"ScanDescriptionTestData.raw", "ScanDescriptionTestData"},
    {"RP240K_01.raw", "RP240K_01"},
    {"tsq_quantum.raw", "tsq_quantum"},
};

bool SameBits(double a, double b) { return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b); }

// The variant type the file's declared trailer type gives.
platform::VARTYPE ExpectedVariantType(const std::string& rawType) {
    static const std::map<std::string, platform::VARTYPE> kTypes = {
        {"SByte", platform::VT_I1},  {"Byte", platform::VT_UI1},   {"Int16", platform::VT_I2},
        {"UInt16", platform::VT_UI2}, {"Int32", platform::VT_I4},  {"UInt32", platform::VT_UI4},
        {"Single", platform::VT_R4}, {"Double", platform::VT_R8},  {"Boolean", platform::VT_BOOL},
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
        case platform::VT_BSTR:
            equal = std::string(value.bstrVal, platform::SysStringLen(value.bstrVal)) == raw;
            break;
        default: break;
    }
    return equal ? "" : "value differs from " + raw;
}

struct MatchCount {
    int scans = 0;
    int filters = 0;
    int retentionTimes = 0;
    int trailerScans = 0;
    int massLists = 0;
    std::vector<std::string> firstDifferences;

    void Note(int scan, const std::string& what) {
        if (firstDifferences.size() < 10) {
            firstDifferences.push_back("scan " + std::to_string(scan) + ": " + what);
        }
    }
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
        return "mass list failed with " + std::to_string(status);
    }
    if (pairs.size() != 2 * positions.size()) {
        return "mass list has " + std::to_string(pairs.size() / 2) + " points instead of " +
               std::to_string(positions.size());
    }
    for (size_t i = 0; i < positions.size(); ++i) {
        if (!SameBits(pairs[2 * i], positions[i]) || !SameBits(pairs[2 * i + 1], intensities[i])) {
            return "mass list point " + std::to_string(i) + " differs";
        }
    }
    return "";
}

std::string CompareTrailer(RawBackend& backend, int scan, const JsonValue& expectedScan) {
    for (const JsonValue& entry : expectedScan["trailer"].items) {
        rawfile::TrailerValue answer;
        const Status status = backend.GetTrailerValue(scan, entry["label"].text, &answer);
        platform::VARIANT value;  // the component's form, whose tags the dump's types name
        if (status == rawfile::kOk) rawfile::PutTrailerVariant(answer, &value);
        std::string difference = status == rawfile::kOk ? CompareTrailerValue(value, entry)
                                                        : "failed with " + std::to_string(status);
        platform::VariantClear(&value);
        if (!difference.empty()) {
            return "trailer \"" + entry["label"].text + "\": " + difference;
        }
    }
    return "";
}

void CompareScan(RawBackend& backend, const JsonValue& expected, MatchCount* count) {
    const int scan = static_cast<int>(expected["scan"].number);
    ++count->scans;
    std::string filter;
    if (backend.GetFilterText(scan, &filter) == rawfile::kOk && filter == expected["filter"].text) {
        ++count->filters;
    } else {
        count->Note(scan, "filter \"" + filter + "\" instead of \"" + expected["filter"].text + "\"");
    }
    double minutes = 0;
    if (backend.GetRetentionTime(scan, &minutes) == rawfile::kOk && SameBits(minutes, expected["rt_min"].number)) {
        ++count->retentionTimes;
    } else {
        count->Note(scan, "retention time differs");
    }
    if (const std::string difference = CompareTrailer(backend, scan, expected); difference.empty()) {
        ++count->trailerScans;
    } else {
        count->Note(scan, difference);
    }
    if (const std::string difference = CompareMassList(backend, scan, expected); difference.empty()) {
        ++count->massLists;
    } else {
        count->Note(scan, difference);
    }
}

class NativeReferenceTest : public testing::TestWithParam<ReferenceCase> {};

TEST_P(NativeReferenceTest, EveryScanEqualsTheReferenceDump) {
    const ReferenceCase& param = GetParam();
    const std::filesystem::path rawPath = kDataDir / param.rawName;
    const std::filesystem::path dumpPath = kDataDir / "reference" / (std::string(param.dumpName) + ".json.gz");
    if (!std::filesystem::exists(rawPath) || !std::filesystem::exists(dumpPath)) {
        GTEST_SKIP() << "real RAW data not available";
    }
    std::string text;
    ASSERT_TRUE(native_test::ReadGzipFile(dumpPath.string(), &text));
    JsonValue dump;
    std::string error;
    ASSERT_TRUE(native_test::ParseJson(text, &dump, &error)) << error;
    text.clear();

    Status status = rawfile::kFailed;
    const std::unique_ptr<RawBackend> backend = rawfile::OpenNativeBackend(rawPath.string(), &status);
    ASSERT_NE(backend, nullptr) << "open failed with " << status;
    ASSERT_EQ(backend->SetCurrentController(0, 1), rawfile::kOk);

    const JsonValue& file = dump["file"];
    int32_t first = 0;
    int32_t last = 0;
    double created = 0;
    ASSERT_EQ(backend->GetFirstScan(&first), rawfile::kOk);
    ASSERT_EQ(backend->GetLastScan(&last), rawfile::kOk);
    ASSERT_EQ(backend->GetCreationDate(&created), rawfile::kOk);
    EXPECT_EQ(first, file["first_scan"].number);
    EXPECT_EQ(last, file["last_scan"].number);
    EXPECT_TRUE(SameBits(created, file["creation_date_oadate"].number))
        << created << " instead of " << file["creation_date_oadate"].number;

    MatchCount count;
    for (const JsonValue& scan : dump["scans"].items) {
        CompareScan(*backend, scan, &count);
    }
    const int scans = static_cast<int>(dump["scans"].items.size());
    EXPECT_EQ(count.scans, last - first + 1);
    EXPECT_EQ(count.filters, scans) << "filter texts equal";
    EXPECT_EQ(count.retentionTimes, scans) << "retention times equal";
    EXPECT_EQ(count.trailerScans, scans) << "scans with all trailer values equal";
    EXPECT_EQ(count.massLists, scans) << "mass lists equal";
    for (const std::string& difference : count.firstDifferences) {
        ADD_FAILURE() << param.rawName << " " << difference;
    }
    EXPECT_EQ(backend->Close(), rawfile::kOk);
}

std::string CaseName(const testing::TestParamInfo<ReferenceCase>& info) {
    std::string name = info.param.dumpName;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            c = '_';
        }
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(RealFiles, NativeReferenceTest, testing::ValuesIn(kCases), CaseName);

}  // namespace
