#include "desk/desk_return.h"

#include "data/U_DM.h"

namespace kashidashi::desk {

void DeclareReturnQueries(engine::TDBQuery& query1, engine::TDBQuery& delQry) {
    for (engine::TDBQuery* query : {&query1, &delQry}) {
        OnDataDatabase(*query);
    }
    query1.RequestLive = true;
    query1.SQL().Add("Select * From kashibo");
    query1.SQL().Add("  where kashidashiF='1'  and BOOK_ID=:PM");
    delQry.SQL().Add("Delete From kashibo");
    delQry.SQL().Add(" Where BOOK_ID=:PM1 and kashidashiF=\"1\"");
}

}  // namespace kashidashi::desk
