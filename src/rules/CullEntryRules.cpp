#include "rules/CullEntryRules.h"

#include "rules/CullTexts.h"

namespace brimlo {

namespace {

bool BarsC2(char cullMethod, char volumeMethod) {
    // Under the Alberta rule the sound-wood top diameter has no place.
    if (cullMethod == '1')
        return volumeMethod == 'A';
    return cullMethod == '2' || cullMethod == '3' || cullMethod == '7';
}

bool BarsC3(char cullMethod) {
    switch (cullMethod) {
    case '1':
    case '2':
    case '3':
    case '4':
    case '7':
        return true;
    default:
        return false;
    }
}

} // namespace

std::string CullMeasureRefusal(char cullMethod, int measurement, int value, char volumeMethod) {
    const bool keyed = measurement == 1 ? value > 0 : value >= 1;
    if (!keyed)
        return {};
    if (cullMethod == ' ')
        return kCullMethodFirstText;
    if (measurement == 2 && BarsC2(cullMethod, volumeMethod))
        return kCannotEnterC2Text;
    if (measurement == 3 && BarsC3(cullMethod))
        return kCannotEnterC3Text;
    return {};
}

int CullTabSkipsAfter(char cullMethod, int measurement, char volumeMethod) {
    if (measurement == 1 && BarsC2(cullMethod, volumeMethod))
        return 2;
    if (measurement == 2 && ((cullMethod == '1' && volumeMethod == 'S') || cullMethod == '4'))
        return 1;
    return 0;
}

} // namespace brimlo
