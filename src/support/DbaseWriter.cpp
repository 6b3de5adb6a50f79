#include "support/DbaseWriter.h"

#include "support/BrimloError.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ctime>

namespace brimlo {

namespace {

constexpr char kDbaseIV = 0x03;         // dBase III/IV table without memo file
constexpr char kWindowsAnsi1252 = 0x57; // language driver: Windows ANSI
constexpr char kHeaderEnd = 0x0D;
constexpr char kEndOfFile = 0x1A;
constexpr std::size_t kDescriptorSize = 32;

void PutLe16(std::string& bytes, std::size_t at, uint32_t value) {
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void PutLe32(std::string& bytes, std::size_t at, uint32_t value) {
    PutLe16(bytes, at, value & 0xFFFF);
    PutLe16(bytes, at + 2, value >> 16);
}

std::string Descriptor(const DbaseField& field) {
    std::string d(kDescriptorSize, '\0');
    d.replace(0, std::min<std::size_t>(field.name.size(), 10), field.name, 0, 10);
    d[11] = field.type;
    d[16] = static_cast<char>(field.width);
    return d; // no decimals, no index tag
}

void PutDigits(char* at, int value, int count) {
    for (int i = count - 1; i >= 0; --i, value /= 10)
        at[i] = static_cast<char>('0' + value % 10);
}

std::string DateText(const Date& date) {
    if (!date.valid())
        return std::string(8, ' ');
    int y = 0, m = 0, d = 0;
    date.toYmd(y, m, d);
    std::string text(8, '0');
    PutDigits(text.data(), y, 4);
    PutDigits(text.data() + 4, m, 2);
    PutDigits(text.data() + 6, d, 2);
    return text;
}

// The number rounded to a whole one (halves to even, as printf's "%.0f"
// does); empty for a value no field could hold.
std::string WholeNumberText(double number) {
    if (!std::isfinite(number) || std::fabs(number) >= 1e15)
        return {};
    char text[24];
    const auto result =
        std::to_chars(text, text + sizeof text, static_cast<long long>(std::nearbyint(number)));
    return std::string(text, result.ptr);
}

} // namespace

DbaseWriter::DbaseWriter(std::filesystem::path fileName, std::vector<DbaseField> fields,
                         Date lastUpdate)
    : fileName_(std::move(fileName)), fields_(std::move(fields)), lastUpdate_(lastUpdate),
      file_(fileName_) {
    for (DbaseField& field : fields_) {
        if (field.type == 'D')
            field.width = 8;
        if (field.width < 1 || field.width > 254 || field.name.empty() || field.name.size() > 10)
            throw BrimloError("Table '" + fileName_.string() + "': field " + field.name +
                              " has no valid name or width");
    }
    file_.write(header());
}

Date DbaseWriter::Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return Date::fromYmd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

std::string DbaseWriter::header() const {
    uint32_t recordLength = 1; // the deletion flag
    for (const DbaseField& field : fields_)
        recordLength += static_cast<uint32_t>(field.width);
    const auto headerLength = static_cast<uint32_t>(32 + kDescriptorSize * fields_.size() + 1);

    std::string bytes(32, '\0');
    bytes[0] = kDbaseIV;
    int y = 0, m = 0, d = 0;
    lastUpdate_.toYmd(y, m, d);
    bytes[1] = static_cast<char>(y >= 1900 ? (y - 1900) % 256 : 0);
    bytes[2] = static_cast<char>(m);
    bytes[3] = static_cast<char>(d);
    PutLe32(bytes, 4, rows_);
    PutLe16(bytes, 8, headerLength);
    PutLe16(bytes, 10, recordLength);
    bytes[29] = kWindowsAnsi1252;
    for (const DbaseField& field : fields_)
        bytes += Descriptor(field);
    bytes += kHeaderEnd;
    return bytes;
}

void DbaseWriter::appendCell(std::string& row, const DbaseField& field, const Value& value) const {
    const auto width = static_cast<std::size_t>(field.width);
    if (field.type == 'D') {
        row += DateText(value.asDate());
    } else if (field.type == 'N') {
        const std::string digits = WholeNumberText(value.asDouble());
        if (digits.empty() || digits.size() > width)
            throw BrimloError("Table '" + fileName_.string() + "': the value " + value.asString() +
                              " does not fit field " + field.name);
        row.append(width - digits.size(), ' ');
        row += digits;
    } else {
        const std::string text = value.asString().substr(0, width);
        row += text;
        row.append(width - text.size(), ' ');
    }
}

void DbaseWriter::appendRow(const std::vector<Value>& values) {
    if (values.size() != fields_.size())
        throw BrimloError("Table '" + fileName_.string() + "': a row has " +
                          std::to_string(values.size()) + " values for " +
                          std::to_string(fields_.size()) + " fields");
    std::string row(1, ' '); // not deleted
    for (std::size_t i = 0; i < fields_.size(); ++i)
        appendCell(row, fields_[i], values[i]);
    file_.write(row);
    ++rows_;
}

void DbaseWriter::commit() {
    file_.write(std::string(1, kEndOfFile));
    file_.writeAt(0, header());
    file_.commit();
}

} // namespace brimlo
