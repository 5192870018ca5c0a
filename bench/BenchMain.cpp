// The benchmarks' main: they run under the program's memory policy, as its own main
// sets it, so that a buffer freed and taken again costs what it costs the program.
#include "platform/MemoryReuse.h"

#include <benchmark/benchmark.h>

int main(int argc, char* argv[])
{
    keepFreedMemoryForReuse();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
