#include "data/failure_text.h"

#include <map>
#include <new>

#include "data/schema.h"
#include "engine/common/error.h"
#include "engine/common/names.h"

namespace kashidashi {
namespace {

namespace err = engine::err;

struct Said {
    const char* happened;  // what happened
    const char* todo;      // what to do
    bool namesSubject;     // the support line names the error's subject
};

const std::map<int, Said>& SaidByCode() {
    static const std::map<int, Said> said = {
        {err::kRecordChanged,
         {"ほかの机か画面で、このデータが変更または削除されました。",
          "画面を開き直して、新しいデータでもう一度操作してください。", true}},
        {err::kNoCurrentRecord,
         {"操作するデータがありません。",
          "一覧にデータがあることを確かめてから、もう一度操作してください。", true}},
        {err::kDuplicateKey,
         {"同じ番号のデータがすでに登録されています。",
          "番号を確かめて、登録されていない番号で登録してください。", false}},
        {err::kTableLocked,
         {"ほかの机か画面がこのデータを使っています。",
          "しばらく待ってから、もう一度操作してください。", true}},
        {err::kMustBeExclusive,
         {"この操作は、ほかの机がこのデータを使っていない時にしかできません。",
          "ほかの机の貸出と返却を終了してから、もう一度操作してください。", true}},
        {err::kRecordLocked,
         {"ほかの机がこのデータを使っています。", "しばらく待ってから、もう一度操作してください。",
          true}},
        {err::kAccessDenied,
         {"読み取り専用で開いたデータには書き込めません。",
          "画面を閉じて開き直してから、もう一度操作してください。", true}},
        {err::kConnectionLost,
         {"データベースサーバとの接続が切れました。",
          "ネットワークとサーバを確かめてから、もう一度操作してください。", true}},
        {err::kCannotConnect,
         {"データベースサーバに接続できません。",
          "サーバが動いているか、初期設定のホスト名とポート番号が正しいかを確かめてください。",
          true}},
        {err::kLoginInvalid,
         {"データベースサーバのユーザ名かパスワードが違います。",
          "初期設定のユーザ名とパスワードを確かめてください。", true}},
        {err::kRemoteDatabaseMissing,
         {"データベースサーバに、指定のデータベースがありません。",
          "初期設定のデータベース名を確かめてください。", true}},
        {err::kSqlError,
         {"データの問い合わせを実行できませんでした。",
          "このメッセージをサポートにお知らせください。", false}},
        {err::kTableExists,
         {"同じ名前の表がすでにあります。",
          "今ある学校のデータを上書きしないよう、別のフォルダを選んでください。", true}},
        {err::kFolderMissing,
         {"フォルダがないか、使えません。",
          "初期設定のデータパス名を確かめてください。ネットワーク上のフォルダなら、"
          "つながっているかを確かめてください。",
          true}},
        {err::kCorruptFile,
         {"データのファイルが壊れているか、このプログラムのデータベースではありません。",
          "kashidashi-admin check で調べ、必要ならバックアップから戻してください。", true}},
        {err::kIoError,
         {"データのファイルを読み書きできませんでした。",
          "フォルダとディスクを確かめてから、もう一度操作してください。", true}},
        {err::kDiskFull,
         {"ディスクの空きが足りません。",
          "いらないファイルを消してディスクに空きを作ってから、もう一度操作してください。", true}},
        {err::kReadOnlyFolder,
         {"フォルダに書き込めません（読み取り専用です）。",
          "書き込めるフォルダを選ぶか、フォルダへの書き込みの許可を確かめてください。", true}},
        {err::kLockFileUnusable,
         {"ほかの机と共有するロックファイルを読み書きできません。",
          "データのフォルダにある kashidashi.lck への読み書きの許可を確かめてください。", true}},
    };
    return said;
}

// A missing table of the school's own means the folder holds no school
// (an empty folder, or the wrong one).
bool IsSchoolTable(const std::string& table) {
    for (const auto& name : DataTableNames())
        if (engine::SameName(name, table)) return true;
    return false;
}

std::string SupportLine(int code, const std::string& subject) {
    std::string line = "（エラー番号 " + std::to_string(code);
    if (!subject.empty()) line += ": " + subject;
    return line + "）";
}

std::string Lines(const std::string& happened, const std::string& todo, int code,
                  const std::string& subject) {
    return happened + "\n" + todo + "\n" + SupportLine(code, subject);
}

}  // namespace

std::string EngineFailureText(int code, const std::string& subject, const std::string& engineText) {
    if (code == err::kTableMissing && IsSchoolTable(subject))
        return Lines("このフォルダには学校のデータがありません。",
                     "初期設定のデータパス名で学校のデータのあるフォルダを選ぶか、"
                     "kashidashi-admin init で学校を作ってください。",
                     code, subject);
    if (code == err::kTableMissing)
        return Lines("データの表がありません。",
                     "kashidashi-admin check で学校のデータを調べてください。", code, subject);
    auto it = SaidByCode().find(code);
    // The engine's own Japanese texts (a data set in the wrong state) and
    // codes without a row keep their text.
    if (it == SaidByCode().end()) return engineText + "\n" + SupportLine(code, "");
    const Said& said = it->second;
    return Lines(said.happened, said.todo, code, said.namesSubject ? subject : "");
}

std::string FailureText(const std::exception& error) {
    if (const auto* engineError = dynamic_cast<const engine::EngineError*>(&error))
        return EngineFailureText(engineError->code(), engineError->subject(), error.what());
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return "メモリが足りません。\nほかのプログラムを閉じてから、もう一度操作してください。";
    return error.what();
}

}  // namespace kashidashi
