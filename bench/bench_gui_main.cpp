// kx_bench_gui: the cases that need Qt widgets (offscreen); prints
// "<case> <engine seconds> <raw seconds> <ratio>" per case. One argument
// ("grid", "export", "desk", "reports", "library", "stats", "inventory" or "catalogue") runs only that group.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

namespace bench {
void RunGridCases();
void RunExportCases();
void RunDeskCases();
void RunReservationCases();
void RunReportCases();
void RunBackupCases();
void RunStatsCases();
void RunInventoryCases();
void RunCatalogueSearchCases();
}  // namespace bench

int main(int argc, char* argv[]) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    std::string only = argc > 1 ? argv[1] : "";
    try {
        if (only.empty() || only == "grid") bench::RunGridCases();
        if (only.empty() || only == "grid" || only == "export") bench::RunExportCases();
#ifdef KX_BENCH_DESK
        if (only.empty() || only == "desk") bench::RunDeskCases();
        if (only.empty() || only == "desk") bench::RunReservationCases();
#endif
#ifdef KX_BENCH_REPORTS
        if (only.empty() || only == "reports") bench::RunReportCases();
#endif
#ifdef KX_BENCH_LIBRARY
        if (only.empty() || only == "library") bench::RunBackupCases();
        if (only.empty() || only == "library" || only == "stats") bench::RunStatsCases();
        if (only.empty() || only == "library" || only == "inventory") bench::RunInventoryCases();
        if (only.empty() || only == "library" || only == "catalogue") bench::RunCatalogueSearchCases();
#endif
    } catch (const std::exception& e) {
        std::fprintf(stderr, "benchmark failed: %s\n", e.what());
        return 1;
    }
    return 0;
}
