#pragma once

#include "support/Dataset.h"
#include "support/Value.h"

#include <memory>
#include <string>

namespace brimlo {

// The two tables the main window keeps open for the whole run: the defaults
// table (one record, the defaults record) and the master table, both in the
// application data directory. Missing tables are created; an older
// defaults table gains TRIM_ALLOWANCE; a new one gets the initial record.
class MainTables {
public:
    // Raises BrimloError naming the file when a table cannot be created or
    // opened (a damaged or foreign file is left as it is).
    explicit MainTables(std::string directory);
    ~MainTables();
    MainTables(const MainTables&) = delete;
    MainTables& operator=(const MainTables&) = delete;

    // The application data directory, ending with a separator.
    const std::string& directory() const { return directory_; }
    std::string defaultsPath() const;
    std::string masterPath() const;
    // True when this run created defaults.db.
    bool defaultsCreated() const { return defaultsCreated_; }

    Dataset& defaults() { return *defaults_; }
    Dataset& master() { return *master_; }

    bool masterIsEmpty() const { return master_->isEmpty(); }
    // The data directory of the defaults record (empty when it has none).
    std::string defaultDataPath() const;

    // Closes the master table, then the defaults table; idempotent.
    void close();

    // Inserts and posts the initial defaults record, dated today.
    static void CreateInitialDefaults(Dataset& defaults, Date today);

private:
    void createMissingTables();
    void openTables();
    std::unique_ptr<TableStore> openDefaultsStore();

    std::string directory_;
    bool defaultsCreated_ = false;
    std::unique_ptr<Dataset> master_;
    std::unique_ptr<Dataset> defaults_;
};

// Today's date on this machine's calendar.
Date Today();

} // namespace brimlo
