// What a catalogue's role may do on a school's database of a server when the
// school has its pupils' pages: besides what the catalogue reads (its own
// reader-role.sql), the users' numbers and names (the login), the loans'
// return dates (the reading record), the reservations, which it may add and
// delete, the reservation mark of a book (the one column Book.yoyakuF, as the
// desk's reservation rule sets it), the web accounts (their lock counts and
// passwords) and the school's switches. Nothing else: no loan, user or other
// book column can change through it.
//
// The grants are SQL for the server's superuser or the database's owner to
// run (psql); the program itself never writes a server's own SQL.
#pragma once

#include <string>

namespace kashidashi::accounts {

// The statements, to run after the web tables are made (`kashidashi-admin
// web-switches` makes them). Throws std::invalid_argument unless both names are plain
// (lower-case letters, digits and "_", starting with a letter).
std::string CatalogueGrants(const std::string& database, const std::string& role);

}  // namespace kashidashi::accounts
