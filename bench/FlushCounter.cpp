#include "FlushCounter.h"

#include <atomic>
#include <dlfcn.h>
#include <unistd.h>

namespace {

std::atomic<long> flushes{0};

template <class Function> Function Next(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

} // namespace

namespace brimlo::bench {

long FlushCount() {
    return flushes.load();
}

} // namespace brimlo::bench

extern "C" int fsync(int fd) {
    using Fsync = int (*)(int);
    static const Fsync real = Next<Fsync>("fsync");
    ++flushes;
    return real(fd);
}

extern "C" int fdatasync(int fd) {
    using Fdatasync = int (*)(int);
    static const Fdatasync real = Next<Fdatasync>("fdatasync");
    ++flushes;
    return real(fd);
}
