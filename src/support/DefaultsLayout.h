#pragma once

#include "support/FieldDef.h"

namespace brimlo {

// The fields of defaults.db in table order; TRIM_ALLOWANCE is the last one.
const FieldList& DefaultsFields();

} // namespace brimlo
