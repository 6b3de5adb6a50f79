#pragma once

#include "support/DbaseWriter.h"
#include "support/Value.h"

#include <string>

namespace brimlo {

class MasterStore;
class MasterTable;

inline constexpr const char* kWeightSampleTable = "SAMPLWT.dbf";
inline constexpr const char* kVolumeSampleTable = "SAMPLVOL.dbf";

// Both sample tables, empty, in the directory (given with its trailing
// separator), replacing tables of the same names.
void CreateSampleTables(const std::string& directory, Date lastUpdate = DbaseWriter::Today());

// Both sample tables filled from every master record in table order: one
// volume row per summary group in use, one weight row per record; the
// master table is left on its last record. The
// tables replace older ones only when both are complete; a failure throws
// and leaves the older tables as they were.
bool WriteSampleTables(const std::string& directory, MasterTable& table,
                       Date lastUpdate = DbaseWriter::Today());

// The same from every record of a master store, in its order.
bool WriteSampleTables(const std::string& directory, MasterStore& store,
                       Date lastUpdate = DbaseWriter::Today());

// The group key as the volume table carries it: species, condition and
// product, two characters each, without the separating blanks.
std::string SampleSpCdPr(const std::string& groupKey);

} // namespace brimlo
