#include "master/MainTables.h"

#include "master/MasterFields.h"
#include "rules/Cglobals.h"
#include "support/BrimloError.h"
#include "support/DefaultsLayout.h"
#include "support/ParadoxStore.h"
#include "support/SqliteStore.h"
#include "support/TableFiles.h"

#include <QDate>
#include <filesystem>

namespace brimlo {

namespace {

bool SameNamesAndTypes(const FieldList& have, const FieldList& want) {
    if (have.size() != want.size())
        return false;
    for (size_t i = 0; i < have.size(); ++i) {
        if (have[i].name != want[i].name || have[i].type != want[i].type)
            return false;
    }
    return true;
}

// Later code reaches fields by position: a table of another layout must
// not be written to.
void RequireLayout(const TableStore& store, const FieldList& layout, const std::string& path) {
    if (!SameNamesAndTypes(store.fields(), layout))
        throw BrimloError("Table '" + path + "' cannot be used: its fields are not those of " +
                          "this program's table");
}

// The defaults table of versions before the trim allowance: the same fields
// without its column.
bool IsOlderDefaultsLayout(const FieldList& have) {
    FieldList older = DefaultsFields();
    older.pop_back();
    return SameNamesAndTypes(have, older);
}

// An empty file would be taken for a new database and written to; it is a
// damaged table and stays as it is.
void RefuseEmptyFile(const std::string& path) {
    std::error_code error;
    if (std::filesystem::file_size(path, error) == 0 && !error)
        throw BrimloError("Table '" + path + "' cannot be opened: the file is empty");
}

} // namespace

Date Today() {
    const QDate today = QDate::currentDate();
    return Date::fromYmd(today.year(), today.month(), today.day());
}

MainTables::MainTables(std::string directory) : directory_(std::move(directory)) {
    createMissingTables();
    openTables();
    if (defaultsCreated_)
        CreateInitialDefaults(*defaults_, Today());
}

MainTables::~MainTables() = default;

std::string MainTables::defaultsPath() const {
    return directory_ + kDefaultsFileName;
}

std::string MainTables::masterPath() const {
    return directory_ + kMasterFileName;
}

void MainTables::createMissingTables() {
    if (!TableExists(defaultsPath())) {
        SqliteStore::create(defaultsPath(), DefaultsFields());
        defaultsCreated_ = true;
    }
    if (!TableExists(masterPath()))
        ParadoxStore::create(masterPath(), MasterFieldList());
}

void MainTables::openTables() {
    std::unique_ptr<TableStore> masterStore = ParadoxStore::open(masterPath());
    RequireLayout(*masterStore, MasterFieldList(), masterPath());
    master_ = std::make_unique<Dataset>(std::move(masterStore));

    defaults_ = std::make_unique<Dataset>(openDefaultsStore());
}

// Tables of versions before the trim allowance gain its column; a table of
// any other layout is refused as it stands, never altered.
std::unique_ptr<TableStore> MainTables::openDefaultsStore() {
    RefuseEmptyFile(defaultsPath());
    std::unique_ptr<SqliteStore> store =
        SqliteStore::open(defaultsPath(), [](const FieldList& fields) {
            return IsOlderDefaultsLayout(fields) || SameNamesAndTypes(fields, DefaultsFields());
        });
    if (IsOlderDefaultsLayout(store->fields()))
        store->addColumn(DefaultsFields().back());
    RequireLayout(*store, DefaultsFields(), defaultsPath());
    return store;
}

void MainTables::CreateInitialDefaults(Dataset& defaults, Date today) {
    defaults.insert();
    const std::pair<const char*, const char*> texts[] = {
        {"SPECIES", "SP"},      {"CONDCODE", "GR"},     {"PRODCODE", "01"},
        {"HSPECIES", "SP"},     {"HCONDCODE", "GR"},    {"HPRODCODE", "01"},
        {"VOL_CALC_METH", "S"}, {"SAWLOGS", "N"},       {"CULLMETHTYPE1", "6"},
        {"CULLMETHTYPE2", "8"}, {"CULLMETHTYPE3", "1"}, {"CULLMETHTYPE4", "3"},
        {"CULLMETHTYPE5", "3"}, {"CULLMETHTYPE6", "5"}, {"CULLMETHTYPE7", "2"}};
    for (const auto& [field, text] : texts)
        defaults.setField(field, Value(text));
    defaults.setField("LENGTH", Value(int32_t{48}));
    defaults.setField("DATEWEIGHED", Value(today));
    defaults.post();
}

std::string MainTables::defaultDataPath() const {
    if (!defaults_ || !defaults_->isOpen() || defaults_->isEmpty())
        return {};
    return defaults_->field("DEFAULT_DATA_PATH").asString();
}

void MainTables::close() {
    if (master_)
        master_->close();
    if (defaults_)
        defaults_->close();
}

} // namespace brimlo
