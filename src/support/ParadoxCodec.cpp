#include "support/ParadoxCodec.h"

#include "support/BrimloError.h"

#include <cstring>

namespace brimlo {

namespace {

void WriteBe(unsigned char* out, uint64_t bits, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) {
        out[i] = static_cast<unsigned char>(bits & 0xFF);
        bits >>= 8;
    }
}

uint64_t ReadBe(const unsigned char* in, int bytes) {
    uint64_t bits = 0;
    for (int i = 0; i < bytes; ++i)
        bits = (bits << 8) | in[i];
    return bits;
}

bool IsBlank(const unsigned char* in, int bytes) {
    for (int i = 0; i < bytes; ++i)
        if (in[i] != 0)
            return false;
    return true;
}

// Integers keep their two's complement pattern with the top bit flipped; the
// most negative value would read back as blank, so it is out of range.
void EncodeInteger(const FieldDef& field, int64_t n, int bytes, unsigned char* out) {
    const int64_t limit = (int64_t{1} << (8 * bytes - 1)) - 1;
    if (n > limit || n < -limit)
        throw BrimloError("Value " + std::to_string(n) + " is out of range for field " +
                          field.name);
    const uint64_t mask = bytes == 8 ? ~uint64_t{0} : (uint64_t{1} << (8 * bytes)) - 1;
    const uint64_t top = uint64_t{1} << (8 * bytes - 1);
    WriteBe(out, (static_cast<uint64_t>(n) & mask) ^ top, bytes);
}

int64_t DecodeInteger(const unsigned char* in, int bytes) {
    const uint64_t top = uint64_t{1} << (8 * bytes - 1);
    const uint64_t bits = ReadBe(in, bytes) ^ top;
    // sign-extend from the field's width
    return (bits & top) ? static_cast<int64_t>(bits) - static_cast<int64_t>(top << 1)
                        : static_cast<int64_t>(bits);
}

void EncodeDouble(double d, unsigned char* out) {
    uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    const uint64_t sign = uint64_t{1} << 63;
    WriteBe(out, (bits & sign) ? ~bits : bits ^ sign, 8);
}

double DecodeDouble(const unsigned char* in) {
    uint64_t bits = ReadBe(in, 8);
    const uint64_t sign = uint64_t{1} << 63;
    bits = (bits & sign) ? bits ^ sign : ~bits;
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

void EncodeAlpha(const FieldDef& field, const Value& value, unsigned char* out) {
    std::memset(out, 0, static_cast<size_t>(field.size));
    if (value.isNull())
        return;
    const std::string text = value.asString();
    // a text longer than the field is cut, as the engine's string fields do
    std::memcpy(out, text.data(), std::min(text.size(), static_cast<size_t>(field.size)));
}

} // namespace

uint8_t ParadoxTypeCodeOf(FieldType type) {
    switch (type) {
    case FieldType::Alpha:
        return kPxAlpha;
    case FieldType::Short:
        return kPxShort;
    case FieldType::Long:
        return kPxLong;
    case FieldType::Number:
        return kPxNumber;
    case FieldType::Date:
        return kPxDate;
    case FieldType::Logical:
        return kPxLogical;
    }
    return kPxAlpha;
}

bool ParadoxFieldTypeOf(uint8_t code, FieldType& type) {
    switch (code) {
    case kPxAlpha:
        type = FieldType::Alpha;
        return true;
    case kPxDate:
        type = FieldType::Date;
        return true;
    case kPxShort:
        type = FieldType::Short;
        return true;
    case kPxLong:
    case kPxAutoInc:
        type = FieldType::Long;
        return true;
    case kPxNumber:
    case kPxCurrency:
        type = FieldType::Number;
        return true;
    case kPxLogical:
        type = FieldType::Logical;
        return true;
    default:
        return false;
    }
}

int ParadoxFieldWidth(const FieldDef& field) {
    switch (field.type) {
    case FieldType::Alpha:
        return field.size;
    case FieldType::Short:
        return 2;
    case FieldType::Long:
    case FieldType::Date:
        return 4;
    case FieldType::Number:
        return 8;
    case FieldType::Logical:
        return 1;
    }
    return 0;
}

void EncodeParadoxField(const FieldDef& field, const Value& value, unsigned char* out) {
    const int width = ParadoxFieldWidth(field);
    if (field.type == FieldType::Alpha) {
        EncodeAlpha(field, value, out);
        return;
    }
    if (value.isNull()) {
        std::memset(out, 0, static_cast<size_t>(width));
        return;
    }
    switch (field.type) {
    case FieldType::Short:
    case FieldType::Long:
        EncodeInteger(field, value.asInt(), width, out);
        break;
    case FieldType::Date: {
        const int32_t days = value.asDate().days;
        if (days <= 0)
            std::memset(out, 0, 4);
        else
            EncodeInteger(field, days, 4, out);
        break;
    }
    case FieldType::Number:
        EncodeDouble(value.asDouble(), out);
        break;
    case FieldType::Logical:
        out[0] = value.asBool() ? 0x81 : 0x80;
        break;
    case FieldType::Alpha:
        break;
    }
}

Value DecodeParadoxField(const FieldDef& field, const unsigned char* in) {
    if (field.type == FieldType::Alpha) {
        const void* end = std::memchr(in, 0, static_cast<size_t>(field.size));
        const size_t length = end ? static_cast<size_t>(static_cast<const unsigned char*>(end) - in)
                                  : static_cast<size_t>(field.size);
        return Value(std::string(reinterpret_cast<const char*>(in), length));
    }
    const int width = ParadoxFieldWidth(field);
    if (IsBlank(in, width))
        return Value();
    switch (field.type) {
    case FieldType::Short:
    case FieldType::Long:
        return Value(static_cast<int32_t>(DecodeInteger(in, width)));
    case FieldType::Date:
        return Value(Date{static_cast<int32_t>(DecodeInteger(in, 4))});
    case FieldType::Number:
        return Value(DecodeDouble(in));
    case FieldType::Logical:
        return Value((in[0] & 0x7F) != 0);
    case FieldType::Alpha:
        break;
    }
    return Value();
}

Record DecodeParadoxRecord(const FieldList& fields, const std::vector<int>& offsets,
                           const unsigned char* record) {
    Record values;
    values.reserve(fields.size());
    for (size_t i = 0; i < fields.size(); ++i)
        values.push_back(DecodeParadoxField(fields[i], record + offsets[i]));
    return values;
}

uint16_t ReadLe16(const unsigned char* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t ReadLe32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

void WriteLe16(unsigned char* p, uint16_t v) {
    p[0] = static_cast<unsigned char>(v & 0xFF);
    p[1] = static_cast<unsigned char>(v >> 8);
}

void WriteLe32(unsigned char* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>((v >> (8 * i)) & 0xFF);
}

} // namespace brimlo
