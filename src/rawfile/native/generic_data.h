#pragma once

// Generic data: a header of typed, labelled field descriptors that describes
// a fixed-layout record, and the records themselves. The trailer-extra
// values of each scan are such a record.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com.h"
#include "rawfile/backend.h"
#include "rawfile/native/byte_reader.h"

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
// the file declares it: CHAR VT_I1, UCHAR VT_UI1, SHORT VT_I2, USHORT VT_UI2,
// LONG VT_I4, ULONG VT_UI4, FLOAT VT_R4, DOUBLE VT_R8, the yes/no kinds
// VT_BOOL, texts VT_BSTR; a NULL field is an empty variant.
Status ReadFieldValue(const ByteReader& record, const FieldDescriptor& field, platform::VARIANT* value);

// The name of a type code as the files' documentation writes it ("SHORT").
const char* FieldTypeName(FieldType type);

}  // namespace rawfile::native
