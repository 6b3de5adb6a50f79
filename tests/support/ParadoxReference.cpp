#include "ParadoxReference.h"

#include "support/BrimloError.h"
#include "support/Dataset.h"
#include "support/ParadoxTable.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
extern "C" {
#include <paradox.h>
}
#include <random>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace brimlo::testing {

namespace {

void PutBigEndian(unsigned char* out, unsigned long long u, int width) {
    for (int i = width - 1; i >= 0; --i, u /= 256)
        out[i] = static_cast<unsigned char>(u % 256);
}

unsigned long long GetBigEndian(const unsigned char* in, int width) {
    unsigned long long u = 0;
    for (int i = 0; i < width; ++i)
        u = u * 256 + in[i];
    return u;
}

// Dates, shorts and longs are whole numbers of the field's width.
bool WholeNumber(const RefField& f) {
    return f.code >= 2 && f.code <= 4;
}

void EncodeOne(const RefField& f, const Value& v, unsigned char* out) {
    if (v.isNull())
        return;
    if (f.code == 1) {
        const std::string s = v.asString();
        std::memcpy(out, s.data(), std::min<size_t>(s.size(), static_cast<size_t>(f.width)));
    } else if (WholeNumber(f)) {
        const long long n = f.code == 2 ? v.asDate().days : v.asInt();
        PutBigEndian(out, static_cast<unsigned long long>(n) + (1ull << (8 * f.width - 1)),
                     f.width);
    } else if (f.code == 6) {
        const double d = v.asDouble();
        unsigned long long bits;
        std::memcpy(&bits, &d, 8);
        PutBigEndian(out, std::signbit(d) ? ~bits : bits | (1ull << 63), 8);
    } else if (f.code == 9) {
        out[0] = v.asBool() ? 0x81 : 0x80;
    } else {
        throw std::runtime_error("no reference encoding for field " + f.name);
    }
}

Value DecodeOne(const RefField& f, const unsigned char* in) {
    if (f.code == 1) {
        std::string s(reinterpret_cast<const char*>(in), static_cast<size_t>(f.width));
        return Value(s.substr(0, s.find('\0')));
    }
    if (std::all_of(in, in + f.width, [](unsigned char c) { return c == 0; }))
        return Value();
    if (WholeNumber(f)) {
        const auto n =
            static_cast<int32_t>(GetBigEndian(in, f.width) - (1ull << (8 * f.width - 1)));
        return f.code == 2 ? Value(Date{n}) : Value(n);
    }
    if (f.code == 6) {
        unsigned long long bits = GetBigEndian(in, 8);
        bits = bits >> 63 ? bits & ~(1ull << 63) : ~bits;
        double d;
        std::memcpy(&d, &bits, 8);
        return Value(d);
    }
    if (f.code == 9)
        return Value(in[0] == 0x81);
    throw std::runtime_error("no reference decoding for field " + f.name);
}

// The record format worked out independently of the engine: integers in
// excess-2^(n-1) big-endian, doubles with the sign bit set when positive and
// all bits inverted when negative, alpha zero-padded, all-zero = blank.
std::vector<unsigned char> RefEncode(const std::vector<RefField>& fields, const Record& values) {
    size_t size = 0;
    for (const RefField& f : fields)
        size += static_cast<size_t>(f.width);
    std::vector<unsigned char> out(size, 0);
    size_t at = 0;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i < values.size())
            EncodeOne(fields[i], values[i], &out[at]);
        at += static_cast<size_t>(fields[i].width);
    }
    return out;
}

Record RefDecode(const std::vector<RefField>& fields, const unsigned char* record) {
    Record out;
    for (const RefField& f : fields) {
        out.push_back(DecodeOne(f, record));
        record += f.width;
    }
    return out;
}

void CollectError(pxdoc_t*, int type, const char* msg, void* data) {
    if (type != PX_Warning)
        *static_cast<std::string*>(data) += std::string(msg) + "\n";
}

// Little-endian, as the header and block links are stored.
void PutLe(std::vector<unsigned char>& b, size_t at, unsigned long v, int width = 2) {
    for (int i = 0; i < width; ++i, v >>= 8)
        b[at + static_cast<size_t>(i)] = static_cast<unsigned char>(v & 0xFF);
}

std::vector<unsigned char> HandMadeHeader(const std::vector<RefField>& fields, int recordSize,
                                          int blocks, int records, const HandMadeOptions& o) {
    std::vector<unsigned char> h(0x800 * 2, 0);
    const size_t n = fields.size();
    PutLe(h, 0x00, static_cast<unsigned>(recordSize));
    PutLe(h, 0x02, static_cast<unsigned>(h.size()));
    h[0x04] = 2;
    h[0x05] = static_cast<unsigned char>(o.blockKb);
    PutLe(h, 0x06, static_cast<unsigned long>(records), 4);
    PutLe(h, 0x0A, static_cast<unsigned>(blocks - (o.freeBlock ? 1 : 0)));
    PutLe(h, 0x0C, static_cast<unsigned>(blocks));
    PutLe(h, 0x21, static_cast<unsigned>(n));
    PutLe(h, 0x25, 0xFF00FF00ul, 4);
    h[0x39] = static_cast<unsigned char>(o.version);
    PutLe(h, 0x6A, 1252);
    size_t pos = 0x78;
    for (const RefField& f : fields) {
        h[pos++] = static_cast<unsigned char>(f.code);
        h[pos++] = static_cast<unsigned char>(f.width);
    }
    pos += 4 + 4 * n + (o.version == 0x0C ? 261 : 79);
    for (const RefField& f : fields) {
        std::memcpy(&h[pos], f.name.data(), f.name.size());
        pos += f.name.size() + 1;
    }
    return h;
}

} // namespace

std::vector<RefField> RefFieldsOf(const FieldList& fields) {
    // each kind's type code and width in bytes (an alpha field's is its size)
    static const std::map<FieldType, std::pair<int, int>> kinds = {
        {FieldType::Alpha, {1, 0}}, {FieldType::Date, {2, 4}},   {FieldType::Short, {3, 2}},
        {FieldType::Long, {4, 4}},  {FieldType::Number, {6, 8}}, {FieldType::Logical, {9, 1}}};
    std::vector<RefField> out;
    for (const FieldDef& f : fields) {
        const auto [code, width] = kinds.at(f.type);
        out.push_back({f.name, code, f.type == FieldType::Alpha ? f.size : width});
    }
    return out;
}

PxContents PxRead(const std::string& path) {
    std::string errors;
    pxdoc_t* doc = PX_new3(CollectError, nullptr, nullptr, nullptr, &errors);
    if (PX_open_file(doc, path.c_str()) < 0) {
        PX_delete(doc);
        throw std::runtime_error("pxlib cannot open " + path + ": " + errors);
    }
    PxContents c;
    const int nf = PX_get_num_fields(doc);
    for (int i = 0; i < nf; ++i) {
        const pxfield_t* f = PX_get_field(doc, i);
        c.fields.push_back({f->px_fname, static_cast<unsigned char>(f->px_ftype), f->px_flen});
    }
    std::vector<char> buffer(static_cast<size_t>(PX_get_recordsize(doc)));
    const int n = PX_get_num_records(doc);
    for (int i = 0; i < n && errors.empty(); ++i) {
        if (!PX_get_record(doc, i, buffer.data()))
            errors += "record " + std::to_string(i) + " unreadable\n";
        else
            c.records.push_back(
                RefDecode(c.fields, reinterpret_cast<const unsigned char*>(buffer.data())));
    }
    PX_close(doc);
    PX_delete(doc);
    if (!errors.empty())
        throw std::runtime_error("pxlib cannot read " + path + ": " + errors);
    return c;
}

void PxWrite(const std::string& path, const std::vector<RefField>& fields,
             const std::vector<Record>& records) {
    std::string errors;
    pxdoc_t* doc = PX_new3(CollectError, nullptr, nullptr, nullptr, &errors);
    auto* px = static_cast<pxfield_t*>(
        doc->malloc(doc, fields.size() * sizeof(pxfield_t), "fields for a test table"));
    for (size_t i = 0; i < fields.size(); ++i) {
        px[i].px_fname = PX_strdup(doc, fields[i].name.c_str());
        px[i].px_ftype = static_cast<char>(fields[i].code);
        px[i].px_flen = fields[i].width;
        px[i].px_fdc = 0;
    }
    if (PX_create_file(doc, px, static_cast<int>(fields.size()), path.c_str(),
                       pxfFileTypNonIndexDB) < 0)
        throw std::runtime_error("pxlib cannot create " + path + ": " + errors);
    for (size_t i = 0; i < records.size(); ++i) {
        std::vector<unsigned char> raw = RefEncode(fields, records[i]);
        if (PX_put_recordn(doc, reinterpret_cast<char*>(raw.data()), static_cast<int>(i)) < 0)
            throw std::runtime_error("pxlib cannot write " + path + ": " + errors);
    }
    PX_close(doc);
    PX_delete(doc);
}

void WriteHandMade(const std::string& path, const std::vector<RefField>& fields,
                   const std::vector<Record>& records, const HandMadeOptions& o) {
    int recordSize = 0;
    for (const RefField& f : fields)
        recordSize += f.width;
    const int blockSize = o.blockKb * 1024;
    const int perBlock = o.perBlock > 0 ? o.perBlock : (blockSize - 6) / recordSize;
    const int chained = static_cast<int>((records.size() + static_cast<size_t>(perBlock) - 1) /
                                         static_cast<size_t>(perBlock));
    const int blocks = chained + (o.freeBlock ? 1 : 0);
    // physical number of the i-th block of the chain (1-based); a free block,
    // when asked for, is physical block 1 when reversed and the last otherwise
    auto physical = [&](int i) { return o.reversed ? blocks - i + 1 : i; };
    std::vector<unsigned char> file =
        HandMadeHeader(fields, recordSize, blocks, static_cast<int>(records.size()), o);
    const size_t headerSize = file.size();
    file.resize(headerSize + static_cast<size_t>(blocks * blockSize), 0);
    PutLe(file, 0x0E, chained ? static_cast<unsigned>(physical(1)) : 0);
    PutLe(file, 0x10, chained ? static_cast<unsigned>(physical(chained)) : 0);
    for (int i = 1; i <= chained; ++i) {
        const size_t at = headerSize + static_cast<size_t>((physical(i) - 1) * blockSize);
        const int first = (i - 1) * perBlock;
        const int count = std::min(perBlock, static_cast<int>(records.size()) - first);
        PutLe(file, at, i < chained ? static_cast<unsigned>(physical(i + 1)) : 0);
        PutLe(file, at + 2, i > 1 ? static_cast<unsigned>(physical(i - 1)) : 0);
        PutLe(file, at + 4, static_cast<unsigned>(static_cast<uint16_t>((count - 1) * recordSize)));
        for (int r = 0; r < count; ++r) {
            const std::vector<unsigned char> raw =
                RefEncode(fields, records[static_cast<size_t>(first + r)]);
            std::memcpy(&file[at + 6 + static_cast<size_t>(r * recordSize)], raw.data(),
                        raw.size());
        }
    }
    if (o.freeBlock) {
        const int freeBlock = o.reversed ? 1 : blocks;
        PutLe(file, 0x4D, static_cast<unsigned>(freeBlock));
        // stale records in the free block must never show
        std::memset(&file[headerSize + static_cast<size_t>((freeBlock - 1) * blockSize) + 6], 0x41,
                    40);
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.data()),
              static_cast<std::streamsize>(file.size()));
}

FieldList MasterLayoutForTests() {
    using T = FieldType;
    FieldList f = {
        {"MILLCODE", T::Alpha, 2},  {"POP", T::Short, 0},       {"MILL_NUM", T::Long, 0},
        {"SAWLOGS", T::Alpha, 1},   {"LESSEE", T::Alpha, 20},   {"MILL_NAME", T::Alpha, 20},
        {"DISP", T::Alpha, 10},     {"SUBDISP", T::Alpha, 4},   {"BLOCK_NUM", T::Alpha, 4},
        {"LOAD_NUM", T::Long, 0},   {"TOP_D", T::Short, 0},     {"WEIGH_DATE", T::Date, 0},
        {"NET_WEIGHT", T::Long, 0}, {"TM9", T::Alpha, 10},      {"HSPECIES", T::Alpha, 2},
        {"HCONDCODE", T::Alpha, 2}, {"HPRODCODE", T::Alpha, 2}, {"SOURCE", T::Alpha, 20},
        {"TREES", T::Long, 0}};
    for (int n = 1; n <= 12; ++n) {
        const std::string s = std::to_string(n);
        f.push_back({"SPCDPR" + s, FieldType::Alpha, 8});
        f.push_back({"LOGNUMS" + s, FieldType::Long, 0});
        for (const char* name : {"LENGTH", "GROSSVOL", "CULLVOL", "NETVOL", "CULLPER"})
            f.push_back({name + s, FieldType::Number, 0});
    }
    f.push_back({"NUM_GROUPS", FieldType::Short, 0});
    f.push_back({"TOTALLOGS", FieldType::Long, 0});
    return f;
}

Record MasterRecordFor(int key, int seed) {
    unsigned long long state = static_cast<unsigned long long>(seed) * 2654435761ull + 12345u;
    auto next = [&state]() {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<int>((state >> 33) % 100000);
    };
    auto text = [&](size_t n) {
        std::string s;
        for (size_t i = 0; i < n; ++i)
            s += static_cast<char>('A' + next() % 26);
        return s;
    };
    Record r;
    r.emplace_back(text(2));
    r.emplace_back(static_cast<int32_t>(next() % 999));
    r.emplace_back(static_cast<int32_t>(seed));
    r.emplace_back(text(1));
    for (size_t n : {20u, 20u, 10u, 4u, 4u})
        r.emplace_back(text(n));
    r.emplace_back(static_cast<int32_t>(key));
    r.emplace_back(static_cast<int32_t>(next() % 60 - 10));
    r.emplace_back(Date{730000 + next() % 10000});
    r.emplace_back(static_cast<int32_t>(next() * 3));
    for (size_t n : {10u, 2u, 2u, 2u, 20u})
        r.emplace_back(text(n));
    r.emplace_back(static_cast<int32_t>(next()));
    for (int g = 0; g < 12; ++g) {
        r.emplace_back(text(8));
        r.emplace_back(static_cast<int32_t>(next()));
        for (int k = 0; k < 5; ++k)
            r.emplace_back((next() - 50000) / 1000.0);
    }
    r.emplace_back(static_cast<int32_t>(next() % 12 + 1));
    r.emplace_back(static_cast<int32_t>(next()));
    return r;
}

void SetFields(Dataset& ds, const Record& values) {
    for (size_t i = 0; i < values.size(); ++i)
        ds.setField(static_cast<int>(i), values[i]);
}

std::vector<Record> RecordsOf(const std::vector<StoredRow>& rows) {
    std::vector<Record> out;
    for (const StoredRow& r : rows)
        out.push_back(r.values);
    return out;
}

std::map<int, int> MasterSeedsIn(const std::vector<Record>& records) {
    constexpr size_t kKeyField = 9, kSeedField = 2; // LOAD_NUM, MILL_NUM
    std::map<int, int> seeds;
    for (const Record& r : records) {
        const int key = r[kKeyField].asInt();
        EXPECT_EQ(r, MasterRecordFor(key, r[kSeedField].asInt())) << "torn record " << key;
        EXPECT_TRUE(seeds.emplace(key, r[kSeedField].asInt()).second) << "key twice: " << key;
    }
    return seeds;
}

std::map<int, int> MasterSeedsOf(const std::string& path) {
    const std::vector<Record> records = RecordsOf(ParadoxTable::open(path)->readAll());
    EXPECT_EQ(PxRead(path).records, records) << "pxlib reads the table otherwise";
    return MasterSeedsIn(records);
}

void PostMasterRecords(const std::function<std::unique_ptr<TableStore>()>& open, int fd, int who,
                       double seconds, bool earlierLoads, bool shared) {
    const auto say = [fd](const std::string& line) {
        const std::string text = line + "\n";
        if (::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
            ::_exit(3);
    };
    try {
        Dataset master(open());
        std::vector<int> known;
        for (master.first(); earlierLoads && !master.eof(); master.next())
            known.push_back(master.field("LOAD_NUM").asInt());
        std::mt19937 random(static_cast<unsigned>(who));
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        for (int n = 1; seconds == 0 || std::chrono::steady_clock::now() < end; ++n) {
            const int seed = who * 1000000 + n;
            const bool fresh = known.empty() || random() % 3 == 0;
            const int key = fresh ? seed : known[random() % known.size()];
            say("post " + std::to_string(key) + " " + std::to_string(seed));
            const Record values = MasterRecordFor(key, seed);
            const bool bulk = shared || n % 2 == 0;
            if (bulk)
                master.beginBulk();
            if (master.locate({{"LOAD_NUM", Value(key)}}))
                master.edit();
            else
                master.insert();
            SetFields(master, values);
            master.post();
            if (bulk)
                master.endBulk();
            say("done");
            if (fresh)
                known.push_back(key);
        }
    } catch (const BrimloError& e) {
        say(std::string("error ") + e.what());
        ::_exit(2);
    }
}

PostsSaid ParsePosts(const std::string& said) {
    PostsSaid posts;
    std::istringstream lines(said);
    for (std::string word; lines >> word;) {
        if (word == "post") {
            posts.unfinished.emplace();
            lines >> posts.unfinished->first >> posts.unfinished->second;
        } else if (word == "done" && posts.unfinished) {
            posts.done.push_back(*posts.unfinished);
            posts.unfinished.reset();
        } else if (word == "error") {
            std::getline(lines, posts.error);
        }
    }
    return posts;
}

} // namespace brimlo::testing
