#pragma once

#include "support/FieldDef.h"
#include "support/Value.h"

namespace brimlo {

// The value a field of this definition holds after the assignment of v:
// texts are cut to the alpha size, numbers become the field's kind (a
// floating value in a whole-number field rounds halves to even), an empty
// text clears the field (null). Raises BrimloError for a value the field
// cannot take (a short outside -32768..32767, a text that is no number).
Value CoerceToField(const FieldDef& field, const Value& v);

// Orders two values of a field of this type: negative, 0 or positive. A
// null sorts first; texts compare byte by byte (case-sensitive).
int CompareFieldValues(FieldType type, const Value& a, const Value& b);

} // namespace brimlo
