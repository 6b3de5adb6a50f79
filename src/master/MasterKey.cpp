#include "master/MasterKey.h"

#include "master/MasterFields.h"

namespace brimlo {

MasterKey MasterKey::Of(const Record& record) {
    return {record.at(kMasterMillCode).asString(), record.at(kMasterLoadNum).asInt(),
            static_cast<int16_t>(record.at(kMasterPop).asInt())};
}

} // namespace brimlo
