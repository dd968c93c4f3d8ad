#pragma once
// A console reporter that also prints, after the run, the ratio of each benchmark to
// the one it is measured against: "NAME/6000x4000" against "NAME/400x300", or any
// benchmark against the baseline named by ratioTo().
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace vermeo::bench {

struct Ratio {
    std::string measured, baseline, target; // target: "under 2x"...
};

inline std::vector<Ratio> &ratios()
{
    static std::vector<Ratio> list;
    return list;
}

inline void ratioTo(const std::string &measured, const std::string &baseline, const std::string &target)
{
    ratios().push_back({measured, baseline, target});
}

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &r : runs)
            if (r.run_type == Run::RT_Iteration && r.error_occurred == false)
                m_ns[r.benchmark_name()] = r.GetAdjustedRealTime() * multiplier(r.time_unit);
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\n%-48s %12s %12s %8s  %s\n", "ratio", "measured", "baseline", "x", "aim");
        for (const Ratio &k : ratios()) {
            const auto a = m_ns.find(k.measured), b = m_ns.find(k.baseline);
            if (a == m_ns.end() || b == m_ns.end())
                continue;
            std::printf("%-48s %10.3fms %10.3fms %8.2f  %s\n", k.measured.c_str(), a->second / 1e6, b->second / 1e6,
                        a->second / b->second, k.target.c_str());
        }
    }

private:
    static double multiplier(benchmark::TimeUnit u)
    {
        switch (u) {
        case benchmark::kNanosecond: return 1;
        case benchmark::kMicrosecond: return 1e3;
        case benchmark::kMillisecond: return 1e6;
        default: return 1e9;
        }
    }
    std::map<std::string, double> m_ns;
};

// main() of a benchmark that reports ratios.
inline int runWithRatios(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

} // namespace vermeo::bench
