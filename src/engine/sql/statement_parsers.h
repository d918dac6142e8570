// The statement grammars of the dialect (internal to the parser). Each reads
// one statement from its first keyword on; the caller checks that the
// statement ends there.
//
//   select := SELECT item {, item} FROM table {join} [WHERE expr]
//             [ORDER BY expr [ASC|DESC] {, expr [ASC|DESC]}]
//   item   := * | name . * | expr [[AS] alias]
//   table  := name [[AS] alias]
//   join   := , table | [INNER] JOIN table ON expr
//           | LEFT [OUTER] JOIN table ON expr
//   update := UPDATE name SET column = expr {, column = expr} [WHERE expr]
//   delete := DELETE FROM name [WHERE expr]
//   insert := INSERT INTO name [( column {, column} )]
//             VALUES ( expr {, expr} ) {, ( expr {, expr} )}
//
//   create table := CREATE TABLE [IF NOT EXISTS] name ( element {, element} )
//   element      := column type
//                 | PRIMARY KEY ( column {, column} ) [COMPRESS FULL|NONE]
//                 | option {option}
//   option       := LANGUAGE text | SORT text | USER MAJOR VERSION integer
//   type         := INTEGER | SMALLINT | AUTOINC | FLOAT | MONEY | BOOLEAN
//                 | DATE | TIMESTAMP | MEMO | CHARACTER(n) | CHAR(n) | VARCHAR(n)
//   alter table  := ALTER TABLE name ADD [COLUMN] column type
//                   {, ADD [COLUMN] column type}
//   create index := CREATE [UNIQUE] INDEX name ON name ( column {, column} )
//   drop table   := DROP TABLE name
#pragma once

#include "engine/sql/ast.h"
#include "engine/sql/token_cursor.h"

namespace engine::sql {

Statement::Node ParseSelect(TokenCursor& cursor);
Statement::Node ParseUpdate(TokenCursor& cursor);
Statement::Node ParseDelete(TokenCursor& cursor);
Statement::Node ParseInsert(TokenCursor& cursor);
Statement::Node ParseCreate(TokenCursor& cursor);  // CREATE TABLE and CREATE INDEX
Statement::Node ParseAlter(TokenCursor& cursor);
Statement::Node ParseDrop(TokenCursor& cursor);

// "( name {, name} )", for column lists.
std::vector<Name> ParseNameList(TokenCursor& cursor, std::string_view expected);

}  // namespace engine::sql
