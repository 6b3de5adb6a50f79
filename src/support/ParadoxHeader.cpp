#include "support/ParadoxHeader.h"

#include "support/BrimloError.h"
#include "support/ParadoxCodec.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace brimlo {

namespace {

// Fixed positions in the header block.
constexpr size_t kRecordSize = 0x00;
constexpr size_t kHeaderSize = 0x02;
constexpr size_t kFileType = 0x04;
constexpr size_t kMaxTableSize = 0x05;
constexpr size_t kNumRecords = 0x06;
constexpr size_t kUsedBlocks = 0x0A;
constexpr size_t kFileBlocks = 0x0C;
constexpr size_t kFirstBlock = 0x0E;
constexpr size_t kLastBlock = 0x10;
constexpr size_t kNumFields = 0x21;
constexpr size_t kEncryption1 = 0x25;
constexpr size_t kSortOrder = 0x29;
constexpr size_t kChangeCount1 = 0x2D;
constexpr size_t kChangeCount2 = 0x2E;
constexpr size_t kFileVersion = 0x39;
constexpr size_t kMaxBlocks = 0x3A;
constexpr size_t kFirstFree = 0x4D;
constexpr size_t kRealHeaderSize = 0x51;
constexpr size_t kFileVerId3 = 0x58;
constexpr size_t kFileVerId4 = 0x5A;
constexpr size_t kEncryption2 = 0x5C;
constexpr size_t kUpdateTime = 0x60;
constexpr size_t kHiFieldId = 0x64;
constexpr size_t kCodePage = 0x6A;
constexpr size_t kFieldInfo4 = 0x78; // field descriptors of level 4 and later tables
constexpr size_t kFieldInfo3 = 0x58;

constexpr uint8_t kKeyedTable = 0;
constexpr uint8_t kUnkeyedTable = 2;
constexpr uint8_t kLevel7 = 0x0C;
constexpr size_t kTableNameLength7 = 261;
constexpr size_t kTableNameLengthOld = 79;
constexpr uint32_t kNoOldEncryption = 0xFF00FF00;
constexpr uint16_t kCodePage1252 = 1252;
constexpr uint8_t kSortAnsiIntl = 0x62;
constexpr char kSortAnsiIntlName[] = "ANSIINTL";
constexpr size_t kMaxFieldName = 25;
constexpr uint32_t kHeaderUnit = 0x800;

[[noreturn]] void Refuse(const std::string& fileName, const std::string& why) {
    throw BrimloError("Table '" + fileName + "' cannot be opened: " + why);
}

uint32_t BlockSizeFor(int recordSize) {
    for (uint32_t size : {4096u, 8192u, 16384u, 32768u})
        if (static_cast<uint32_t>(recordSize) + 6 <= size)
            return size;
    return 0;
}

void CheckNewLayout(const FieldList& fields) {
    if (fields.empty() || fields.size() > 255)
        throw BrimloError("A Paradox table holds 1 to 255 fields, not " +
                          std::to_string(fields.size()));
    for (const FieldDef& f : fields) {
        if (f.name.empty() || f.name.size() > kMaxFieldName)
            throw BrimloError("Field name '" + f.name + "' must have 1 to 25 characters");
        if (f.type == FieldType::Alpha && (f.size < 1 || f.size > 255))
            throw BrimloError("Alpha field " + f.name + " must hold 1 to 255 characters");
    }
}

} // namespace

void ParadoxHeader::layOut() {
    offsets_.clear();
    recordSize_ = 0;
    for (const FieldDef& f : fields_) {
        offsets_.push_back(recordSize_);
        recordSize_ += ParadoxFieldWidth(f);
    }
}

ParadoxHeader ParadoxHeader::build(const FieldList& fields, const std::string& tableName) {
    CheckNewLayout(fields);
    ParadoxHeader h;
    h.fields_ = fields;
    h.layOut();
    h.blockSize_ = BlockSizeFor(h.recordSize_);
    if (h.blockSize_ == 0)
        throw BrimloError("A record of " + std::to_string(h.recordSize_) +
                          " bytes does not fit a Paradox block");
    const size_t n = fields.size();
    size_t names = 0;
    for (const FieldDef& f : fields)
        names += f.name.size() + 1;
    const size_t used = kFieldInfo4 + n * 2 + 4 + n * 4 + kTableNameLength7 + names + n * 2 +
                        sizeof kSortAnsiIntlName;
    const size_t size = (used + kHeaderUnit - 1) / kHeaderUnit * kHeaderUnit;
    std::vector<unsigned char>& b = h.bytes_;
    b.assign(size, 0);
    WriteLe16(&b[kRecordSize], static_cast<uint16_t>(h.recordSize_));
    WriteLe16(&b[kHeaderSize], static_cast<uint16_t>(size));
    b[kFileType] = kUnkeyedTable;
    b[kMaxTableSize] = static_cast<unsigned char>(h.blockSize_ / 1024);
    WriteLe16(&b[kNumFields], static_cast<uint16_t>(n));
    WriteLe32(&b[kEncryption1], kNoOldEncryption);
    b[kSortOrder] = kSortAnsiIntl;
    b[kChangeCount1] = 1;
    b[kChangeCount2] = 1;
    b[kFileVersion] = kLevel7;
    b[0x3E] = 0x1F; // constant in every level 4+ table seen
    b[0x3F] = 0x0F;
    WriteLe16(&b[kRealHeaderSize], static_cast<uint16_t>(used));
    WriteLe16(&b[kFileVerId3], 0x0100 | kLevel7);
    WriteLe16(&b[kFileVerId4], 0x0100 | kLevel7);
    WriteLe32(&b[kEncryption2], 0);
    WriteLe32(&b[kUpdateTime], static_cast<uint32_t>(std::time(nullptr)));
    WriteLe16(&b[kHiFieldId], static_cast<uint16_t>(n + 1));
    WriteLe16(&b[kCodePage], kCodePage1252);

    size_t pos = kFieldInfo4;
    for (const FieldDef& f : fields) {
        b[pos++] = ParadoxTypeCodeOf(f.type);
        b[pos++] = static_cast<unsigned char>(ParadoxFieldWidth(f));
    }
    h.counterOffset_ = pos;
    pos += 4 + n * 4; // run-time pointers: the table name and each field name
    const std::string name = tableName.substr(0, kTableNameLength7 - 1);
    std::memcpy(&b[pos], name.data(), name.size());
    pos += kTableNameLength7;
    for (const FieldDef& f : fields) {
        std::memcpy(&b[pos], f.name.data(), f.name.size());
        pos += f.name.size() + 1;
    }
    for (size_t i = 0; i < n; ++i, pos += 2)
        WriteLe16(&b[pos], static_cast<uint16_t>(i + 1));
    std::memcpy(&b[pos], kSortAnsiIntlName, sizeof kSortAnsiIntlName);
    return h;
}

void ParadoxHeader::readFields(const unsigned char* file, const std::string& fileName,
                               int version) {
    const size_t n = ReadLe16(file + kNumFields);
    const size_t end = bytes_.size();
    if (n < 1 || n > 255)
        Refuse(fileName, "its header is damaged (" + std::to_string(n) + " fields)");
    size_t pos = version >= 5 ? kFieldInfo4 : kFieldInfo3;
    const size_t names =
        pos + n * 2 + 4 + n * 4 + (version == kLevel7 ? kTableNameLength7 : kTableNameLengthOld);
    if (names >= end)
        Refuse(fileName, "its header is damaged (field list beyond the header)");
    std::vector<std::pair<uint8_t, uint8_t>> info;
    for (size_t i = 0; i < n; ++i, pos += 2)
        info.emplace_back(file[pos], file[pos + 1]);
    counterOffset_ = pos;
    pos = names;
    for (size_t i = 0; i < n; ++i) {
        const void* zero = std::memchr(file + pos, 0, end - pos);
        if (!zero)
            Refuse(fileName, "its header is damaged (field names beyond the header)");
        const size_t len =
            static_cast<size_t>(static_cast<const unsigned char*>(zero) - file) - pos;
        FieldDef f{std::string(reinterpret_cast<const char*>(file + pos), len), FieldType::Alpha,
                   0};
        pos += len + 1;
        const auto [code, width] = info[i];
        if (!ParadoxFieldTypeOf(code, f.type)) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "0x%02X", code);
            Refuse(fileName,
                   "field " + f.name + " has a type this program cannot read (" + hex + ")");
        }
        if (f.type == FieldType::Alpha)
            f.size = width;
        if (width == 0 || ParadoxFieldWidth(f) != width)
            Refuse(fileName, "its header is damaged (field " + f.name + " has a wrong size)");
        fields_.push_back(f);
    }
}

ParadoxHeader ParadoxHeader::parse(const unsigned char* file, uint64_t fileSize,
                                   const std::string& fileName) {
    if (fileSize < kFieldInfo4)
        Refuse(fileName, "the file is too short to be a Paradox table");
    const uint8_t type = file[kFileType];
    const uint8_t version = file[kFileVersion];
    const uint8_t sizeCode = file[kMaxTableSize];
    const uint32_t headerSize = ReadLe16(file + kHeaderSize);
    if (type > 8 || version < 3 || version > kLevel7 || sizeCode < 1 || sizeCode > 32 ||
        headerSize < kFieldInfo4 || ReadLe16(file + kRecordSize) == 0)
        Refuse(fileName, "it is not a Paradox table");
    if (type != kKeyedTable && type != kUnkeyedTable)
        Refuse(fileName, "it is a Paradox index, not a data table");
    if (headerSize > fileSize)
        Refuse(fileName, "the file is truncated (its header is incomplete)");
    uint32_t encryption = ReadLe32(file + kEncryption1);
    if (version >= 5 && encryption == kNoOldEncryption)
        encryption = ReadLe32(file + kEncryption2);
    if (encryption != 0)
        Refuse(fileName, "it is encrypted (password protected)");

    ParadoxHeader h;
    h.bytes_.assign(file, file + headerSize);
    h.readFields(file, fileName, version);
    h.layOut();
    h.blockSize_ = sizeCode * 1024u;
    h.keyed_ = type == kKeyedTable;
    if (h.recordSize_ != ReadLe16(file + kRecordSize) ||
        static_cast<uint32_t>(h.recordSize_) + 6 > h.blockSize_)
        Refuse(fileName, "its header is damaged (record size does not match its fields)");
    ParadoxBlockCounts& c = h.counts_;
    c.records = ReadLe32(file + kNumRecords);
    c.usedBlocks = ReadLe16(file + kUsedBlocks);
    c.fileBlocks = ReadLe16(file + kFileBlocks);
    c.firstBlock = ReadLe16(file + kFirstBlock);
    c.lastBlock = ReadLe16(file + kLastBlock);
    c.firstFree = version >= 5 ? ReadLe16(file + kFirstFree) : 0;
    if (fileSize < h.blockOffset(c.fileBlocks + 1u))
        Refuse(fileName, "the file is truncated (" + std::to_string(c.fileBlocks) +
                             " blocks announced, " + std::to_string(fileSize) + " bytes present)");
    return h;
}

uint32_t ParadoxHeader::changeCounter() const {
    return ReadLe32(&bytes_[counterOffset_]);
}

void ParadoxHeader::setChangeCounter(uint32_t counter) {
    WriteLe32(&bytes_[counterOffset_], counter);
}

std::vector<unsigned char> ParadoxHeader::bytes() const {
    std::vector<unsigned char> b = bytes_;
    WriteLe32(&b[kNumRecords], counts_.records);
    WriteLe16(&b[kUsedBlocks], counts_.usedBlocks);
    WriteLe16(&b[kFileBlocks], counts_.fileBlocks);
    WriteLe16(&b[kFirstBlock], counts_.firstBlock);
    WriteLe16(&b[kLastBlock], counts_.lastBlock);
    WriteLe16(&b[kMaxBlocks], counts_.fileBlocks);
    if (b[kFileVersion] >= 5)
        WriteLe16(&b[kFirstFree], counts_.firstFree);
    return b;
}

} // namespace brimlo
