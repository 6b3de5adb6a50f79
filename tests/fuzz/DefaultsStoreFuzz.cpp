// Any bytes in a defaults.db give the start-up its defaults record or a
// clear BrimloError: never a crash, a hang or a read out of bounds. The
// bytes go through the main window's own table set-up (the upgrade of an
// older table, the layout check, the open) and then every field of the
// record is read the ways the windows read it.
#include "master/MainTables.h"
#include "support/BrimloError.h"
#include "support/Dataset.h"
#include "support/DefaultsLayout.h"
#include "support/TableFiles.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

std::string ScratchDirectory() {
    const char* tmp = std::getenv("TMPDIR");
    const std::string dir =
        std::string(tmp ? tmp : "/tmp") + "/brimlo-defaults-fuzz-" + std::to_string(getpid()) + "/";
    std::filesystem::create_directories(dir);
    return dir;
}

// Reads what the load windows, the export and the folder dialogs take from
// the record; the sums only keep the reads from being optimised away.
size_t ReadDefaultsRecord(brimlo::MainTables& tables) {
    size_t seen = tables.defaultDataPath().size();
    brimlo::Dataset& defaults = tables.defaults();
    if (defaults.isEmpty())
        return seen;
    defaults.first();
    for (const brimlo::FieldDef& field : brimlo::DefaultsFields()) {
        const brimlo::Value& value = defaults.field(field.name);
        seen += value.asString().size() + static_cast<size_t>(value.asInt() & 1) +
                static_cast<size_t>(value.asDate().days & 1) + (value.asBool() ? 1 : 0) +
                (value.asDouble() > 0 ? 1 : 0);
    }
    return seen;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string dir = ScratchDirectory();
    const std::string path = dir + "defaults.db";
    brimlo::DeleteTable(path);
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    try {
        brimlo::MainTables tables(dir);
        static volatile size_t sink = 0;
        sink = sink + ReadDefaultsRecord(tables);
        tables.close();
    } catch (const brimlo::BrimloError&) {
    }
    return 0;
}
