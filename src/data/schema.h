// The layouts of the two databases as DDL scripts of the engine's dialect.
//
//   DataTablesScript()      creates the ten data tables and their secondary
//                           indexes in an empty data folder (plain CREATE
//                           TABLE: it fails on a folder that has them). The
//                           program itself never runs it; the administration
//                           tool and the tests do.
//   SettingsTablesScript()  CREATE TABLE IF NOT EXISTS for wk, Head, Regist
//                           and WK01, in that order; run at every start.
//   HeadLayoutScript(name)  CREATE TABLE IF NOT EXISTS of a table with the
//                           current head layout under another name (the
//                           "Head$$" of the head rebuild).
//
// The scripts live as text in schema/*.sql and are compiled in.
#pragma once

#include <string>
#include <vector>

namespace kashidashi {

std::string DataTablesScript();
std::string SettingsTablesScript();
std::string HeadLayoutScript(const std::string& tableName);

// "Book", "Name", "kashibo", "yoyaku", "NDC", "HKN", "ZAIGEN", "UKEIRE",
// "SYOZOKU", "Reg".
std::vector<std::string> DataTableNames();
// "wk", "Head", "Regist", "WK01", in the order of the creation script.
std::vector<std::string> SettingsTableNames();

}  // namespace kashidashi
