#pragma once

#include "support/FieldDef.h"
#include "support/Value.h"

#include <optional>
#include <string>

struct sqlite3_stmt;

namespace brimlo {

// How a private table's fields look as SQLite columns. Each field is a
// column of its own name with a declared type that names the field's kind:
//   alpha n -> VARCHAR(n), short -> SMALLINT, long -> INTEGER,
//   number -> FLOAT, date -> DATE, logical -> BOOLEAN.
// The declared types give the layout back when the table is opened, and
// SQLite's own affinities fit them.
//
// Texts are stored as SQLite text holding their Windows-1252 bytes as they
// are. Text rather than blobs so that an office's query compares a code with
// a quoted literal (SPECIES = 'SP') and a database browser shows the codes
// and names; the bytes as they are rather than converted to UTF-8 so that
// every byte a record holds comes back unchanged, the five bytes 1252 leaves
// undefined included. Only letters beyond ASCII look wrong in such a tool.
// Dates are ISO texts (1999-12-31), which SQLite's date functions read;
// logicals are 0 and 1.

// "NAME" in double quotes, with quotes inside doubled.
std::string QuotedName(const std::string& name);
// The column's declaration in CREATE TABLE or ALTER TABLE ADD COLUMN.
std::string ColumnDeclaration(const FieldDef& field);
// The field a column of this name and declared type holds; nothing when the
// type is none of ours.
std::optional<FieldDef> FieldOfColumn(const std::string& name, const std::string& declared);

// Reads a column of the current row as a value of the field's type. Dates
// are read from ISO texts and, as tables of the older form kept them, from
// day numbers; a text that is no date reads as null.
Value ReadColumn(sqlite3_stmt* statement, int column, FieldType type);
// Binds a value to a statement's slot as the column of that type keeps it.
int BindValue(sqlite3_stmt* statement, int slot, FieldType type, const Value& v);

} // namespace brimlo
