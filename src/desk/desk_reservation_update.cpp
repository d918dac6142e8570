// The reservation update of a new school year (Button9): every stored
// reservation takes its user's present pupil number and name from Name.
// Reservations of users no longer in Name stay as they are. Row by row,
// without a transaction and without a closing message, as its question says:
// no other desk may work meanwhile.
#include <QString>

#include "data/U_DM.h"
#include "desk/desk.h"
#include "widgets/dataset_closer.h"
#include "widgets/dialogs.h"

namespace kashidashi::desk {
namespace {

constexpr const char* kAskUpdate =
    "前年度の生徒番号や生徒名を今年度に更新します。\r\n"
    "他の場所で図書ソフトが動いていないことを確認して実行してください。";

// The current reservation row takes the user's pupil number and name.
void Renew(engine::TDBTable& yoyaku, engine::TDBTable& name) {
    if (!name.FindKey({yoyaku.FieldByName("Name_ID").GetValue()})) return;
    const std::string pupil = name.FieldByName("seito_No").AsString();
    const std::string userName = name.FieldByName("NAME").AsString();
    if (yoyaku.FieldByName("Seito_No").AsString() == pupil &&
        yoyaku.FieldByName("Name").AsString() == userName)
        return;  // already this year's
    yoyaku.Edit();
    yoyaku.FieldByName("Seito_No").SetAsString(pupil);
    yoyaku.FieldByName("Name").SetAsString(userName);
    yoyaku.Post();
}

}  // namespace

void Desk::UpdateReservations() {
    if (Dialogs::Question(owner_, QString::fromUtf8(kAskUpdate), Dialogs::Yes | Dialogs::No,
                          Dialogs::Kind::Warning) != Dialogs::Yes)
        return;
    yoyakuQry.Close();
    auto& dm = TDM::Instance();
    {
        DataSetCloser closeUsers(dm.NAME), closeReservations(dm.YOYAKU);
        dm.NAME.Close();
        dm.NAME.SetIndexFieldNames("NAME_ID");
        dm.YOYAKU.Close();
        dm.YOYAKU.SetFiltered(false);
        dm.NAME.Open();
        dm.YOYAKU.Open();
        for (dm.YOYAKU.First(); !dm.YOYAKU.Eof(); dm.YOYAKU.Next()) Renew(dm.YOYAKU, dm.NAME);
    }
    ReopenReservations();
}

}  // namespace kashidashi::desk
