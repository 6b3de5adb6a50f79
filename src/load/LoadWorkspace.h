#pragma once

#include "load/FieldIndex.h"
#include "support/Dataset.h"

#include <cstdint>
#include <memory>
#include <string>

namespace brimlo {

// The two tables of one open load: the header table (one record) and the
// log table walked in LOGNUM order. Each post reaches the disk before it
// returns, so a workspace left by a program that stopped abruptly is
// current and can be taken over by the next run.
class LoadWorkspace {
public:
    // Names the tables without touching the disk.
    LoadWorkspace(std::string headerPath, std::string logPath);
    ~LoadWorkspace();
    LoadWorkspace(const LoadWorkspace&) = delete;
    LoadWorkspace& operator=(const LoadWorkspace&) = delete;

    // The workspace numbered n in directory (ending with a separator).
    static std::unique_ptr<LoadWorkspace> Named(const std::string& directory, int32_t n);
    // A workspace left behind, from its header table's file name.
    static std::unique_ptr<LoadWorkspace> FromHeaderFile(const std::string& headerPath);

    // Creates both tables empty (the log table first), then opens them.
    void create();
    // The same, open for filling without flushes and not yet under their
    // names; publish() then makes them durable and names them, with three
    // flushes in all (each file, then the folder once).
    void build();
    void publish();
    // Opens existing tables.
    void openLog();
    void openHeader();

    bool hasLog() const { return log_ && log_->isOpen(); }
    bool hasHeader() const { return header_ && header_->isOpen(); }
    // Raise when the table is not open.
    Dataset& header();
    Dataset& log();
    const Dataset& header() const;
    const Dataset& log() const;

    // Fields of the current record by their descriptor, at the position
    // resolved when the table opened; writing runs the field's reaction.
    const Value& field(HeaderField f) const { return header().field(headerIndex_.at(f)); }
    const Value& field(LogField f) const { return log().field(logIndex_.at(f)); }
    void setField(HeaderField f, const Value& value) {
        header().setField(headerIndex_.at(f), value);
    }
    void setField(LogField f, const Value& value) { log().setField(logIndex_.at(f), value); }
    const HeaderFieldIndex& headerIndex() const { return headerIndex_; }
    const LogFieldIndex& logIndex() const { return logIndex_; }

    // Closes the log table, then the header table; idempotent.
    void close();
    // Closes both and deletes them from disk with their side and index files.
    void remove();

    const std::string& headerPath() const { return headerPath_; }
    const std::string& logPath() const { return logPath_; }

private:
    std::string headerPath_;
    std::string logPath_;
    std::unique_ptr<Dataset> header_;
    std::unique_ptr<Dataset> log_;
    HeaderFieldIndex headerIndex_;
    LogFieldIndex logIndex_;

    void resolveLog();
    void resolveHeader();
};

// The log table beside a header table: the file name's first "Header"
// becomes "Log" (the directory is left alone, whatever it is called).
std::string LogPathForHeader(const std::string& headerPath);

} // namespace brimlo
