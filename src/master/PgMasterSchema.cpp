#include "master/PgMasterSchema.h"

#include "master/MasterFields.h"
#include "support/PgConnection.h"

namespace brimlo {

namespace {

// Mill code, load number and population make the key and so never hold a
// NULL; texts hold "" for nothing, as master.db does.
std::string ColumnType(const FieldDef& field) {
    switch (field.type) {
    case FieldType::Alpha:
        return "varchar(" + std::to_string(field.size) + ") NOT NULL DEFAULT ''";
    case FieldType::Short:
        return field.name == "POP" ? "smallint NOT NULL" : "smallint";
    case FieldType::Long:
        return field.name == "LOAD_NUM" ? "integer NOT NULL" : "integer";
    case FieldType::Number:
        return "double precision";
    case FieldType::Date:
        return "date";
    case FieldType::Logical:
        return "boolean";
    }
    return "text";
}

} // namespace

const std::string& PgMasterSchema::Columns() {
    static const std::string columns = [] {
        std::string list;
        for (const FieldDef& field : MasterFieldList())
            list += (list.empty() ? "" : ", ") + field.name;
        return list;
    }();
    return columns;
}

std::string PgMasterSchema::CreateMasterTable() {
    std::string sql = "CREATE TABLE master (ROW_ID bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY";
    for (const FieldDef& field : MasterFieldList())
        sql += ", " + field.name + " " + ColumnType(field);
    sql += ", POSTED_BY text NOT NULL, POSTED_AT timestamptz NOT NULL"
           ", CONSTRAINT master_key UNIQUE (MILLCODE, LOAD_NUM, POP))";
    return sql;
}

void PgMasterSchema::Migrate(PgConnection& connection) {
    connection.transaction([&] {
        // Any number fixed for the program: the lock lasts to the commit.
        connection.exec("SELECT pg_advisory_xact_lock(7305531090221011)");
        connection.exec("CREATE TABLE IF NOT EXISTS brimlo_schema (version integer NOT NULL)");
        const PgResult found = connection.exec("SELECT max(version) FROM brimlo_schema");
        const int version = found.isNull(0, 0) ? 0 : static_cast<int>(found.number(0, 0));
        if (version > kVersion)
            throw BrimloError("The master database was laid out by a newer version of Brimlo "
                              "(layout " +
                              std::to_string(version) + ")");
        if (version == kVersion)
            return;
        if (version < 1)
            connection.exec(CreateMasterTable());
        connection.exec("DELETE FROM brimlo_schema");
        connection.exec("INSERT INTO brimlo_schema (version) VALUES (" + std::to_string(kVersion) +
                        ")");
    });
}

} // namespace brimlo
