// kx_bench: prints "<case> <engine seconds> <raw seconds> <ratio>" per case;
// `kx_bench server` runs the server cases alone, `kx_bench tables` the
// table cases alone.
#include <cstdio>
#include <exception>
#include <string>

namespace bench {
void RunTableCases();
void RunQueryCases();
void RunServerCases();
}  // namespace bench

int main(int argc, char** argv) {
    try {
        std::string only = argc > 1 ? argv[1] : "";
        if (only.empty() || only == "tables") bench::RunTableCases();
        if (only.empty()) bench::RunQueryCases();
        if (only.empty() || only == "server") bench::RunServerCases();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "benchmark failed: %s\n", e.what());
        return 1;
    }
    return 0;
}
