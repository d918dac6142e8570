// CREATE TABLE, ALTER TABLE, CREATE INDEX and DROP TABLE.
#include <charconv>
#include <cstdint>

#include "engine/sql/keywords.h"
#include "engine/sql/source_position.h"
#include "engine/sql/statement_parsers.h"

namespace engine::sql {
namespace {

// The largest size a text column may declare.
constexpr int64_t kMaxTextSize = 32767;

// A whole number within [low, high]; `what` names it: "text size".
int64_t ParseCount(TokenCursor& cursor, int64_t low, int64_t high, std::string_view what) {
    const Token& token = cursor.Expect(TokenKind::kInteger, "expected the " + std::string(what));
    int64_t value = 0;
    auto [end, ec] =
        std::from_chars(token.text.data(), token.text.data() + token.text.size(), value);
    if (ec != std::errc() || value < low || value > high) {
        cursor.FailAt(token.offset, std::string(what) + " " + Excerpt(token.text) +
                                        " out of range (" + std::to_string(low) + " to " +
                                        std::to_string(high) + ")");
    }
    return value;
}

ColumnType ParseType(TokenCursor& cursor) {
    static constexpr struct {
        std::string_view name;
        FieldType type;
    } kPlain[] = {{"INTEGER", FieldType::Integer}, {"SMALLINT", FieldType::Smallint},
                  {"AUTOINC", FieldType::AutoInc}, {"FLOAT", FieldType::Float},
                  {"MONEY", FieldType::Currency},  {"BOOLEAN", FieldType::Boolean},
                  {"DATE", FieldType::Date},       {"TIMESTAMP", FieldType::DateTime},
                  {"MEMO", FieldType::Memo}};
    for (const auto& plain : kPlain) {
        if (cursor.AcceptKeyword(plain.name)) return ColumnType{plain.type, 0};
    }
    if (!cursor.IsKeyword("CHARACTER") && !cursor.IsKeyword("CHAR") &&
        !cursor.IsKeyword("VARCHAR")) {
        cursor.Fail("expected a column type");
    }
    cursor.Next();
    cursor.Expect(TokenKind::kLParen, "expected '(' and the text size");
    int64_t size = ParseCount(cursor, 1, kMaxTextSize, "text size");
    cursor.Expect(TokenKind::kRParen, "expected ')'");
    return ColumnType{FieldType::String, static_cast<int>(size)};
}

ColumnDef ParseColumnDef(TokenCursor& cursor) {
    size_t offset = cursor.Peek().offset;
    Name name = cursor.ExpectName("expected a column name");
    return ColumnDef{std::move(name), ParseType(cursor), offset};
}

bool AtOption(const TokenCursor& cursor) {
    bool textFollows = cursor.Is(TokenKind::kQuotedName, 1) || cursor.Is(TokenKind::kString, 1);
    return ((cursor.IsKeyword("LANGUAGE") || cursor.IsKeyword("SORT")) && textFollows) ||
           (cursor.IsKeyword("USER") && cursor.IsKeyword("MAJOR", 1));
}

// Sets one table option; a second setting of the same option is an error.
template <class T>
void SetOnce(TokenCursor& cursor, std::optional<T>& slot, T value, size_t offset) {
    if (slot) cursor.FailAt(offset, "table option given twice");
    slot = std::move(value);
}

void ParseOption(TokenCursor& cursor, TableOptions& options) {
    const Token& word = cursor.Next();
    if (IsKeyword(word, "USER")) {
        cursor.Next();  // MAJOR
        cursor.ExpectKeyword("VERSION");
        int64_t version = ParseCount(cursor, 0, INT32_MAX, "version number");
        SetOnce(cursor, options.userMajorVersion, version, word.offset);
        return;
    }
    std::string text = cursor.Next().text;
    auto& slot = IsKeyword(word, "LANGUAGE") ? options.language : options.sort;
    SetOnce(cursor, slot, std::move(text), word.offset);
}

PrimaryKey ParsePrimaryKey(TokenCursor& cursor) {
    PrimaryKey key;
    key.offset = cursor.Next().offset;  // PRIMARY
    cursor.Next();                      // KEY
    key.columns = ParseNameList(cursor, "expected a column name");
    if (cursor.AcceptKeyword("COMPRESS")) {
        if (cursor.AcceptKeyword("FULL")) {
            key.compress = Compression::kFull;
        } else if (cursor.AcceptKeyword("NONE")) {
            key.compress = Compression::kNone;
        } else {
            cursor.Fail("expected FULL or NONE");
        }
    }
    return key;
}

// One comma-separated element of CREATE TABLE's parentheses. Options may
// follow one another with or without commas between them.
void ParseTableElement(TokenCursor& cursor, CreateTableStmt& create) {
    if (cursor.IsKeyword("PRIMARY") && cursor.IsKeyword("KEY", 1)) {
        size_t offset = cursor.Peek().offset;
        if (create.primaryKey) cursor.FailAt(offset, "a second primary key");
        create.primaryKey = ParsePrimaryKey(cursor);
    } else if (AtOption(cursor)) {
        while (AtOption(cursor)) ParseOption(cursor, create.options);
    } else {
        create.columns.push_back(ParseColumnDef(cursor));
    }
}

Statement::Node ParseCreateTable(TokenCursor& cursor) {
    CreateTableStmt create;
    if (cursor.IsKeyword("IF") && cursor.IsKeyword("NOT", 1) && cursor.IsKeyword("EXISTS", 2)) {
        for (int i = 0; i < 3; ++i) cursor.Next();
        create.ifNotExists = true;
    }
    create.table = cursor.ExpectName("expected a table name");
    cursor.Expect(TokenKind::kLParen, "expected '('");
    do {
        ParseTableElement(cursor, create);
    } while (cursor.Accept(TokenKind::kComma));
    cursor.Expect(TokenKind::kRParen, "expected ',' or ')'");
    if (create.columns.empty()) cursor.FailAt(create.table.offset, "a table without columns");
    return create;
}

Statement::Node ParseCreateIndex(TokenCursor& cursor, bool unique) {
    CreateIndexStmt index;
    index.unique = unique;
    index.index = cursor.ExpectName("expected an index name");
    cursor.ExpectKeyword("ON");
    index.table = cursor.ExpectName("expected a table name");
    index.columns = ParseNameList(cursor, "expected a column name");
    return index;
}

}  // namespace

std::vector<Name> ParseNameList(TokenCursor& cursor, std::string_view expected) {
    cursor.Expect(TokenKind::kLParen, "expected '('");
    std::vector<Name> names;
    do {
        names.push_back(cursor.ExpectName(expected));
    } while (cursor.Accept(TokenKind::kComma));
    cursor.Expect(TokenKind::kRParen, "expected ',' or ')'");
    return names;
}

Statement::Node ParseCreate(TokenCursor& cursor) {
    cursor.ExpectKeyword("CREATE");
    if (cursor.AcceptKeyword("TABLE")) return ParseCreateTable(cursor);
    bool unique = cursor.AcceptKeyword("UNIQUE");
    if (cursor.AcceptKeyword("INDEX")) return ParseCreateIndex(cursor, unique);
    cursor.Fail(unique ? "expected 'INDEX'" : "expected 'TABLE' or 'INDEX'");
}

Statement::Node ParseAlter(TokenCursor& cursor) {
    cursor.ExpectKeyword("ALTER");
    cursor.ExpectKeyword("TABLE");
    AlterTableStmt alter;
    alter.table = cursor.ExpectName("expected a table name");
    do {
        cursor.ExpectKeyword("ADD");
        // "ADD COLUMN x INTEGER" skips the word; "ADD Column INTEGER" adds
        // a column named Column.
        if (cursor.IsKeyword("COLUMN") && cursor.IsName(1) && cursor.Is(TokenKind::kName, 2)) {
            cursor.Next();
        }
        alter.addColumns.push_back(ParseColumnDef(cursor));
    } while (cursor.Accept(TokenKind::kComma));
    return alter;
}

Statement::Node ParseDrop(TokenCursor& cursor) {
    cursor.ExpectKeyword("DROP");
    cursor.ExpectKeyword("TABLE");
    return DropTableStmt{cursor.ExpectName("expected a table name")};
}

}  // namespace engine::sql
