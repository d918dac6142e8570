// Runs the data definition statements of the dialect on one database.
//
//   CREATE TABLE   makes the table with its columns in order; PRIMARY KEY
//                  becomes its primary index. COMPRESS, LANGUAGE, SORT and
//                  USER MAJOR VERSION are accepted and change nothing here.
//                  With IF NOT EXISTS an existing table is left as it is and
//                  nothing is raised; without it 13060.
//   ALTER TABLE    appends the ADD columns in order; the table's existing
//                  rows hold NULL in them. It needs exclusive use of the
//                  table (no data set of any session has it open): 10241
//                  otherwise, and nothing changes.
//   CREATE INDEX   adds a secondary index ([UNIQUE] INDEX name ON table).
//   DROP TABLE     removes the table and its rows; needs exclusive use.
//
// A table that does not exist is 11010; a column declared twice, an unknown
// key or index column, or an index name the table already has is 11949
// saying what and where.
#pragma once

#include <string_view>

#include "engine/sql/ast.h"
#include "engine/storage/connection.h"

namespace engine::translate {

// True for the statements ExecuteDefinition runs.
bool IsDefinition(const sql::Statement& statement);

// Runs one data definition statement; `text` is the text it was parsed from.
void ExecuteDefinition(const sql::Statement& statement, storage::Connection& connection,
                       std::string_view text);

}  // namespace engine::translate
