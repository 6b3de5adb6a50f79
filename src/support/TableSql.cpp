#include "support/TableSql.h"

#include "support/BrimloError.h"
#include "support/FieldDef.h"
#include "support/SqliteStore.h"

#include <cctype>
#include <vector>

namespace brimlo {

namespace {

struct Token {
    std::string text;
    bool quoted = false;
};

std::string Upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string QuotedToken(const std::string& sql, size_t& i) {
    std::string text;
    for (++i; i < sql.size(); ++i) {
        if (sql[i] == '"') {
            if (i + 1 < sql.size() && sql[i + 1] == '"') {
                text += '"';
                ++i;
                continue;
            }
            ++i;
            return text;
        }
        text += sql[i];
    }
    throw BrimloError("Invalid SQL statement: a quoted name is not closed");
}

std::vector<Token> Tokens(const std::string& sql) {
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < sql.size()) {
        const auto c = static_cast<unsigned char>(sql[i]);
        if (std::isspace(c)) {
            ++i;
        } else if (c == '"') {
            tokens.push_back({QuotedToken(sql, i), true});
        } else if (std::isalnum(c) || c == '_') {
            size_t j = i;
            while (j < sql.size() &&
                   (std::isalnum(static_cast<unsigned char>(sql[j])) || sql[j] == '_'))
                ++j;
            tokens.push_back({sql.substr(i, j - i), false});
            i = j;
        } else {
            tokens.push_back({std::string(1, sql[i]), false});
            ++i;
        }
    }
    if (!tokens.empty() && tokens.back().text == ";" && !tokens.back().quoted)
        tokens.pop_back();
    return tokens;
}

class Reader {
public:
    explicit Reader(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

    bool atEnd() const { return at_ >= tokens_.size(); }
    const Token& take() {
        if (atEnd())
            throw BrimloError("Invalid SQL statement: it ends too early");
        return tokens_[at_++];
    }
    bool takeWord(const char* word) {
        if (atEnd() || tokens_[at_].quoted || Upper(tokens_[at_].text) != word)
            return false;
        ++at_;
        return true;
    }
    void expect(const char* word) {
        if (!takeWord(word))
            throw BrimloError(std::string("Invalid SQL statement: ") + word + " expected");
    }

private:
    std::vector<Token> tokens_;
    size_t at_ = 0;
};

int SizeInBrackets(Reader& r, int fallback) {
    if (!r.takeWord("("))
        return fallback;
    const std::string digits = r.take().text;
    r.expect(")");
    int n = 0;
    for (char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c)) || n > 1000)
            throw BrimloError("Invalid SQL statement: bad field size '" + digits + "'");
        n = n * 10 + (c - '0');
    }
    return n;
}

FieldDef ReadField(Reader& r) {
    FieldDef f;
    f.name = r.take().text;
    const std::string type = Upper(r.take().text);
    if (type == "VARCHAR" || type == "CHAR" || type == "CHARACTER" || type == "ALPHA") {
        f.type = FieldType::Alpha;
        f.size = SizeInBrackets(r, 1);
    } else if (type == "SMALLINT") {
        f.type = FieldType::Short;
    } else if (type == "INTEGER" || type == "INT") {
        f.type = FieldType::Long;
    } else if (type == "FLOAT" || type == "DOUBLE" || type == "NUMERIC" || type == "DECIMAL") {
        f.type = FieldType::Number;
        SizeInBrackets(r, 0);
    } else if (type == "DATE") {
        f.type = FieldType::Date;
    } else if (type == "BOOLEAN") {
        f.type = FieldType::Logical;
    } else {
        throw BrimloError("Invalid SQL statement: unknown field type '" + type + "'");
    }
    return f;
}

} // namespace

void ExecuteTableSql(const std::string& statement) {
    Reader r(Tokens(statement));
    r.expect("ALTER");
    r.expect("TABLE");
    const std::string table = r.take().text;
    r.expect("ADD");
    r.takeWord("COLUMN");
    const FieldDef field = ReadField(r);
    if (!r.atEnd())
        throw BrimloError("Invalid SQL statement: unexpected text after the field type");
    SqliteStore::open(table)->addColumn(field);
}

} // namespace brimlo
