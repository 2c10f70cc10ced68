// libFuzzer target for the trailer-extra header and one record. The input
// starts with a generic data header (field count, then type code, length
// or precision and label of each field); the bytes after the header are the
// record (cut to the header's record size when longer).
//
// Rules checked: the header reads as damaged or ok; a read header ends where
// its descriptors say, lays its fields out one after another with the size
// of their type, names every type and reports the length word only for the
// kinds it applies to; the first field of a label is the one found; each
// value reads exactly when its field lies in the record, with the type the
// header declares, the stored bytes for numbers, and texts without NULs no
// longer than their field allows.

#include <cstdint>
#include <cstring>
#include <string>
#include <variant>

#include "fuzz_support.h"
#include "rawfile/native/generic_data.h"

namespace {

using fuzz::Require;
using rawfile::Status;
using rawfile::TrailerValue;
using rawfile::native::ByteReader;
using rawfile::native::FieldDescriptor;
using rawfile::native::FieldType;
using rawfile::native::GenericDataHeader;

uint64_t SizeOfType(FieldType type, uint32_t length) {
    switch (type) {
        case FieldType::Null: return 0;
        case FieldType::Short:
        case FieldType::UShort: return 2;
        case FieldType::Long:
        case FieldType::ULong:
        case FieldType::Float: return 4;
        case FieldType::Double: return 8;
        case FieldType::CharString: return length;
        case FieldType::WideCharString: return 2ull * length;
        default: return 1;
    }
}

template <typename T>
bool Holds(const TrailerValue& value, const uint8_t* stored) {
    if (!std::holds_alternative<T>(value)) {
        return false;
    }
    T expected;
    std::memcpy(&expected, stored, sizeof expected);
    const T got = std::get<T>(value);
    return std::memcmp(&got, &expected, sizeof got) == 0;
}

bool TextFits(const TrailerValue& value, uint64_t most) {
    if (!std::holds_alternative<std::string>(value)) {
        return false;
    }
    const std::string& text = std::get<std::string>(value);
    return text.size() <= most && text.find('\0') == std::string::npos;
}

bool ValueMatches(const TrailerValue& value, const FieldDescriptor& field, const uint8_t* stored) {
    switch (field.type) {
        case FieldType::Null: return std::holds_alternative<rawfile::NoTrailerValue>(value);
        case FieldType::Char: return Holds<int8_t>(value, stored);
        case FieldType::TrueFalse:
        case FieldType::YesNo:
        case FieldType::OnOff:
            return std::holds_alternative<bool>(value) && std::get<bool>(value) == (stored[0] != 0);
        case FieldType::UChar: return Holds<uint8_t>(value, stored);
        case FieldType::Short: return Holds<int16_t>(value, stored);
        case FieldType::UShort: return Holds<uint16_t>(value, stored);
        case FieldType::Long: return Holds<int32_t>(value, stored);
        case FieldType::ULong: return Holds<uint32_t>(value, stored);
        case FieldType::Float: return Holds<float>(value, stored);
        case FieldType::Double: return Holds<double>(value, stored);
        case FieldType::CharString: return TextFits(value, 2 * field.size);  // Latin-1: two bytes at most
        case FieldType::WideCharString: return TextFits(value, 3 * (field.size / 2));  // three per unit at most
    }
    return false;
}

// Where the header's descriptors end, walked independently of the reader.
uint64_t HeaderEnd(const uint8_t* data, uint32_t count) {
    uint64_t at = 4;
    for (uint32_t i = 0; i < count; ++i) {
        int32_t units = 0;
        std::memcpy(&units, data + at + 8, sizeof units);
        at += 12 + 2ull * static_cast<uint64_t>(units);
    }
    return at;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ByteReader in(data, size);
    GenericDataHeader header;
    const Status status = rawfile::native::ReadGenericDataHeader(in, &header);
    Require(status == rawfile::kOk || status == rawfile::kDamaged, "header status is ok or damaged");
    if (status != rawfile::kOk) {
        return 0;
    }
    uint32_t count = 0;
    std::memcpy(&count, data, sizeof count);
    Require(header.fields.size() == count, "the header holds every field it counts");
    Require(in.ok() && in.position() == HeaderEnd(data, count), "the header ends after its last descriptor");
    Require(header.recordSize <= size, "a record is no larger than the bytes holding it");

    uint64_t offset = 0;
    for (size_t i = 0; i < header.fields.size(); ++i) {
        const FieldDescriptor& field = header.fields[i];
        Require(static_cast<uint32_t>(field.type) <= static_cast<uint32_t>(FieldType::WideCharString),
                "a known type code");
        Require(std::strcmp(rawfile::native::FieldTypeName(field.type), "UNKNOWN") != 0, "every type has a name");
        Require(field.offset == offset && field.size == SizeOfType(field.type, field.lengthOrPrecision),
                "fields follow each other with the size of their type");
        offset += field.size;
        const bool reportsLength = field.type == FieldType::Float || field.type == FieldType::Double ||
                                   field.type == FieldType::CharString || field.type == FieldType::WideCharString;
        Require(rawfile::native::ReportedLengthOrPrecision(field) == (reportsLength ? field.lengthOrPrecision : 0),
                "the length word is reported for floats and texts only");
        const FieldDescriptor* found = rawfile::native::FindField(header, field.label);
        Require(found != nullptr && found <= &field && found->label == field.label,
                "a label finds its first field");
    }
    Require(offset == header.recordSize, "the record size is the sum of the fields");

    const uint64_t rest = size - in.position();
    const uint64_t recordSize = rest < header.recordSize ? rest : header.recordSize;
    const uint8_t* record = data + in.position();
    const ByteReader recordBytes(record, recordSize);
    for (const FieldDescriptor& field : header.fields) {
        TrailerValue value;
        const Status read = rawfile::native::ReadFieldValue(recordBytes, field, &value);
        const bool fits = field.offset + field.size <= recordSize;
        Require(read == (fits ? rawfile::kOk : rawfile::kDamaged), "a value reads exactly when its field fits");
        if (fits) {
            Require(ValueMatches(value, field, record + field.offset), "the value is the field's, typed as declared");
        }
    }
    return 0;
}
