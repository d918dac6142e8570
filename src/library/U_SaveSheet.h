// エクセル出力 of the librarian's windows: asks where to save the table as an
// .xlsx file (the suggested name in the user's documents folder), writes it
// (library/sheet_file.h) and opens it with the desktop's application for
// spreadsheets when there is one; else says where it was saved.
#pragma once

#include <QString>

#include "library/sheet_file.h"

class QWidget;

namespace kashidashi {

// False when the operator chose no file or it could not be written (said
// through Dialogs).
bool SaveSheetAsked(QWidget* parent, const library::SheetTable& table,
                    const QString& suggestedName);
// The same for CSV text (code page 932), without opening it.
bool SaveCsvAsked(QWidget* parent, const std::string& utf8Text, const QString& suggestedName);

}  // namespace kashidashi
