#pragma once

#include "support/StagedFile.h"
#include "support/Value.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace brimlo {

// A dBase field: 'C' character (blank-padded text), 'N' numeric without
// decimals (right-aligned), 'D' date (yyyymmdd). The width of a date field
// is always 8.
struct DbaseField {
    std::string name; // at most 10 characters
    char type;
    int width = 0;
};

// Writes a new dBase IV table (no memo, no index, Windows ANSI code page)
// from start to end: the rows are appended, commit() fills in the record
// count and moves the finished table over any table of that name.
// Dropped without commit(), nothing of the new table is left and an older
// table of that name stays as it was.
class DbaseWriter {
public:
    DbaseWriter(std::filesystem::path fileName, std::vector<DbaseField> fields,
                Date lastUpdate = Today());

    // One value per field in field order: texts for 'C', numbers for 'N',
    // dates for 'D' (no date leaves the field blank). A text longer than its
    // field is cut; a number is written rounded to a whole number, and one too
    // wide for its field throws.
    void appendRow(const std::vector<Value>& values);
    void commit();

    static Date Today();

private:
    std::string header() const;
    void appendCell(std::string& row, const DbaseField& field, const Value& value) const;

    std::filesystem::path fileName_;
    std::vector<DbaseField> fields_;
    Date lastUpdate_;
    uint32_t rows_ = 0;
    StagedFile file_;
};

} // namespace brimlo
