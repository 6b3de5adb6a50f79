#pragma once

#include "support/FieldDef.h"
#include "support/TableStore.h"
#include "support/Value.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace brimlo {

enum class DatasetState { Browse, Edit, Insert };

// What bound controls hear from their dataset.
enum class DataEvent {
    DataSetChange, // another record is current, or everything may differ: show it all anew
    FieldChange,   // one field of the current record was assigned (its index comes along)
    StateChange,   // browse, edit or insert began
    UpdateRecord,  // a post or a move is about to happen: write pending typed text now
};

// A remembered record; stays good while the record exists.
struct Bookmark {
    RowId id = 0;
    bool set = false;
    explicit operator bool() const { return set; }
};

// One field and the value it must hold, for locate and the filter.
struct FieldMatch {
    std::string field;
    Value value;
};

// The reactions a window hangs on its table. A reaction that throws stops
// the operation at that point (a failing beforePost leaves the record
// unposted, a failing beforeInsert inserts nothing). The order:
//   insert   beforeInsert, beforeScroll, afterInsert, afterScroll
//   edit     beforeEdit, afterEdit
//   post     (controls write pending text) beforePost, write, afterPost
//   cancel   beforeCancel, afterCancel
//   remove   beforeDelete, beforeScroll, write, afterDelete, afterScroll
//   first, last, next, prior, locate, gotoBookmark: beforeScroll, afterScroll
//   (next at the end and prior at the start stop after beforeScroll)
struct DatasetEvents {
    std::function<void()> beforeInsert, afterInsert;
    std::function<void()> beforeEdit, afterEdit;
    std::function<void()> beforePost, afterPost;
    std::function<void()> beforeCancel, afterCancel;
    std::function<void()> beforeDelete, afterDelete;
    std::function<void()> beforeScroll, afterScroll;
};

// The records of one table, written through to their store at every post.
// They are held in memory, except over a store that reads on demand (the
// master table): there the dataset keeps each record's id, reads a record
// when it becomes current or is asked for, and reads whole fields of the
// table at the first locate or filter on them, so that its memory stays a
// few dozen bytes a record. Walks in the store's order, or in the order of a
// unique key field when one is given (the log table's LOGNUM).
//
// Moving while a record is edited posts it when a field was assigned and
// cancels it otherwise. References returned by field() stay good only until
// the next operation on the dataset.
class Dataset {
public:
    using Listener = std::function<void(DataEvent, int field)>;

    explicit Dataset(std::unique_ptr<TableStore> store, const std::string& keyField = {});
    ~Dataset();
    Dataset(const Dataset&) = delete;
    Dataset& operator=(const Dataset&) = delete;

    DatasetEvents events;

    // Discards a pending edit without reactions and lets go of the store.
    // A closed dataset reads as an empty one and refuses every change.
    void close();
    bool isOpen() const { return store_ != nullptr; }
    TableStore& store();

    const FieldList& fields() const { return fields_; }
    int fieldIndex(std::string_view name) const; // raises when there is no such field
    int findField(std::string_view name) const;  // -1 when there is none

    const Value& field(int index) const;
    const Value& field(std::string_view name) const { return field(fieldIndex(name)); }
    // Record being edited or inserted, or the current one.
    Record record() const;
    // Runs the field's change reaction at once, after the value is stored.
    void setField(int index, const Value& value);
    void setField(std::string_view name, const Value& value) { setField(fieldIndex(name), value); }
    void setOnChange(std::string_view name, std::function<void()> reaction);

    DatasetState state() const { return state_; }
    bool isEditing() const { return state_ != DatasetState::Browse; }
    bool modified() const { return modified_; }

    void insert(); // a new record at the end, posted in key order
    void edit();
    void post();
    void cancel();
    void remove();

    void first();
    void last();
    void next();
    void prior();
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    bool isEmpty() const;
    int recordCount() const; // posted records passing the filter
    int recNo() const;       // 1-based position among them; 0 when empty
    // The posted record at a 0-based position among those passing the
    // filter (recNo() - 1), read without moving: for readers that go through
    // the table out of order, as a report painting one page does. An empty
    // record when there is none at that position.
    Record recordAt(int position) const;
    // One field of it, without reading the rest.
    Value fieldAt(int position, int field) const;

    Bookmark bookmark() const;
    bool bookmarkValid(const Bookmark& mark) const;
    void gotoBookmark(const Bookmark& mark);

    // Exact, case-sensitive match on every field given; the found record
    // becomes current. False leaves the position alone.
    bool locate(const std::vector<FieldMatch>& matches);

    void setFilter(const std::vector<FieldMatch>& matches);
    void setFiltered(bool on);
    bool filtered() const { return filtered_; }

    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return disableCount_ > 0; }
    int addListener(Listener listener);
    void removeListener(int id);

    // Posts between the two reach the disk together at the outer endBulk.
    // On a store shared with other processes the records are brought up to
    // date at beginBulk (the current record found again by its values), so
    // a locate between the two sees what is on disk.
    void beginBulk();
    void endBulk();
    // Brings the records up to date when another process changed the
    // store; the current record stays current when it is still there. True
    // when the records were read anew.
    bool catchUp();
    // Reclaims the space of deleted records.
    void pack();
    // Reads the records again from the store.
    void refresh();

private:
    struct Row {
        RowId id;
        Record values;
    };
    using Criteria = std::vector<std::pair<int, Value>>;

    void requireOpen() const;
    void load();
    void checkBrowseMode();
    void writeRecord();
    void notify(DataEvent event, int field = -1);
    static void fire(const std::function<void()>& reaction);
    Criteria criteria(const std::vector<FieldMatch>& matches) const;
    bool matches(int index, const Criteria& wanted, bool wholeRecord = false) const;
    const Record& valuesOf(int index) const;
    Value fieldOf(int index, int field) const;
    const std::vector<Value>* column(int field) const;
    void placeInColumns(int at, bool inserted);
    std::string keyOf(int row, const std::vector<int>& fields) const;
    int locateIndexed(const Criteria& wanted) const;
    int firstMatching(const std::vector<RowId>& ids, const Criteria& wanted,
                      bool wholeRecords) const;
    void unindex(int row);
    void reindex(int row);
    bool visible(int index) const;
    int firstVisible() const;
    int lastVisible() const;
    int nextVisible(int index) const;
    int priorVisible(int index) const;
    int indexOf(RowId id) const;
    int indexAt(int position) const;
    int keyPosition(const Record& values) const;
    void checkKey() const;
    int placePosted(RowId id);
    void moveTo(int index);
    void endEditing();
    bool syncWithStore();
    int findValues(const Record& values) const;
    template <class Write> void writeShared(const char* what, Write write);

    std::unique_ptr<TableStore> store_;
    FieldList fields_;
    std::map<std::string, int, std::less<>> names_;
    std::vector<std::function<void()>> onChange_;
    int key_ = -1;

    std::vector<Row> rows_; // over an on-demand store, values only once posted here
    bool onDemand_ = false;
    // Records read on demand: the current one apart, so that a reference to
    // one of its fields outlives reading another record.
    mutable RowId currentId_ = 0;
    mutable Record current_;
    mutable RowId otherId_ = 0;
    mutable Record other_;
    // Whole fields read for locate and the filter, in row order.
    mutable std::map<int, std::vector<Value>> columns_;
    // Over an on-demand store the rows stay in the order of their ids, so a
    // bookmark is found by halving; and the records of each value of the
    // fields last located on, so a locate reads no column twice.
    bool idsAscending_ = false;
    struct LocateIndex {
        std::vector<int> fields;
        std::unordered_map<std::string, std::vector<RowId>> rows;
    };
    mutable std::unique_ptr<LocateIndex> locateIndex_;
    uint64_t generation_ = 0; // the store's when rows_ were read
    int cur_ = -1;
    bool bof_ = true;
    bool eof_ = true;
    DatasetState state_ = DatasetState::Browse;
    Record buffer_;
    bool modified_ = false;
    int beforeInsert_ = -1;

    Criteria filter_;
    bool filtered_ = false;

    int disableCount_ = 0;
    int nextListener_ = 1;
    std::vector<std::pair<int, Listener>> listeners_;
};

} // namespace brimlo
