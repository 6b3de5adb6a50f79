#include "rules/Cglobals.h"

#include "support/Dataset.h"

namespace brimlo {

std::string VolumeMethodLetter(const std::string& name) {
    if (name == kAlbertaMethodName)
        return "A";
    if (name == kSmalianMethodName)
        return "S";
    return {};
}

std::string VolumeMethodName(const std::string& letter) {
    if (letter == "A")
        return kAlbertaMethodName;
    if (letter == "S")
        return kSmalianMethodName;
    return {};
}

void StoreVolumeMethod(Dataset& table, const std::string& field, const std::string& name) {
    const std::string letter = VolumeMethodLetter(name);
    if (table.field(field).asString() == letter)
        return;
    if (!table.isEditing())
        table.edit();
    table.setField(field, Value(letter));
}

} // namespace brimlo
