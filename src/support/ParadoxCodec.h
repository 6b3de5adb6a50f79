#pragma once

#include "support/FieldDef.h"
#include "support/Value.h"

#include <cstdint>

namespace brimlo {

// Field values as the Paradox table format stores them in a record: numbers
// big-endian with the sign bit flipped (negative doubles fully inverted), so
// that an all-zero field is a blank one; alpha texts zero-padded; dates as
// day numbers. Control structures (headers, block links) are little-endian.

// Paradox type codes of the field descriptors in the table header.
enum ParadoxTypeCode : uint8_t {
    kPxAlpha = 0x01,
    kPxDate = 0x02,
    kPxShort = 0x03,
    kPxLong = 0x04,
    kPxCurrency = 0x05,
    kPxNumber = 0x06,
    kPxLogical = 0x09,
    kPxAutoInc = 0x16,
};

uint8_t ParadoxTypeCodeOf(FieldType type);
// The field type a stored code reads as; false for codes this engine does not
// read (memos, BLObs, BCD, times).
bool ParadoxFieldTypeOf(uint8_t code, FieldType& type);
// Bytes a field takes in a record.
int ParadoxFieldWidth(const FieldDef& field);

// Writes value into the width bytes at out. A null value writes a blank
// field. Throws BrimloError naming the field when a number does not fit.
void EncodeParadoxField(const FieldDef& field, const Value& value, unsigned char* out);
// Reads one field. Blank numeric, date and logical fields read as null
// values; alpha fields always read as text (blank is "").
Value DecodeParadoxField(const FieldDef& field, const unsigned char* in);
// Reads a whole record whose fields start at the given offsets.
Record DecodeParadoxRecord(const FieldList& fields, const std::vector<int>& offsets,
                           const unsigned char* record);

uint16_t ReadLe16(const unsigned char* p);
uint32_t ReadLe32(const unsigned char* p);
void WriteLe16(unsigned char* p, uint16_t v);
void WriteLe32(unsigned char* p, uint32_t v);

} // namespace brimlo
