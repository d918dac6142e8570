// kx_bench: prints "<case> <engine seconds> <raw seconds> <ratio>" per case;
// `kx_bench server` runs the server cases alone.
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
        bool serverOnly = argc > 1 && std::string(argv[1]) == "server";
        if (!serverOnly) {
            bench::RunTableCases();
            bench::RunQueryCases();
        }
        bench::RunServerCases();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "benchmark failed: %s\n", e.what());
        return 1;
    }
    return 0;
}
