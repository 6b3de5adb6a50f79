#include "FullLoad.h"

#include "load/LoadFileWriter.h"
#include "support/DefaultsLayout.h"
#include "support/SqliteStore.h"

#include <cstdlib>
#include <filesystem>
#include <random>

namespace brimlo::bench {

std::string MakeScratchDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "brimlo-bench-XXXXXX");
    return ::mkdtemp(pattern.data());
}

FullLoad::FullLoad() : dir_(MakeScratchDirectory()) {
    defaults_ =
        std::make_unique<Dataset>(SqliteStore::create(dir_ + "/defaults.db", DefaultsFields()));
    writeDefaults();
    doc_ = LoadDocument::NewLoad(env());
    doc_->windowShown();
    keyLogs();
}

FullLoad::~FullLoad() {
    doc_->Close();
    doc_.reset();
    defaults_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

LoadEnvironment FullLoad::env() {
    LoadEnvironment env;
    env.appDataDirectory = dir_ + "/";
    env.defaults = defaults_.get();
    env.counter = &counter_;
    env.prompt = &prompts_;
    return env;
}

void FullLoad::setMethod(const char* method) {
    Dataset& header = doc_->header();
    header.edit();
    header.setField("VOL_CALC_METH", method);
    header.post();
}

std::string FullLoad::writeFile(const std::string& name) {
    const std::string path = dir_ + "/" + name;
    return WriteLoadFile(doc_->BuildLoadData(), path, doc_->prompt()) ? path : std::string();
}

void FullLoad::writeDefaults() {
    defaults_->insert();
    defaults_->setField("SPECIES", "S");
    defaults_->setField("CONDCODE", "GR");
    defaults_->setField("PRODCODE", "01");
    defaults_->setField("TOPD", int32_t{20});
    defaults_->setField("LENGTH", int32_t{50});
    defaults_->setField("HTOPD", int32_t{10});
    defaults_->setField("HPRODCODE", "01");
    defaults_->setField("SAWLOGS", "Y");
    // A header that passes the log page's checks.
    defaults_->setField("DISP", "CTL");
    defaults_->setField("SCALER_NAME", "PAT");
    defaults_->setField("SCALER_PERMIT", "P1");
    defaults_->post();
}

void FullLoad::keyLogs() {
    std::mt19937 rng(2400);
    const char* species[] = {"S", "P", "A", "PB", "F", "SB"};
    Dataset& log = doc_->log();
    log.beginBulk();
    for (int i = 0; i < 2400; ++i) {
        if (i > 0)
            log.insert();
        log.edit();
        const int top = 2 * static_cast<int>(2 + rng() % 30);
        log.setField("SPECIES", species[rng() % 6]);
        log.setField("TOPD", int32_t{top});
        const int butt = top + 2 * static_cast<int>(rng() % 10);
        log.setField("BUTTD", int32_t{butt < 8 ? 8 : butt});
        log.setField("LENGTH", int32_t{2 * static_cast<int>(3 + rng() % 34)});
        if (i % 4 == 0) {
            log.setField("CULL_TYPE", "3");
            log.setField("CULL_METH", "3");
            log.setField("C1", int32_t{static_cast<int>(rng() % 60)});
        }
        log.post();
    }
    log.endBulk();
}

} // namespace brimlo::bench
