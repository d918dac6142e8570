// ReplaceTableByCopy: the copy of one table into another of a new layout,
// and the swap that follows only when the copy is complete.
#include <cstdint>
#include <exception>
#include <stdexcept>
#include <string>

#include "data/U_MakeTable.h"

namespace kashidashi {
namespace {

struct CopyTally {
    int64_t count = 0;  // the source's rows when the copy began
    int64_t seen = 0;
    int64_t copied = 0;
    int64_t skipped = 0;
    int64_t targetGained = 0;
};

// Appends the source's current row to the target, column by column matched
// by name through the text form (an empty value becomes NULL).
bool CopyCurrentRow(engine::TDBTable& source, engine::TDBTable& target) {
    try {
        target.Append();
        for (int i = 0; i < source.FieldCount(); ++i) {
            const engine::TField& from = source.Fields(i);
            if (engine::TField* to = target.FindField(from.FieldName())) {
                to->SetAsString(from.AsString());
            }
        }
        target.Post();
        return true;
    } catch (const std::exception&) {
        if (target.State() == engine::DataSetState::dsInsert) target.Cancel();
        return false;
    }
}

CopyTally CopyRows(engine::TDBTable& source, engine::TDBTable& target) {
    CopyTally tally;
    tally.count = source.RecordCount();
    const int64_t targetBefore = target.RecordCount();
    // Stops at the end of the rows too: a row that vanished is not copied twice.
    for (source.First(); !source.Eof() && tally.seen < tally.count; source.Next()) {
        ++tally.seen;
        ++(CopyCurrentRow(source, target) ? tally.copied : tally.skipped);
    }
    tally.targetGained = target.RecordCount() - targetBefore;
    return tally;
}

// A copy that lost rows, or that copied none of the rows there were, must not
// replace its source.
void RequireCompleteCopy(const std::string& name, const CopyTally& tally) {
    const bool complete =
        tally.seen == tally.count && tally.copied + tally.skipped == tally.count &&
        tally.targetGained == tally.copied && (tally.count == 0 || tally.copied > 0);
    if (complete) return;
    throw std::runtime_error("テーブル '" + name + "' の複写を完了できませんでした（全 " +
                             std::to_string(tally.count) + " 件のうち複写 " +
                             std::to_string(tally.copied) +
                             " 件）。元のテーブルはそのまま残しています。");
}

}  // namespace

void TMakeTable::ReplaceTableByCopy(engine::TDBTable& source, engine::TDBTable& target) {
    const std::string name = source.TableName();
    CopyTally tally;
    try {
        source.Open();
        target.Open();
        tally = CopyRows(source, target);
    } catch (...) {
        target.Close();
        source.Close();
        throw;
    }
    target.Close();
    source.Close();
    RequireCompleteCopy(name, tally);
    source.DeleteTable();
    target.RenameTable(name);
}

}  // namespace kashidashi
