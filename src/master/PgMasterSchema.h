#pragma once

#include <string>

namespace brimlo {

class PgConnection;

// The master table on a PostgreSQL server: table "master" with the 105
// master fields as typed columns under their names (unquoted, so they read
// in any case), a unique key on MILLCODE, LOAD_NUM and POP, who posted each
// record and when, and ROW_ID, which keeps the records' order. The table
// "brimlo_schema" holds the layout's version; opening brings an older
// layout up to date, one step after the other.
class PgMasterSchema {
public:
    static constexpr int kVersion = 1;

    // Creates or upgrades the tables in one transaction. Several scale
    // houses starting at once take turns. A layout newer than this program
    // knows is refused.
    static void Migrate(PgConnection& connection);

    // The master fields' column names, comma-separated, in table order.
    static const std::string& Columns();

private:
    static std::string CreateMasterTable();
};

} // namespace brimlo
