#include "load/LoadLayouts.h"

namespace brimlo {

const FieldList& HeaderFields() {
    static const FieldList fields = LayoutOf(kHeaderFields);
    return fields;
}

const FieldList& LogFields() {
    static const FieldList fields = LayoutOf(kLogFields);
    return fields;
}

} // namespace brimlo
