#pragma once

#include <string>

namespace brimlo {

// Runs one SQL statement against the private tables. The one form needed
// is the upgrade of an older table:
//   ALTER TABLE "<table file>" ADD [COLUMN] <field> <type>
// with the types VARCHAR(n) or CHAR(n), SMALLINT, INTEGER, FLOAT, DATE and
// BOOLEAN. Raises BrimloError when the statement cannot be run, for
// instance when the table has that field already.
void ExecuteTableSql(const std::string& statement);

} // namespace brimlo
