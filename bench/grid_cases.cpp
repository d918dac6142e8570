// The grid cases: a grid over 100,000 books opened, then scrolled from top to
// bottom (offscreen) until every row's display texts are read, against raw
// SQLite reading the same columns of the same rows as texts.
#include <QApplication>
#include <QString>
#include <stdexcept>
#include <vector>

#include "bench_fixture.h"
#include "data/data_source.h"
#include "engine/dataset/table.h"
#include "engine/session/database.h"
#include "engine/session/session.h"
#include "grid/LibXGrid.h"
#include "grid/dataset_model.h"

namespace bench {
namespace {

constexpr int kBooks = 100'000;
const char* const kColumns[] = {"BOOK_ID", "syomei2", "cyosya1", "ISBN", "tourokubi"};

struct GridSide {
    engine::TDBSession session{"GBENCH"};
    engine::TDBDatabase database{"AAA", session};
    engine::TDBTable book;
    kashidashi::TDataSource source{&book};
    kashidashi::TLibXGrid grid;

    explicit GridSide(const std::string& folder) {
        database.SetDirectory(folder);
        book.SetSessionName("GBENCH");
        book.SetDatabaseName("AAA");
        book.SetTableName("Book");
        for (const char* column : kColumns) grid.AddColumn(column);
        grid.resize(640, 480);
    }
    ~GridSide() { grid.SetDataSource(nullptr); }
    auto& Model() { return static_cast<kashidashi::DataSetModel&>(*grid.model()); }

    void Open() {
        book.Open();
        grid.SetDataSource(&source);
        grid.show();
        QCoreApplication::processEvents();
    }
    // Scrolls to the bottom until every row is there; the texts' total length.
    size_t ScrollToEnd() {
        while (!Model().AllRead()) {
            grid.scrollToBottom();
            QCoreApplication::processEvents();
        }
        size_t total = 0;
        for (int row = 0; row < Model().rowCount(); ++row)
            for (int column = 0; column < Model().columnCount(); ++column)
                total += Model().index(row, column).data().toString().size();
        return total;
    }
};

// The same rows and columns as texts, kept as a grid keeps them.
size_t RawRead(RawDb& raw, int limit) {
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(raw.db(),
                       "SELECT rowid, BOOK_ID, syomei2, cyosya1, ISBN, tourokubi FROM Book "
                       "ORDER BY BOOK_ID, rowid LIMIT ?",
                       -1, &stmt, nullptr);
    sqlite3_bind_int(stmt, 1, limit);
    std::vector<std::vector<QString>> rows;
    size_t total = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        std::vector<QString> texts;
        for (int c = 1; c < sqlite3_column_count(stmt); ++c) {
            texts.push_back(
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, c)),
                                  sqlite3_column_bytes(stmt, c)));
            total += texts.back().size();
        }
        rows.push_back(std::move(texts));
    }
    sqlite3_finalize(stmt);
    return total;
}

void GridScroll(const std::string& folder) {
    RawDb raw(folder);
    RawRead(raw, kBooks);  // warm the page cache for both
    GridSide side(folder);
    size_t shown = 0;
    double openSeconds = Seconds([&] { side.Open(); });
    if (side.Model().RowsRead() > kashidashi::DataSetModel::kBatchRows)
        throw std::runtime_error("opening the grid read more than one batch");
    double fullRaw = Seconds([&] { RawRead(raw, kBooks); });
    Report("grid_open", openSeconds, fullRaw);
    double engineSeconds = openSeconds + Seconds([&] { shown = side.ScrollToEnd(); });
    if (side.Model().rowCount() != kBooks || shown == 0)
        throw std::runtime_error("the grid did not show every book");
    Report("grid_scroll", engineSeconds, fullRaw);
}

}  // namespace

void RunGridCases() {
    std::string folder = ScratchFolder("grid");
    MakeLendingTables(folder, kBooks);
    GridScroll(folder);
}

}  // namespace bench
