// The two process-wide random families of the run-time library: the standard one
// (Rand, LRand, SRand, RandomBelow) and the framework's normal source (Randomize,
// RandG). They are separate generators: seeding or drawing on one never moves the
// other. Both programs seed them by ClockSeed, and only by it.
#pragma once

#include <cstdint>
#include <optional>
#include <random>

namespace shell {

// The seeding policy of both programs: the wall clock in nanoseconds. A coarser
// clock lets two starts of a program, or two presses, share a seed and repeat
// each other's draws; within one process a reading that does not pass the last
// one is moved past it, so two seeds are never equal, from any threads.
std::uint64_t ClockSeed();
// The seed for a clock reading, given the last seed handed out: the reading
// itself when it passes the last one, else the last one plus one.
std::uint64_t SeedAfter(std::uint64_t reading, std::uint64_t last);

// The standard family's generator: a 64-bit LCG whose top bits are taken. Its
// draws inline, so a model that takes thousands per run can hold it directly.
class StandardSource {
public:
    void seed(std::uint64_t seed) { state_ = seed; }
    // Uniform over 0 ... 32767 inclusive (exactly 15 bits).
    std::int32_t Rand() { return static_cast<std::int32_t>(next() >> 49); }
    // Uniform over 0 ... 2^31 - 1.
    std::int32_t LRand() { return static_cast<std::int32_t>(next() >> LRandShift); }

    // The generator's step, for code that keeps states of its own.
    static constexpr std::uint64_t Multiplier = 6364136223846793005ULL;
    static constexpr std::uint64_t Increment = 1442695040888963407ULL;
    // LRand takes the top 31 bits of the state.
    static constexpr int LRandShift = 33;

private:
    std::uint64_t next() { return state_ = state_ * Multiplier + Increment; }

    std::uint64_t state_ = 1;
};

// The normal family's generator: a 64-bit Mersenne twister behind a standard
// normal distribution.
class NormalSource {
public:
    void seed(std::uint64_t seed)
    {
        engine_.seed(seed);
        standard_.reset();
    }
    // mean + stdDev * z with z standard normal, so stdDev 0 gives the mean and a
    // negative stdDev mirrors the spread.
    double RandG(double mean, double stdDev) { return mean + stdDev * standard_(engine_); }

private:
    std::mt19937_64 engine_;
    std::normal_distribution<double> standard_{0.0, 1.0};
};

// The process-wide standard source.
StandardSource& ProcessStandardSource();
std::int32_t Rand();
std::int32_t LRand();
void SRand(std::uint64_t seed);

// Seeds the generator behind RandG with ClockSeed.
void Randomize();
double RandG(double mean, double stdDev);

// The random operations a draw of the queueing model uses, so that tests can
// script them.
class RandomSources {
public:
    virtual ~RandomSources() = default;
    virtual std::int32_t Rand() = 0;   // 0 ... 32767
    virtual std::int32_t LRand() = 0;  // 0 ... 2^31 - 1
    virtual double RandG(double mean, double stdDev) = 0;
};

// The process-wide families behind that interface.
RandomSources& ProcessRandomSources();

// Both families of one run of a series, its own and seeded for it alone; the
// process-wide ones are never touched. Offers what RandomSources does, without
// the virtual calls, to code that takes its sources as a template parameter.
class RunSources {
public:
    RunSources(std::uint64_t standardSeed, std::uint64_t normalSeed)
        : normalSeed_(normalSeed)
    {
        standard_.seed(standardSeed);
    }
    std::int32_t Rand() { return standard_.Rand(); }
    std::int32_t LRand() { return standard_.LRand(); }
    // The normal family is seeded at its first draw: most runs draw none, and
    // seeding its 2.5 KiB of state costs more than a hundred standard draws.
    double RandG(double mean, double stdDev)
    {
        if (!normal_) {
            normal_.emplace();
            normal_->seed(normalSeed_);
        }
        return normal_->RandG(mean, stdDev);
    }

private:
    StandardSource standard_;
    std::uint64_t normalSeed_;
    std::optional<NormalSource> normal_;
};

// 0 ... |n| - 1 from one LRand of `source` (the remainder takes the dividend's
// sign, and LRand is never negative); 0 without a draw for n = 0.
template <typename Source>
std::int32_t RandomBelow(std::int32_t n, Source& source)
{
    if (n == 0)
        return 0;
    return source.LRand() % n;
}

// RandomBelow for a bound fixed in advance, as a model draws thousands of times
// with one setting: the remainder comes from a multiplication by the bound's
// inverse (Lemire's fastmod, exact for every 32-bit draw and bound) instead of
// a division, with the very same results and draws.
class RandomBelowBound {
public:
    explicit RandomBelowBound(std::int32_t n)
        : divisor_(n < 0 ? 0u - static_cast<std::uint32_t>(n) : static_cast<std::uint32_t>(n))
        , inverse_(divisor_ == 0 ? 0 : ~std::uint64_t{0} / divisor_ + 1)
    {
    }

    template <typename Source>
    std::int32_t operator()(Source& source) const
    {
        if (divisor_ == 0)
            return 0;
        __extension__ using Wide = unsigned __int128;
        const std::uint64_t fraction = inverse_ * static_cast<std::uint32_t>(source.LRand());
        return static_cast<std::int32_t>((static_cast<Wide>(fraction) * divisor_) >> 64);
    }

private:
    std::uint32_t divisor_;  // |n|: LRand is never negative, so the remainder is too
    std::uint64_t inverse_;
};

}  // namespace shell
