// kx_bench: prints "<case> <engine seconds> <raw seconds> <ratio>" per case.
#include <cstdio>
#include <exception>

namespace bench {
void RunTableCases();
void RunQueryCases();
}  // namespace bench

int main() {
    try {
        bench::RunTableCases();
        bench::RunQueryCases();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "benchmark failed: %s\n", e.what());
        return 1;
    }
    return 0;
}
