#include "master/MasterStore.h"

#include <chrono>

namespace brimlo {

int64_t MasterPost::Now() {
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

} // namespace brimlo
