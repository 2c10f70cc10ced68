#pragma once

// Generic data: a header of typed, labelled field descriptors that describes
// a fixed-layout record, and the records themselves. The trailer-extra
// values of each scan are such a record.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "rawfile/backend.h"
#include "rawfile/native/byte_reader.h"
#include "rawfile/trailer_value.h"

namespace rawfile::native {

enum class FieldType : uint32_t {
    Null = 0,
    Char = 1,
    TrueFalse = 2,
    YesNo = 3,
    OnOff = 4,
    UChar = 5,
    Short = 6,
    UShort = 7,
    Long = 8,
    ULong = 9,
    Float = 10,
    Double = 11,
    CharString = 12,
    WideCharString = 13,
};

struct FieldDescriptor {
    FieldType type = FieldType::Null;
    uint32_t lengthOrPrecision = 0;
    std::string label;
    uint64_t offset = 0;  // within the record
    uint64_t size = 0;    // bytes in the record
};

struct GenericDataHeader {
    std::vector<FieldDescriptor> fields;  // in file order
    uint64_t recordSize = 0;
    // Each label's first field, so that a value is found without comparing
    // the label with every field's.
    struct LabelHash {
        using is_transparent = void;
        size_t operator()(std::string_view label) const { return std::hash<std::string_view>()(label); }
    };
    std::unordered_map<std::string, size_t, LabelHash, std::equal_to<>> fieldOfLabel;
};

// Reads a header at the cursor. An unknown type code makes the header (and
// every record it describes) unreadable.
Status ReadGenericDataHeader(ByteReader& in, GenericDataHeader* header);

// The length or precision word as Thermo's library reports it: the stored
// word for the kinds it applies to (decimals of FLOAT and DOUBLE, characters
// of the two string kinds) and 0 for every other kind, whatever is stored.
uint32_t ReportedLengthOrPrecision(const FieldDescriptor& field);

// The first field with exactly this label, or null.
const FieldDescriptor* FindField(const GenericDataHeader& header, std::string_view label);

// The field's value in `record` (a cursor over one whole record), typed as
// the file declares it: CHAR int8_t, UCHAR uint8_t, SHORT int16_t, USHORT
// uint16_t, LONG int32_t, ULONG uint32_t, FLOAT float, DOUBLE double, the
// yes/no kinds bool, texts std::string; a NULL field has no value.
Status ReadFieldValue(const ByteReader& record, const FieldDescriptor& field, TrailerValue* value);

// The name of a type code as the files' documentation writes it ("SHORT").
const char* FieldTypeName(FieldType type);

}  // namespace rawfile::native
