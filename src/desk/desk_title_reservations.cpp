// The reservations of a book number or of its title, earliest first: the
// queue that lending, return and deletion all consult.
#include "data/U_DM.h"
#include "desk/desk.h"

namespace kashidashi::desk {

engine::TDBQuery& Desk::OpenTitleReservations(int64_t bookId, const std::string& isbn12) {
    auto& find = TDM::Instance().YoyakuFindQry;
    find.Close();
    find.ParamByName("PM1").SetAsInteger(bookId);
    find.ParamByName("PM2").SetAsString(isbn12);
    find.Open();
    return find;
}

}  // namespace kashidashi::desk
