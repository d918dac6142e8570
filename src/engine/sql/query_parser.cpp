// SELECT, UPDATE, DELETE and INSERT.
#include "engine/sql/expression_parser.h"
#include "engine/sql/statement_parsers.h"

namespace engine::sql {
namespace {

// An alias after AS, or a name standing right after the aliased thing.
std::optional<Name> ParseAlias(TokenCursor& cursor) {
    if (cursor.AcceptKeyword("AS")) return cursor.ExpectName("expected an alias");
    if (cursor.IsName()) return cursor.ExpectName("expected an alias");
    return std::nullopt;
}

SelectItem ParseSelectItem(TokenCursor& cursor) {
    SelectItem item;
    item.offset = cursor.Peek().offset;
    if (cursor.Accept(TokenKind::kStar)) {
        item.kind = SelectItem::Kind::kAllColumns;
    } else if (cursor.IsName() && cursor.Is(TokenKind::kDot, 1) && cursor.Is(TokenKind::kStar, 2)) {
        item.kind = SelectItem::Kind::kAllOfTable;
        item.table = cursor.ExpectName("expected a table name");
        cursor.Next();  // "."
        cursor.Next();  // "*"
    } else {
        item.expr = ParseExpr(cursor);
        item.alias = ParseAlias(cursor);
    }
    return item;
}

TableRef ParseTableRef(TokenCursor& cursor, JoinKind join, size_t offset) {
    TableRef ref;
    ref.join = join;
    ref.offset = offset;
    ref.table = cursor.ExpectName("expected a table name");
    ref.alias = ParseAlias(cursor);
    return ref;
}

// The join keywords at the cursor, consumed; false when none stand there.
bool ParseJoinKeywords(TokenCursor& cursor, JoinKind& kind) {
    if (cursor.AcceptKeyword("LEFT")) {
        cursor.AcceptKeyword("OUTER");
        kind = JoinKind::kLeft;
    } else if (cursor.AcceptKeyword("INNER")) {
        kind = JoinKind::kInner;
    } else if (cursor.IsKeyword("JOIN")) {
        kind = JoinKind::kInner;
    } else {
        return false;
    }
    cursor.ExpectKeyword("JOIN");
    return true;
}

void ParseFrom(TokenCursor& cursor, std::vector<TableRef>& from) {
    from.push_back(ParseTableRef(cursor, JoinKind::kFirst, cursor.Peek().offset));
    while (true) {
        size_t offset = cursor.Peek().offset;
        JoinKind kind = JoinKind::kInner;
        if (cursor.Accept(TokenKind::kComma)) {
            from.push_back(ParseTableRef(cursor, JoinKind::kComma, offset));
        } else if (ParseJoinKeywords(cursor, kind)) {
            from.push_back(ParseTableRef(cursor, kind, offset));
            cursor.ExpectKeyword("ON");
            from.back().on = ParseExpr(cursor);
        } else {
            return;
        }
    }
}

std::vector<OrderItem> ParseOrderBy(TokenCursor& cursor) {
    std::vector<OrderItem> items;
    do {
        OrderItem item{ParseExpr(cursor), false};
        if (cursor.AcceptKeyword("DESC")) {
            item.descending = true;
        } else {
            cursor.AcceptKeyword("ASC");
        }
        items.push_back(std::move(item));
    } while (cursor.Accept(TokenKind::kComma));
    return items;
}

ExprPtr ParseOptionalWhere(TokenCursor& cursor) {
    return cursor.AcceptKeyword("WHERE") ? ParseExpr(cursor) : nullptr;
}

std::vector<ExprPtr> ParseValueRow(TokenCursor& cursor) {
    cursor.Expect(TokenKind::kLParen, "expected '('");
    std::vector<ExprPtr> row;
    do {
        row.push_back(ParseExpr(cursor));
    } while (cursor.Accept(TokenKind::kComma));
    cursor.Expect(TokenKind::kRParen, "expected ',' or ')'");
    return row;
}

}  // namespace

Statement::Node ParseSelect(TokenCursor& cursor) {
    cursor.ExpectKeyword("SELECT");
    SelectStmt select;
    do {
        select.items.push_back(ParseSelectItem(cursor));
    } while (cursor.Accept(TokenKind::kComma));
    cursor.ExpectKeyword("FROM");
    ParseFrom(cursor, select.from);
    select.where = ParseOptionalWhere(cursor);
    if (cursor.AcceptKeyword("ORDER")) {
        cursor.ExpectKeyword("BY");
        select.orderBy = ParseOrderBy(cursor);
    }
    return select;
}

Statement::Node ParseUpdate(TokenCursor& cursor) {
    cursor.ExpectKeyword("UPDATE");
    UpdateStmt update;
    update.table = cursor.ExpectName("expected a table name");
    cursor.ExpectKeyword("SET");
    do {
        Name column = cursor.ExpectName("expected a column name");
        cursor.Expect(TokenKind::kEq, "expected '='");
        update.set.push_back(Assignment{std::move(column), ParseExpr(cursor)});
    } while (cursor.Accept(TokenKind::kComma));
    update.where = ParseOptionalWhere(cursor);
    return update;
}

Statement::Node ParseDelete(TokenCursor& cursor) {
    cursor.ExpectKeyword("DELETE");
    cursor.ExpectKeyword("FROM");
    DeleteStmt del;
    del.table = cursor.ExpectName("expected a table name");
    del.where = ParseOptionalWhere(cursor);
    return del;
}

Statement::Node ParseInsert(TokenCursor& cursor) {
    cursor.ExpectKeyword("INSERT");
    cursor.ExpectKeyword("INTO");
    InsertStmt insert;
    insert.table = cursor.ExpectName("expected a table name");
    if (cursor.Is(TokenKind::kLParen)) {
        insert.columns = ParseNameList(cursor, "expected a column name");
    }
    cursor.ExpectKeyword("VALUES");
    do {
        insert.rows.push_back(ParseValueRow(cursor));
    } while (cursor.Accept(TokenKind::kComma));
    return insert;
}

}  // namespace engine::sql
