// A run's 25,000 draws are one chain of a 64-bit generator, each step waiting on
// the one before, and the remainder of each draw by 1000 costs two multiplies
// more; measured here, interleaving runs on scalar registers gained nothing, as
// the multiplier is already busy. A 512-bit register holds the states of eight
// runs, and one vector multiply steps them all: the draws of eight runs take
// about the time of two, which is what makes a series of L fast.
#include "WarehouseLanes.h"

#include "shell/core/Random.h"

// GCC 12's AVX-512 intrinsics pass an operand that is undefined on purpose
// (_mm512_undefined_epi32), which its uninitialised-use warning takes for a
// fault in every caller.
#pragma GCC diagnostic push
#if !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>

#include <cmath>

// Everything here needs the vector units; HasVectorLanes, last, does not.
// Clang (the fuzzers' compiler) takes the target by an attribute of its own.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx512f,avx512dq,avx512vl"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx512f,avx512dq,avx512vl")
#endif

namespace kestrin {
namespace {

// The demand of one good on one day in every lane: ten draws each. The
// demand unit of a draw k is k / 1000 as the nearest float, which the vector
// division gives exactly as the run's table holds it.
__m256 drawDemand(__m512i& state)
{
    const __m512i multiplier = _mm512_set1_epi64(static_cast<long long>(shell::StandardSource::Multiplier));
    const __m512i increment = _mm512_set1_epi64(static_cast<long long>(shell::StandardSource::Increment));
    // x / 1000 for every x below 2^31 is (x · 0x10624DD3) >> 38.
    const __m512i reciprocal = _mm512_set1_epi64(0x10624DD3);
    const __m512i bound = _mm512_set1_epi64(detail::DrawBound);
    const __m256 unitsPerPlace = _mm256_set1_ps(detail::UnitsPerPlace);
    __m256 demand = _mm256_setzero_ps();
    for (int draw = 0; draw < detail::DrawsPerGood; ++draw) {
        state = _mm512_add_epi64(_mm512_mullo_epi64(state, multiplier), increment);
        const __m512i value = _mm512_srli_epi64(state, shell::StandardSource::LRandShift);
        const __m512i quotient = _mm512_srli_epi64(_mm512_mul_epu32(value, reciprocal), 38);
        const __m512i k = _mm512_sub_epi64(value, _mm512_mul_epu32(quotient, bound));
        demand = _mm256_add_ps(demand, _mm256_div_ps(_mm512_cvtepi64_ps(k), unitsPerPlace));
    }
    return demand;
}

}  // namespace

// The observers' calls inline into the loop over the lanes, so that watching
// nothing costs nothing.
template <typename Observer>
bool SimulateWarehouseLanes(const TWarehouseInput& input, const std::array<std::uint64_t, Lanes>& seeds,
                            std::array<double, Lanes>& l, std::array<Observer, Lanes>& observers)
{
    __m512i state = _mm512_loadu_si512(seeds.data());
    bool good = true;
    std::array<std::array<float, Lanes>, GoodsCount> stock;
    std::array<std::array<float, Lanes>, GoodsCount> shortfall{};
    alignas(32) std::array<std::array<float, Lanes>, GoodsCount> demand;
    std::array<float, Lanes> totalDemand{};
    for (int g = 0; g < GoodsCount; ++g) {
        good = good && std::isfinite(input.Order[g]);
        stock[g].fill(input.Order[g]);
    }
    const std::int32_t days = input.DayCount < MaxDays ? input.DayCount : MaxDays;
    for (std::int32_t day = 1; day <= days; ++day) {
        for (int g = 0; g < GoodsCount; ++g)
            _mm256_store_ps(demand[g].data(), drawDemand(state));
        // The goods' updates are SimulateWarehouse's, lane by lane, with its
        // errors noted instead of thrown.
        for (std::size_t lane = 0; lane < Lanes; ++lane) {
            Observer& observer = observers[lane];
            observer(day);
            float daySum = 0.0f;
            for (int g = 0; g < GoodsCount; ++g) {
                daySum += demand[g][lane];
                float& s = stock[g][lane];
                const float before = s;
                const float remainder = s - demand[g][lane];
                good = good && std::isfinite(remainder);
                DayAction action = DayAction::None;
                float lost = 0.0f;
                if (remainder < 0.0f) {
                    const bool countable = remainder >= -2147483648.0f;
                    good = good && countable;
                    action = DayAction::Shortage;
                    lost = detail::lostPlaces(countable ? remainder : 0.0f);
                    s = input.Order[g];
                    shortfall[g][lane] += lost;
                    good = good && std::isfinite(shortfall[g][lane]);
                } else if (remainder < input.Threshold[g]) {
                    action = DayAction::Reorder;
                    s = remainder + input.Order[g];
                    good = good && std::isfinite(s);
                } else {
                    s = remainder;
                }
                observer(GoodDay{day, g + 1, before, demand[g][lane], remainder, action, lost, s});
            }
            totalDemand[lane] += daySum;
            good = good && std::isfinite(totalDemand[lane]);
        }
    }
    for (std::size_t lane = 0; lane < Lanes; ++lane) {
        float totalShortfall = 0.0f;
        for (int g = 0; g < GoodsCount; ++g)
            totalShortfall += shortfall[g][lane];
        good = good && std::isfinite(totalShortfall) && totalDemand[lane] != 0.0f;
        l[lane] = static_cast<double>(totalShortfall) / static_cast<double>(totalDemand[lane]);
    }
    return good;
}

template bool SimulateWarehouseLanes(const TWarehouseInput&, const std::array<std::uint64_t, Lanes>&,
                                     std::array<double, Lanes>&, std::array<IgnoreDays, Lanes>&);
template bool SimulateWarehouseLanes(const TWarehouseInput&, const std::array<std::uint64_t, Lanes>&,
                                     std::array<double, Lanes>&, std::array<GoodsMeter, Lanes>&);
template bool SimulateWarehouseLanes(const TWarehouseInput&, const std::array<std::uint64_t, Lanes>&,
                                     std::array<double, Lanes>&, std::array<CostMeter, Lanes>&);

}  // namespace kestrin

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

namespace kestrin {

bool HasVectorLanes()
{
    static const bool has =
        __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512vl");
    return has;
}

}  // namespace kestrin

#pragma GCC diagnostic pop
