#include "rawfile/native/generic_data.h"

#include "rawfile/native/text_decoding.h"

namespace rawfile::native {

namespace {

constexpr uint64_t kDescriptorMinimumSize = 12;  // type, length, empty label
constexpr uint32_t kLastTypeCode = static_cast<uint32_t>(FieldType::WideCharString);

uint64_t FieldSize(FieldType type, uint32_t lengthOrPrecision) {
    switch (type) {
        case FieldType::Null: return 0;
        case FieldType::Char:
        case FieldType::TrueFalse:
        case FieldType::YesNo:
        case FieldType::OnOff:
        case FieldType::UChar: return 1;
        case FieldType::Short:
        case FieldType::UShort: return 2;
        case FieldType::Long:
        case FieldType::ULong:
        case FieldType::Float: return 4;
        case FieldType::Double: return 8;
        case FieldType::CharString: return lengthOrPrecision;
        case FieldType::WideCharString: return 2 * static_cast<uint64_t>(lengthOrPrecision);
    }
    return 0;
}

}  // namespace

Status ReadGenericDataHeader(ByteReader& in, GenericDataHeader* header) {
    header->fields.clear();
    header->fieldOfLabel.clear();
    header->recordSize = 0;
    const uint32_t count = in.U32();
    if (!in.CanRead(static_cast<uint64_t>(count) * kDescriptorMinimumSize)) {
        return kDamaged;
    }
    header->fields.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t code = in.U32();
        FieldDescriptor field;
        field.lengthOrPrecision = in.U32();
        field.label = in.PString();
        if (!in.ok()) {
            return kDamaged;
        }
        if (code > kLastTypeCode) {
            return kDamaged;  // the sizes of the fields after it cannot be known
        }
        field.type = static_cast<FieldType>(code);
        field.offset = header->recordSize;
        field.size = FieldSize(field.type, field.lengthOrPrecision);
        header->recordSize += field.size;
        if (field.size > in.size() || header->recordSize > in.size()) {
            return kDamaged;  // a record cannot be larger than the file holding it
        }
        header->fieldOfLabel.emplace(field.label, header->fields.size());
        header->fields.push_back(std::move(field));
    }
    return kOk;
}

uint32_t ReportedLengthOrPrecision(const FieldDescriptor& field) {
    switch (field.type) {
        case FieldType::Float:
        case FieldType::Double:
        case FieldType::CharString:
        case FieldType::WideCharString: return field.lengthOrPrecision;
        default: return 0;
    }
}

const FieldDescriptor* FindField(const GenericDataHeader& header, std::string_view label) {
    const auto found = header.fieldOfLabel.find(label);
    return found == header.fieldOfLabel.end() ? nullptr : &header.fields[found->second];
}

Status ReadFieldValue(const ByteReader& record, const FieldDescriptor& field, TrailerValue* value) {
    ByteReader in = record.Region(field.offset, field.size);
    if (!in.ok()) {
        return kDamaged;
    }
    switch (field.type) {
        case FieldType::Null: *value = NoTrailerValue{}; break;
        case FieldType::Char: *value = static_cast<int8_t>(in.U8()); break;
        case FieldType::TrueFalse:
        case FieldType::YesNo:
        case FieldType::OnOff: *value = in.U8() != 0; break;
        case FieldType::UChar: *value = in.U8(); break;
        case FieldType::Short: *value = static_cast<int16_t>(in.U16()); break;
        case FieldType::UShort: *value = in.U16(); break;
        case FieldType::Long: *value = in.I32(); break;
        case FieldType::ULong: *value = in.U32(); break;
        case FieldType::Float: *value = in.F32(); break;
        case FieldType::Double: *value = in.F64(); break;
        case FieldType::CharString: *value = EightBitToUtf8(in.data(), field.size); break;
        case FieldType::WideCharString: *value = Utf16LeToUtf8(in.data(), field.size / 2, true); break;
    }
    return kOk;
}

const char* FieldTypeName(FieldType type) {
    switch (type) {
        case FieldType::Null: return "NULL";
        case FieldType::Char: return "CHAR";
        case FieldType::TrueFalse: return "TRUEFALSE";
        case FieldType::YesNo: return "YESNO";
        case FieldType::OnOff: return "ONOFF";
        case FieldType::UChar: return "UCHAR";
        case FieldType::Short: return "SHORT";
        case FieldType::UShort: return "USHORT";
        case FieldType::Long: return "LONG";
        case FieldType::ULong: return "ULONG";
        case FieldType::Float: return "FLOAT";
        case FieldType::Double: return "DOUBLE";
        case FieldType::CharString: return "CHAR_STRING";
        case FieldType::WideCharString: return "WCHAR_STRING";
    }
    return "UNKNOWN";
}

}  // namespace rawfile::native
