// The texts of the DDL scripts under schema/, compiled into the library by
// the build (see CMakeLists.txt). Use them through schema.h.
#pragma once

namespace kashidashi::schema_text {

extern const char* const kDataTables;      // schema/data_tables.sql
extern const char* const kSettingsTables;  // schema/settings_tables.sql

}  // namespace kashidashi::schema_text
