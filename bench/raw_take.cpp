// Raw takes: what keeping one costs the receive path per frame, and how fast
// an hour of one is read and solved again.
#include "tools/cli/raw_take.h"
#include "tests/support/suit_datagrams.h"
#include "tools/solve/raw_solve.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <vector>

namespace {
constexpr int HourAt120Hz = 120 * 3600;

// A suit swinging every channel and turning, a little differently each
// frame, so that the jitter filter passes the readings and the support
// point changes now and then.
RawTake HourLongTake()
{
    RawTake take;
    take.header.nominalRate = 120.0f;
    VarnelGetActorData(nullptr, &take.header.actor);
    SuitHeader header = MakeSuitHeader("Bench suit", 120.0f);
    take.records.resize(HourAt120Hz);
    for (int i = 0; i < HourAt120Hz; i++) {
        float swing = std::sin(float(i) * 0.05f);
        SuitReadings readings = StandingReadings(int(60.0f * swing));
        readings.orientation[2] += 20.0f * swing;
        RawRecord& record = take.records[i];
        record.time = int64_t(i) * 1000000000 / 120;
        record.flags = RawSolved | RawKept | (i == 0 ? uint32_t(RawCalibratedBefore) : 0u);
        record.datagram = MakeSuitDatagram(header, readings, uint32_t(i));
    }
    return take;
}

const RawTake& SharedTake()
{
    static const RawTake take = HourLongTake();
    return take;
}

void SolveRawTakeHour(benchmark::State& state)
{
    const RawTake& raw = SharedTake();
    Skeleton take;
    VarnelInitSkeleton(&take);
    for (auto _ : state) {
        std::string problem = SolveRawTake(raw, RawSolveSettings{}, take);
        if (!problem.empty())
            state.SkipWithError(problem.c_str());
        benchmark::DoNotOptimize(take.frames);
    }
    state.counters["frames/s"] = benchmark::Counter(
        double(raw.records.size()) * double(state.iterations()), benchmark::Counter::kIsRate);
    VarnelFreeSkeletonFrames(&take);
}
BENCHMARK(SolveRawTakeHour)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

void ReadRawTakeHour(benchmark::State& state)
{
    const RawTake& raw = SharedTake();
    std::vector<uint8_t> bytes(RawTakeHeaderSize + raw.records.size() * RawRecordSize);
    EncodeRawTakeHeader(raw.header, bytes.data());
    for (size_t i = 0; i < raw.records.size(); i++)
        EncodeRawRecord(raw.records[i], bytes.data() + RawTakeHeaderSize + i * RawRecordSize);
    RawTake read;
    for (auto _ : state) {
        ParseRawTake(bytes.data(), bytes.size(), &read);
        benchmark::DoNotOptimize(read.records.data());
    }
}
BENCHMARK(ReadRawTakeHour)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3);

// The receive path's share of a raw take per frame: the datagram stored,
// then marked solved and kept, with the writer thread writing to disk
// meanwhile.
void RawRecordingPerFrame(benchmark::State& state)
{
    const std::string path =
        (std::filesystem::temp_directory_path() / "varnel-bench-raw.vraw").string();
    RawTakeWriter writer;
    if (!writer.Open(path).empty()) {
        state.SkipWithError("cannot create the raw take");
        return;
    }
    writer.SetHeader(SharedTake().header);
    const SuitDatagram datagram = SharedTake().records[1].datagram;
    int64_t time = 0;
    for (auto _ : state) {
        writer.Add(time += 8333333, datagram.data());
        writer.Mark(RawSolved);
        writer.Mark(RawKept);
    }
    writer.Close();
    std::filesystem::remove(path);
}
BENCHMARK(RawRecordingPerFrame)
    ->Iterations(HourAt120Hz / 6)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
} // namespace

BENCHMARK_MAIN();
