#pragma once

#include "support/FieldDef.h"

namespace brimlo {

// The fields of a workspace's header table (HeaderN.db), in table order.
const FieldList& HeaderFields();

// The fields of a workspace's log table (LogN.db), in table order; the
// table is walked in unique LOGNUM order.
const FieldList& LogFields();

} // namespace brimlo
