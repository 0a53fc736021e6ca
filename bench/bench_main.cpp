#include <benchmark/benchmark.h>

#include "core/channel_tables.h"

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    quorvel::BuildChannelTables();  // as every front end does at start-up
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
