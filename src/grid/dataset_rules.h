// What a grid may do with the data set under it, by the data set's kind.
#pragma once

namespace engine {
class TDataSet;
class TField;
}  // namespace engine

namespace kashidashi {

// False for a table opened read-only; every other data set may be changed.
bool CanModify(const engine::TDataSet& dataSet);
// True for a query result that is a private copy: deleting or appending
// there would change nothing stored.
bool IsPrivateCopy(const engine::TDataSet& dataSet);
// The width of a field in characters when its DisplayWidth is 0.
int DefaultDisplayChars(const engine::TField& field);

}  // namespace kashidashi
