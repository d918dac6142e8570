#include "desk/lost_mark.h"

#include "data/U_DM.h"
#include "engine/common/error.h"
#include "engine/dataset/query.h"

namespace kashidashi::desk {

bool ClearLostMark(int64_t bookId) {
    engine::TDBQuery unmark;
    OnDataDatabase(unmark);
    unmark.SQL().Add(std::string("Delete From ") + kLostMarkTable + " Where BOOK_ID=:PM");
    unmark.ParamByName("PM").SetAsInteger(bookId);
    try {
        unmark.ExecSQL();
    } catch (const engine::EngineError& error) {
        if (error.code() == engine::err::kTableMissing) return false;  // no check left marks
        throw;
    }
    return unmark.RowsAffected() > 0;
}

}  // namespace kashidashi::desk
