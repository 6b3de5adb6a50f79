#include "cli/MasterChoice.h"

#include "master/MasterServerAddress.h"

#include <cstdlib>

namespace brimlo::cli {

std::optional<std::string> ServerMaster(const ParsedArguments& args) {
    std::optional<std::string> chosen = args.value(kMasterOption);
    if (!chosen) {
        const char* environment = std::getenv("BRIMLO_MASTER");
        if (!environment || !*environment)
            return std::nullopt;
        chosen = environment;
    }
    if (!IsMasterServerUri(*chosen))
        throw UsageError("the master must be a PostgreSQL connection string "
                         "(postgresql://user@host:port/database), not '" +
                         *chosen + "'");
    return chosen;
}

} // namespace brimlo::cli
