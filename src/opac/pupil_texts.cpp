#include "opac/pupil_texts.h"

#include "engine/common/dates.h"

namespace kashidashi::opac::pupil_text {

using accounts::ChangeOutcome;
using accounts::LoginOutcome;
using accounts::ReserveOutcome;

std::string Login(const accounts::LoginResult& result) {
    if (result.outcome == LoginOutcome::Locked)
        return "パスワードを5{回|かい}まちがえたので、しばらくログインできません。15{分|ふん}"
               "たってから、もう{一度|いちど}ためしてください。";
    return "{番号|ばんごう}かパスワードがちがいます。";
}

std::string Change(ChangeOutcome outcome) {
    switch (outcome) {
        case ChangeOutcome::Changed:
            return "パスワードを{変|か}えました。";
        case ChangeOutcome::WrongPassword:
            return "{今|いま}のパスワードがちがいます。";
        case ChangeOutcome::Locked:
            return "パスワードを5{回|かい}まちがえたので、しばらく{使|つか}えません。15{分|ふん}"
                   "たってから、もう{一度|いちど}ためしてください。";
        case ChangeOutcome::TooShort:
            return "{新|あたら}しいパスワードは6{文字|もじ}{以上|いじょう}にしてください。";
        case ChangeOutcome::TooLong:
            return "{新|あたら}しいパスワードは64{文字|もじ}までにしてください。";
        case ChangeOutcome::SameAsNumber:
            return "{番号|ばんごう}と{同|おな}じパスワードは{使|つか}えません。";
    }
    return "";
}

std::string Reserve(const accounts::ReserveResult& result, int limit) {
    switch (result.outcome) {
        case ReserveOutcome::Reserved:
            return "{予約|よやく}しました。あなたは" + std::to_string(result.place) +
                   "{番目|ばんめ}です。";
        case ReserveOutcome::NoSuchBook:
            return "この{本|ほん}は{見|み}つかりません。";
        case ReserveOutcome::NotLendable:
            return "この{本|ほん}は{貸出|かしだし}できないので、{予約|よやく}できません。";
        case ReserveOutcome::HeldByUser:
            return "この{本|ほん}は{今|いま}あなたが{借|か}りています。";
        case ReserveOutcome::AlreadyReserved:
            return "この{本|ほん}はもう{予約|よやく}しています。";
        case ReserveOutcome::OverLimit:
            return "{予約|よやく}できるのは" + std::to_string(limit) + "{冊|さつ}までです。";
        case ReserveOutcome::Failed:
            break;
    }
    return kFailed;
}

std::string Day(engine::Date day, engine::Date today) {
    const auto civil = engine::ToCivil(day);
    std::string text;
    if (civil.year != engine::ToCivil(today).year) text = std::to_string(civil.year) + "{年|ねん}";
    return text + std::to_string(civil.month) + "{月|がつ}" + std::to_string(civil.day) +
           "{日|にち}";
}

}  // namespace kashidashi::opac::pupil_text
