#include "Services/Impact/ImpactDetector.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

// Ten seconds at 100 Hz of a laptop on a desk being typed on, with a tap every second.
std::vector<MotionSample> deskTrace()
{
    std::vector<MotionSample> samples(1000);
    std::mt19937 random(3);
    std::normal_distribution<double> noise(0.0, 0.004);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double t = double(i) / 100.0;
        const double sinceTap = std::fmod(t, 1.0);
        const double tap = 0.8 * std::exp(-sinceTap / 0.012) * std::cos(2 * M_PI * 90.0 * sinceTap);
        samples[i] = {1000.0 + t, noise(random), noise(random), 1.0 + noise(random) + tap};
    }
    return samples;
}

void impactDetectorPerSample(benchmark::State &state)
{
    const auto trace = deskTrace();
    ImpactDetector detector;
    std::size_t index = 0;
    double offset = 0.0;
    for (auto _ : state) {
        MotionSample sample = trace[index];
        sample.uptimeSeconds += offset;
        benchmark::DoNotOptimize(detector.process(sample));
        if (++index == trace.size()) {
            index = 0;
            offset += 10.0;
        }
    }
    state.SetItemsProcessed(int64_t(state.iterations()));
}
BENCHMARK(impactDetectorPerSample);

}

BENCHMARK_MAIN();
