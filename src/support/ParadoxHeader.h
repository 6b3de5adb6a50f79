#pragma once

#include "support/FieldDef.h"

#include <cstdint>
#include <string>
#include <vector>

namespace brimlo {

// Where the table's data blocks are: counts and chain ends kept in the header.
struct ParadoxBlockCounts {
    uint32_t records = 0;
    uint16_t fileBlocks = 0; // blocks in the file, in the chain or free
    uint16_t usedBlocks = 0; // blocks in the chain
    uint16_t firstBlock = 0; // 0 when the table has no block
    uint16_t lastBlock = 0;
    uint16_t firstFree = 0; // head of the free-block list, 0 when none

    bool operator==(const ParadoxBlockCounts&) const = default;
};

// The header block of a Paradox data table (.db): record layout, block size
// and the block counts. Tables this program creates are level 7, unkeyed,
// code page 1252; tables written elsewhere keep their header bytes and only
// get their counts updated.
class ParadoxHeader {
public:
    // A new unkeyed table's header. Throws BrimloError for a layout the
    // format cannot hold (no fields, names too long, record too big).
    static ParadoxHeader build(const FieldList& fields, const std::string& tableName);
    // Reads the header of a whole file held in memory; throws BrimloError
    // naming fileName when the file is no Paradox table this engine can read.
    static ParadoxHeader parse(const unsigned char* file, uint64_t fileSize,
                               const std::string& fileName);

    const FieldList& fields() const { return fields_; }
    const std::vector<int>& offsets() const { return offsets_; }
    int recordSize() const { return recordSize_; }
    uint32_t headerSize() const { return static_cast<uint32_t>(bytes_.size()); }
    uint32_t blockSize() const { return blockSize_; }
    int recordsPerBlock() const { return static_cast<int>((blockSize_ - 6) / recordSize_); }
    bool keyed() const { return keyed_; }
    uint64_t blockOffset(uint32_t block) const {
        return headerSize() + uint64_t{block - 1} * blockSize_;
    }

    // A number every change of the table raises, so that other processes see
    // the change. It lives in the header's run-time pointer to the table
    // name, which readers of the format ignore.
    uint32_t changeCounter() const;
    void setChangeCounter(uint32_t counter);

    const ParadoxBlockCounts& counts() const { return counts_; }
    void setCounts(const ParadoxBlockCounts& counts) { counts_ = counts; }
    // The header block with the current counts written into it.
    std::vector<unsigned char> bytes() const;

private:
    void layOut();
    void readFields(const unsigned char* file, const std::string& fileName, int version);

    FieldList fields_;
    std::vector<int> offsets_;
    int recordSize_ = 0;
    uint32_t blockSize_ = 0;
    bool keyed_ = false;
    ParadoxBlockCounts counts_;
    size_t counterOffset_ = 0;
    std::vector<unsigned char> bytes_;
};

} // namespace brimlo
