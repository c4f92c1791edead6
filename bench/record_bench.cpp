// What recording adds to a frame: the frame's hash beside the copy that shows it, and a recorded clock read beside a plain one.
#include "platform/headless.h"
#include "platform/record.h"
#include "platform/sys.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

// The peer: the copy of a whole frame into display memory that every frame makes anyway.
static void BM_FrameCopy(benchmark::State& state)
{
    std::vector<uint16_t> frame(240 * 320, 0x1234), screen(240 * 320);
    for (auto _ : state) {
        memcpy(screen.data(), frame.data(), frame.size() * 2);
        benchmark::DoNotOptimize(screen.data());
    }
}
BENCHMARK(BM_FrameCopy);

static void BM_FrameHash(benchmark::State& state)
{
    std::vector<uint16_t> frame(240 * 320);
    for (size_t i = 0; i < frame.size(); i++)
        frame[i] = (uint16_t)(i * 2654435761u >> 16);
    for (auto _ : state)
        benchmark::DoNotOptimize(RecordHash(frame.data()));
}
BENCHMARK(BM_FrameHash);

// A clock read with nothing recorded, then while every read is written down.
static void BM_ClockRead(benchmark::State& state)
{
    HeadlessReset();
    std::string error;
    if (state.range(0) && !RecordStart("/dev/null", 0xA0, &error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(SysTicks());
    if (state.range(0))
        RecordFinish(&error);
}
BENCHMARK(BM_ClockRead)->Arg(0)->Arg(1);

BENCHMARK_MAIN();
