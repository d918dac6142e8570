// What the operator reads when something fails: one mapping from the
// engine's and the storage's failures to plain Japanese, shared by every
// window's error box (Dialogs::ShowEngineError) and by kashidashi-admin.
//
// An engine error becomes what happened and what to do, one line each,
// then its code for support: "（エラー番号 12004）", or with what the error
// names, "（エラー番号 11010: SYOZOKU）". A missing data table of the school
// (Book, Name, ..., Reg) reads "このフォルダには学校のデータがありません。";
// a full disk "ディスクの空きが足りません。"; a medium or share that takes no
// writes "フォルダに書き込めません（読み取り専用です）。".
// Other failures keep their own text (the data set layer's and the
// program's own are Japanese already); running out of memory is said too.
// The desk's specified messages do not pass through here.
#pragma once

#include <exception>
#include <string>

namespace kashidashi {

// The operator's text of `error`, lines separated by "\n".
std::string FailureText(const std::exception& error);

// The operator's text of the engine error `code` about `subject` (a table,
// folder or file; may be empty) whose engine text is `engineText`.
std::string EngineFailureText(int code, const std::string& subject, const std::string& engineText);

}  // namespace kashidashi
