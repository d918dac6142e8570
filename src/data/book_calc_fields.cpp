// The computed fields of the BOOK table object. Runs for every fetched book
// row, so it reads only the row itself and never touches a table.
#include "data/U_DM.h"
#include "data/isbn.h"

namespace kashidashi {
namespace {

const char* TrueOrEmpty(const engine::TDataSet& book, const char* flag) {
    return book.FieldByName(flag).AsBoolean() ? "True" : "";  // NULL reads false
}

}  // namespace

void TDM::BOOKCalcFields(engine::TDataSet& book) {
    book.FieldByName("ISBN2").SetAsString(IsbnWithCheckDigit(book.FieldByName("ISBN").AsString()));
    book.FieldByName("Pkintai").SetAsString(TrueOrEmpty(book, "kintaiF"));
    book.FieldByName("Phaiki").SetAsString(TrueOrEmpty(book, "haikiF"));
}

}  // namespace kashidashi
