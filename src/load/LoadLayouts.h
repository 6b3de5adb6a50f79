#pragma once

#include "load/FieldDescriptor.h"
#include "load/HeaderRecord.h"
#include "load/LogRecord.h"
#include "support/FieldDef.h"

#include <array>

namespace brimlo {

// The fields of a workspace's header table (HeaderN.db), in table order.
enum class HeaderField {
    LESSEE,
    MILL_NAME,
    DISP,
    SUBDISP,
    MILL_NUM,
    BLOCK_NUM,
    LOAD_NUM,
    POP,
    HTOPD,
    NETWEIGHT,
    TM9,
    HSPECIES,
    HCONDCODE,
    HPRODCODE,
    SOURCE,
    MILL_CODE,
    LOAD_ID,
    TREES,
    SAWLOGS,
    DATEWEIGHED,
    VOL_CALC_METH,
    SCALER_NAME,
    SCALER_PERMIT,
    TRIM_ALLOWANCE
};

// The fields of a workspace's log table (LogN.db), in table order.
enum class LogField {
    LOGNUM,
    SPECIES,
    CONDCODE,
    PRODCODE,
    TOPD,
    LENGTH,
    C1,
    C2,
    C3,
    CULL_TYPE,
    CULL_METH,
    GROSSVOL,
    CULLVOL,
    BUTTD,
    FLAG,
    LOAD_ID,
    DBH,
    PROD_OVERRIDE,
    ACT_LENGTH
};

using HeaderFieldDescriptor = FieldDescriptor<HeaderField, HeaderRecord>;
using LogFieldDescriptor = FieldDescriptor<LogField, LogRecord>;

// The one description of the header record: the table is created from it
// and records are copied to and from the table by it. TRIM_ALLOWANCE is a
// column of the table that no record member holds: the load's trim
// allowance mode is the window's (LoadFlags::TrimAllowance).
inline constexpr std::array<HeaderFieldDescriptor, 24> kHeaderFields{{
    {HeaderField::LESSEE, "LESSEE", FieldType::Alpha, 20, &HeaderRecord::LESSEE},
    {HeaderField::MILL_NAME, "MILL_NAME", FieldType::Alpha, 20, &HeaderRecord::MILL_NAME},
    {HeaderField::DISP, "DISP", FieldType::Alpha, 10, &HeaderRecord::DISP},
    {HeaderField::SUBDISP, "SUBDISP", FieldType::Alpha, 4, &HeaderRecord::SUBDISP},
    {HeaderField::MILL_NUM, "MILL_NUM", FieldType::Long, 0, &HeaderRecord::MILL_NUM},
    {HeaderField::BLOCK_NUM, "BLOCK_NUM", FieldType::Alpha, 4, &HeaderRecord::BLOCK_NUM},
    {HeaderField::LOAD_NUM, "LOAD_NUM", FieldType::Long, 0, &HeaderRecord::LOAD_NUM},
    {HeaderField::POP, "POP", FieldType::Short, 0, &HeaderRecord::POP},
    {HeaderField::HTOPD, "HTOPD", FieldType::Short, 0, &HeaderRecord::HTOPD},
    {HeaderField::NETWEIGHT, "NETWEIGHT", FieldType::Number, 0, &HeaderRecord::NETWEIGHT},
    {HeaderField::TM9, "TM9", FieldType::Alpha, 10, &HeaderRecord::TM9},
    {HeaderField::HSPECIES, "HSPECIES", FieldType::Alpha, 2, &HeaderRecord::HSPECIES},
    {HeaderField::HCONDCODE, "HCONDCODE", FieldType::Alpha, 2, &HeaderRecord::HCONDCODE},
    {HeaderField::HPRODCODE, "HPRODCODE", FieldType::Alpha, 2, &HeaderRecord::HPRODCODE},
    {HeaderField::SOURCE, "SOURCE", FieldType::Alpha, 20, &HeaderRecord::SOURCE},
    {HeaderField::MILL_CODE, "MILL_CODE", FieldType::Alpha, 2, &HeaderRecord::MILL_CODE},
    {HeaderField::LOAD_ID, "LOAD_ID", FieldType::Short, 0, &HeaderRecord::LOAD_ID},
    {HeaderField::TREES, "TREES", FieldType::Short, 0, &HeaderRecord::TREES},
    {HeaderField::SAWLOGS, "SAWLOGS", FieldType::Alpha, 1, &HeaderRecord::SAWLOGS},
    {HeaderField::DATEWEIGHED, "DATEWEIGHED", FieldType::Date, 0, &HeaderRecord::DATEWEIGHED},
    {HeaderField::VOL_CALC_METH, "VOL_CALC_METH", FieldType::Alpha, 1,
     &HeaderRecord::VOL_CALC_METH},
    {HeaderField::SCALER_NAME, "SCALER_NAME", FieldType::Alpha, 20, &HeaderRecord::SCALER_NAME},
    {HeaderField::SCALER_PERMIT, "SCALER_PERMIT", FieldType::Alpha, 6,
     &HeaderRecord::SCALER_PERMIT},
    {HeaderField::TRIM_ALLOWANCE, "TRIM_ALLOWANCE", FieldType::Logical, 0, {}},
}};

// The one description of the log record; the table is walked in unique
// LOGNUM order.
inline constexpr std::array<LogFieldDescriptor, 19> kLogFields{{
    {LogField::LOGNUM, "LOGNUM", FieldType::Long, 0, &LogRecord::LOGNUM},
    {LogField::SPECIES, "SPECIES", FieldType::Alpha, 2, &LogRecord::SPECIES},
    {LogField::CONDCODE, "CONDCODE", FieldType::Alpha, 2, &LogRecord::CONDCODE},
    {LogField::PRODCODE, "PRODCODE", FieldType::Alpha, 2, &LogRecord::PRODCODE},
    {LogField::TOPD, "TOPD", FieldType::Short, 0, &LogRecord::TOPD},
    {LogField::LENGTH, "LENGTH", FieldType::Short, 0, &LogRecord::LENGTH},
    {LogField::C1, "C1", FieldType::Short, 0, &LogRecord::C1},
    {LogField::C2, "C2", FieldType::Short, 0, &LogRecord::C2},
    {LogField::C3, "C3", FieldType::Short, 0, &LogRecord::C3},
    {LogField::CULL_TYPE, "CULL_TYPE", FieldType::Alpha, 1, &LogRecord::CULL_TYPE},
    {LogField::CULL_METH, "CULL_METH", FieldType::Alpha, 1, &LogRecord::CULL_METH},
    {LogField::GROSSVOL, "GROSSVOL", FieldType::Number, 0, &LogRecord::GROSSVOL},
    {LogField::CULLVOL, "CULLVOL", FieldType::Number, 0, &LogRecord::CULLVOL},
    {LogField::BUTTD, "BUTTD", FieldType::Short, 0, &LogRecord::BUTTD},
    {LogField::FLAG, "FLAG", FieldType::Alpha, 1, &LogRecord::FLAG},
    {LogField::LOAD_ID, "LOAD_ID", FieldType::Short, 0, &LogRecord::LOAD_ID, &LogRecord::hasLoadId},
    {LogField::DBH, "DBH", FieldType::Short, 0, &LogRecord::DBH, &LogRecord::hasDbh},
    {LogField::PROD_OVERRIDE, "PROD_OVERRIDE", FieldType::Alpha, 1, &LogRecord::PROD_OVERRIDE},
    {LogField::ACT_LENGTH, "ACT_LENGTH", FieldType::Short, 0, &LogRecord::ACT_LENGTH,
     &LogRecord::hasActLength},
}};

static_assert(DescriptorsInOrder(kHeaderFields));
static_assert(DescriptorsInOrder(kLogFields));

// The descriptor table of a record type, found by its field enumeration.
constexpr const auto& DescriptorsOf(HeaderField) {
    return kHeaderFields;
}
constexpr const auto& DescriptorsOf(LogField) {
    return kLogFields;
}

template <class Field> constexpr const char* FieldName(Field f) {
    return DescriptorsOf(f)[static_cast<std::size_t>(f)].name;
}

// The layouts the workspace tables are created with.
const FieldList& HeaderFields();
const FieldList& LogFields();

} // namespace brimlo
