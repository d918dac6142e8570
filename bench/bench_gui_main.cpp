// kx_bench_gui: the cases that need Qt widgets (offscreen); prints
// "<case> <engine seconds> <raw seconds> <ratio>" per case.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <exception>

namespace bench {
void RunGridCases();
}  // namespace bench

int main(int argc, char* argv[]) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    try {
        bench::RunGridCases();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "benchmark failed: %s\n", e.what());
        return 1;
    }
    return 0;
}
