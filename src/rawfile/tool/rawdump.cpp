// rawdump: prints what our RAW reader component answers for a Thermo RAW
// file: one JSON line with the file-level values (the instrument's
// identification among them), then one JSON line per scan with its filter
// text, retention time, MS order, trailer values with their type tags, and
// its mass list. Doubles carry 17 significant digits, so they read back bit
// for bit.
//
//   rawdump [--no-peaks] <file.raw>
//   rawdump --help | --version
//
// --no-peaks writes each scan's point count instead of its points.
// Exit status: 0 when the file opened (per-scan failures are reported in
// the lines) and for --help and --version, 1 when it could not be opened,
// 2 on a usage error.

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "platform/console.h"
#include "rawfile/native/generic_data.h"
#include "rawfile/native/native_raw_file.h"

namespace {

using platform::Stream;
using platform::WriteLine;
using rawfile::Status;
using rawfile::native::NativeRawFile;

std::string JsonNumber(double value) {
    if (!std::isfinite(value)) {
        return std::isnan(value) ? "\"NaN\"" : (value > 0 ? "\"Infinity\"" : "\"-Infinity\"");
    }
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

std::string JsonText(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (byte < 0x20) {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\u%04x", byte);
                    out += buffer;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

// "type" and "value" members of a trailer value, the type named by the
// component's tag for it.
struct TypedValueMembers {
    std::string operator()(rawfile::NoTrailerValue) const { return "\"type\":\"EMPTY\",\"value\":null"; }
    std::string operator()(int8_t v) const { return Members("I1", std::to_string(v)); }
    std::string operator()(uint8_t v) const { return Members("UI1", std::to_string(v)); }
    std::string operator()(int16_t v) const { return Members("I2", std::to_string(v)); }
    std::string operator()(uint16_t v) const { return Members("UI2", std::to_string(v)); }
    std::string operator()(int32_t v) const { return Members("I4", std::to_string(v)); }
    std::string operator()(uint32_t v) const { return Members("UI4", std::to_string(v)); }
    std::string operator()(float v) const { return Members("R4", JsonNumber(static_cast<double>(v))); }
    std::string operator()(double v) const { return Members("R8", JsonNumber(v)); }
    std::string operator()(bool v) const { return Members("BOOL", v ? "true" : "false"); }
    std::string operator()(const std::string& v) const { return Members("BSTR", JsonText(v)); }
    std::string operator()(const rawfile::TaggedTrailerValue& v) const {
        return Members("VT" + std::to_string(v.typeTag), "null");
    }

    static std::string Members(const std::string& type, const std::string& value) {
        return "\"type\":\"" + type + "\",\"value\":" + value;
    }
};

std::string InstrumentMember(const rawfile::native::InstrumentInfo& instrument) {
    return ",\"instrument\":{\"name\":" + JsonText(instrument.name) + ",\"model\":" + JsonText(instrument.model) +
           ",\"serial_number\":" + JsonText(instrument.serialNumber) +
           ",\"software_version\":" + JsonText(instrument.softwareVersion) +
           ",\"hardware_version\":" + JsonText(instrument.hardwareVersion) + "}";
}

std::string FileLine(NativeRawFile& file, const std::string& path) {
    int32_t first = 0;
    int32_t last = 0;
    double created = 0;
    file.GetFirstScan(&first);
    file.GetLastScan(&last);
    file.GetCreationDate(&created);
    std::string line = "{\"file\":" + JsonText(path) + ",\"version\":" + std::to_string(file.version()) +
                       ",\"first_scan\":" + std::to_string(first) + ",\"last_scan\":" + std::to_string(last) +
                       ",\"creation_date\":" + JsonNumber(created) + InstrumentMember(file.instrument()) +
                       ",\"trailer_header\":[";
    const auto& fields = file.trailerHeader().fields;
    for (size_t i = 0; i < fields.size(); ++i) {
        line += (i > 0 ? ",{" : "{");
        line +=
            "\"label\":" + JsonText(fields[i].label) + ",\"type\":\"" + rawfile::native::FieldTypeName(fields[i].type) +
            "\",\"length_or_precision\":" + std::to_string(rawfile::native::ReportedLengthOrPrecision(fields[i])) + "}";
    }
    return line + "]}";
}

std::string TrailerMembers(NativeRawFile& file, int32_t scan) {
    std::string out = ",\"trailer\":[";
    const auto& fields = file.trailerHeader().fields;
    for (size_t i = 0; i < fields.size(); ++i) {
        out += (i > 0 ? ",{" : "{");
        out += "\"label\":" + JsonText(fields[i].label) + ",";
        rawfile::TrailerValue value;
        const Status status = file.GetTrailerValue(scan, fields[i].label, &value);
        out += status == rawfile::kOk ? std::visit(TypedValueMembers{}, value) : "\"error\":" + std::to_string(status);
        out += "}";
    }
    return out + "]";
}

std::string MassListMembers(NativeRawFile& file, int32_t scan, bool withPeaks) {
    std::vector<double> pairs;
    const Status status = file.GetMassList(scan, &pairs);
    if (status != rawfile::kOk) {
        return ",\"mass_list_error\":" + std::to_string(status);
    }
    std::string out = ",\"point_count\":" + std::to_string(pairs.size() / 2);
    if (!withPeaks) {
        return out;
    }
    out += ",\"points\":[";
    for (size_t i = 0; i + 1 < pairs.size(); i += 2) {
        out += (i > 0 ? ",[" : "[") + JsonNumber(pairs[i]) + "," + JsonNumber(pairs[i + 1]) + "]";
    }
    return out + "]";
}

std::string ScanLine(NativeRawFile& file, int32_t scan, bool withPeaks) {
    std::string line = "{\"scan\":" + std::to_string(scan);
    std::string filter;
    const Status filterStatus = file.GetFilterText(scan, &filter);
    line += filterStatus == rawfile::kOk ? ",\"filter\":" + JsonText(filter)
                                         : ",\"filter_error\":" + std::to_string(filterStatus);
    double minutes = 0;
    const Status rtStatus = file.GetRetentionTime(scan, &minutes);
    line +=
        rtStatus == rawfile::kOk ? ",\"rt_min\":" + JsonNumber(minutes) : ",\"rt_error\":" + std::to_string(rtStatus);
    int32_t order = 0;
    const Status orderStatus = file.GetMsOrder(scan, &order);
    line += orderStatus == rawfile::kOk ? ",\"ms_order\":" + std::to_string(order)
                                        : ",\"ms_order_error\":" + std::to_string(orderStatus);
    uint32_t packetType = 0;
    if (file.GetPacketTypeWord(scan, &packetType) == rawfile::kOk) {
        line += ",\"packet_type\":" + std::to_string(packetType);
    }
    line += TrailerMembers(file, scan);
    line += MassListMembers(file, scan, withPeaks);
    return line + "}";
}

constexpr const char* kUsage = "usage: rawdump [--no-peaks] <file.raw>\n       rawdump --help | --version";

int Usage() {
    WriteLine(Stream::Err, kUsage);
    return 2;
}

int Help() {
    WriteLine(Stream::Out, std::string(kUsage) + R"(

Prints what the native RAW reader reads from a Thermo RAW file (format
versions 57 to 66) as JSON lines: first the file's values, then one line
per scan with its filter text, retention time, trailer values and points.

  --no-peaks  write each scan's point count instead of its points
  --help      print this text and exit
  --version   print the version and exit

Exit status: 0 when the file opened, 1 when it could not be opened (the
reason is on standard error), 2 on a usage error.)");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    bool withPeaks = true;
    std::string path;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help") {
            return Help();
        } else if (argument == "--version") {
            WriteLine(Stream::Out, std::string("rawdump ") + RAWDUMP_VERSION);
            return 0;
        } else if (argument == "--no-peaks") {
            withPeaks = false;
        } else if (path.empty() && !argument.empty() && argument[0] != '-') {
            path = argument;
        } else {
            return Usage();
        }
    }
    if (path.empty()) {
        return Usage();
    }
    std::unique_ptr<NativeRawFile> file;
    std::string reason;
    if (NativeRawFile::Open(path, &file, &reason) != rawfile::kOk) {
        WriteLine(Stream::Err, "rawdump: cannot open " + path + ": " + reason);
        return 1;
    }
    WriteLine(Stream::Out, FileLine(*file, path));
    int32_t first = 0;
    int32_t last = 0;
    file->GetFirstScan(&first);
    file->GetLastScan(&last);
    if (first >= 1) {
        for (int64_t scan = first; scan <= last; ++scan) {
            WriteLine(Stream::Out, ScanLine(*file, static_cast<int32_t>(scan), withPeaks));
        }
    }
    file->Close();
    return 0;
}
