// The standard family is the inline LCG of the header; the C library's rand() is
// avoided because its range is not guaranteed to be 15 bits. The normal family
// runs on its own mt19937_64, so neither family moves the other.
#include "Random.h"

#include <atomic>
#include <chrono>

namespace shell {
namespace {

NormalSource& normalSource()
{
    static NormalSource source;
    return source;
}

class ProcessSources final : public RandomSources {
public:
    std::int32_t Rand() override { return shell::Rand(); }
    std::int32_t LRand() override { return shell::LRand(); }
    double RandG(double mean, double stdDev) override { return shell::RandG(mean, stdDev); }
};

}  // namespace

std::uint64_t SeedAfter(std::uint64_t reading, std::uint64_t last)
{
    return reading > last ? reading : last + 1;
}

std::uint64_t ClockSeed()
{
    // Series windows and the main windows take seeds from different threads; the
    // exchange hands each caller a seed past every one handed out before.
    static std::atomic<std::uint64_t> last{0};
    const auto now =
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch());
    const auto reading = static_cast<std::uint64_t>(now.count());
    std::uint64_t previous = last.load(std::memory_order_relaxed);
    std::uint64_t seed = SeedAfter(reading, previous);
    while (!last.compare_exchange_weak(previous, seed, std::memory_order_relaxed))
        seed = SeedAfter(reading, previous);
    return seed;
}

StandardSource& ProcessStandardSource()
{
    static StandardSource source;
    return source;
}

std::int32_t Rand()
{
    return ProcessStandardSource().Rand();
}

std::int32_t LRand()
{
    return ProcessStandardSource().LRand();
}

void SRand(std::uint64_t seed)
{
    ProcessStandardSource().seed(seed);
}

void Randomize()
{
    normalSource().seed(ClockSeed());
}

double RandG(double mean, double stdDev)
{
    return normalSource().RandG(mean, stdDev);
}

RandomSources& ProcessRandomSources()
{
    static ProcessSources sources;
    return sources;
}

}  // namespace shell
