// The grid on a window (GridFixture) with what the export tests share: a
// reservation list of the desk's own tables, the CSV file in the test's
// folder, the spreadsheet application's opener, and readers of what was
// written.
#pragma once

#include <QJsonObject>
#include <functional>
#include <string>

#include "grid/grid_fixture.h"

namespace grid_test {

class ExportFixture : public GridFixture {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The desk's data tables with three reservations (two of them on books
    // on loan), and the reservation list over them: the columns of the
    // desk's reservation status list (the book number hidden) and the memo.
    engine::TDBQuery& ReservationList();
    // Item (GridFixture::MakeItems) shown with the columns ID, Title, Memo.
    engine::TDBTable& ShowItems(int rows);
    // Runs `hook` on the record with that ID when the export reaches it.
    void OnRecord(engine::TDataSet& dataSet, int id, std::function<void()> hook);

    std::string ReadCsv() const;  // the file's bytes
    // The .xlsx the spreadsheet application wrote, read back with openpyxl:
    // {"sheet", "header", "landscape", "cells": {"A1": {"value", "type",
    // "format", "font", "size", "bold", "italic", "strike", "border",
    // "fill"}}, "widths": {"A": w}}.
    QJsonObject ReadXlsx(const std::string& path) const;

    std::string csvPath;
};

// Bytes of code page 932 for UTF-8 text, by the C library's converter.
std::string Sjis(const std::string& utf8);

}  // namespace grid_test
