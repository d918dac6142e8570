// kx_bench: prints "<case> <engine seconds> <raw seconds> <ratio>" per case.
#include <cstdio>
#include <exception>

namespace bench {
void RunTableCases();
}

int main() {
    try {
        bench::RunTableCases();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "benchmark failed: %s\n", e.what());
        return 1;
    }
    return 0;
}
