// The fixed texts of the pupils' pages, written with their readings
// ({漢字|よみ}, say.h) for ふりがなモード.
#pragma once

#include <string>

#include "engine/common/value.h"
#include "library/accounts/web_accounts.h"
#include "library/accounts/web_reservations.h"

namespace kashidashi::opac::pupil_text {

std::string Login(const accounts::LoginResult& result);
std::string Change(accounts::ChangeOutcome outcome);
std::string Reserve(const accounts::ReserveResult& result, int limit);
// "6{月|がつ}10{日|にち}" (with the year when it is not this one).
std::string Day(engine::Date day, engine::Date today);

inline constexpr const char* kAgain =
    "もう{一度|いちど}、ログインの{画面|がめん}からやりなおしてください。";
inline constexpr const char* kMismatch =
    "{新|あたら}しいパスワードが{二|ふた}つの{欄|らん}でちがいます。";
inline constexpr const char* kCancelled = "{予約|よやく}を{取|と}り{消|け}しました。";
inline constexpr const char* kNothingCancelled = "その{本|ほん}の{予約|よやく}はありません。";
inline constexpr const char* kFailed =
    "いまは{記録|きろく}できませんでした。しばらくしてから、もう{一度|いちど}ためしてください。";

}  // namespace kashidashi::opac::pupil_text
