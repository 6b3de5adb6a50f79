#include "cli/PostCommand.h"

#include "cli/DataFolder.h"
#include "cli/LoadInput.h"
#include "cli/MasterChoice.h"
#include "cli/MasterKey.h"
#include "cli/ProgressBar.h"
#include "load/BulkScope.h"
#include "master/CMaster.h"
#include "master/MasterPosting.h"
#include "master/MasterTable.h"
#include "master/PgMasterStore.h"
#include "master/SharedMasterPoster.h"
#include "support/BrimloError.h"

#include <cstdio>
#include <functional>

namespace brimlo::cli {

namespace {

// Posts one load; true when it replaced the record with its key.
bool Post(const LoadData& load, MasterTable& table, MasterKey& key) {
    CMaster master;
    master.BuildFromLoad(load.header, load.logs);
    key = MasterKey{master.MILLCODE, master.POP, master.LOAD_NUM};
    // The lookup and the post under one exclusive hold, taken before the
    // lookup: records read outside it go stale when another process posts.
    BulkScope bulk(table.dataset());
    const bool replaced = CMaster::LocateMaster(table, key.millCode, key.loadNum, key.pop);
    PostLoadToMaster(master, table, load.header, load.logs);
    bulk.finish();
    return replaced;
}

// Reads each file and hands its load to postOne, which prints what it did;
// a file that cannot be read or posted is told on standard error.
int PostEach(const ParsedArguments& args,
             const std::function<void(const std::string&, const LoadData&)>& postOne) {
    int status = kExitOk;
    ProgressBar progress("Posting", static_cast<long>(args.positionals().size()));
    for (const std::string& file : args.positionals()) {
        std::string error;
        const std::optional<LoadInput> input = ReadLoadInput(file, error);
        try {
            if (!input)
                throw BrimloError(error);
            if (!input->load.hasHeader)
                throw BrimloError("the load has no header line");
            progress.clear();
            postOne(file, input->load);
        } catch (const BrimloError& e) {
            progress.clear();
            std::fprintf(stderr, "%s: %s\n", file.c_str(), WithFullStop(e.text()).c_str());
            status = kExitFailed;
        }
        progress.step();
    }
    return status;
}

// Posts every file to a server's master; a load the server cannot take now
// waits in the data folder's outbox, which the next post sends first.
int PostToServer(const ParsedArguments& args, DataFolder& folder, const std::string& uri,
                 Prompt& prompt) {
    SharedMasterPoster poster([&uri] { return std::make_unique<PgMasterStore>(uri); },
                              folder.directory() + "outbox.db",
                              SharedMasterPoster::DefaultStation(), prompt);
    return PostEach(args, [&poster](const std::string& file, const LoadData& load) {
        CMaster master;
        master.BuildFromLoad(load.header, load.logs);
        const MasterKey key{master.MILLCODE, master.POP, master.LOAD_NUM};
        if (poster.post(master.ToMasterRecord()))
            std::printf("%s: posted %s\n", file.c_str(), key.text().c_str());
        else
            std::printf("%s: kept %s in the outbox (the server cannot be reached)\n", file.c_str(),
                        key.text().c_str());
    });
}

} // namespace

std::string PostCommand::summary() const {
    return "post loads to the master file";
}

std::string PostCommand::help() const {
    return "usage: brimlo-cli post FILE... [--data-dir DIR] [--master URI]\n"
           "\n"
           "Posts each load file to master.db exactly as saving the load in the program\n"
           "does: the record with the load's mill code, population and load number is\n"
           "replaced, or a record is added. Prints for each file\n"
           "  FILE: added MILLCODE:POP:LOADNUM\n"
           "  FILE: replaced MILLCODE:POP:LOADNUM (duplicate)\n"
           "Safe while the program or another brimlo-cli posts to the same folder.\n"
           "\n"
           "  --data-dir DIR   the folder of master.db (default: the program's own)\n"
           "  --master URI     post to a master on a PostgreSQL server instead\n"
           "                   (postgresql://user@host/db; default: $BRIMLO_MASTER).\n"
           "                   Prints \"FILE: posted KEY\"; while the server cannot be\n"
           "                   reached, \"FILE: kept KEY in the outbox ...\": the load\n"
           "                   waits in outbox.db in the data folder and goes first\n"
           "                   with the next post.\n"
           "\n"
           "Exit status: 0 all posted or kept, 2 some file could not be read or posted.\n";
}

ArgumentSpec PostCommand::arguments() const {
    ArgumentSpec spec;
    spec.options = {kDataDirOption, kMasterOption};
    spec.minPositionals = 1;
    return spec;
}

int PostCommand::run(const ParsedArguments& args, Prompt& prompt) {
    const std::optional<std::string> server = ServerMaster(args);
    DataFolder folder(args);
    if (server)
        return PostToServer(args, folder, *server, prompt);
    MasterTable table(folder.master());
    return PostEach(args, [&table](const std::string& file, const LoadData& load) {
        MasterKey key;
        const bool replaced = Post(load, table, key);
        std::printf("%s: %s %s%s\n", file.c_str(), replaced ? "replaced" : "added",
                    key.text().c_str(), replaced ? " (duplicate)" : "");
    });
}

} // namespace brimlo::cli
