// Any bytes in a master.db give a table or a clear BrimloError: never a
// crash, a hang or a read out of bounds. The table is opened from a file
// because opening is what a damaged master file meets first.
#include "support/BrimloError.h"
#include "support/ParadoxTable.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

std::string ScratchPath() {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir ? dir : "/tmp") + "/brimlo-fuzz-" + std::to_string(getpid()) + ".db";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = ScratchPath();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    try {
        auto table = brimlo::ParadoxTable::open(path);
        auto rows = table->readAll();
        (void)rows;
    } catch (const brimlo::BrimloError&) {
    }
    return 0;
}
