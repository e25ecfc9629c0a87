// The warehouse of kestrin: ten goods, a random demand each day, and the share of
// the total demand that could not be met. Every quantity is a 32-bit float and
// every step rounds to float, as the warehouse's bookkeeping always has.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

namespace kestrin {

inline constexpr int GoodsCount = 10;
inline constexpr std::int32_t MaxDays = 250;

struct TWarehouseInput {
    std::array<float, GoodsCount> Order;      // delivered when a good is reordered or ran short
    std::array<float, GoodsCount> Threshold;  // a remaining stock below it is reordered
    std::int32_t DayCount;
};

namespace detail {

inline constexpr int DrawsPerGood = 10;
inline constexpr std::int32_t DrawBound = 1000;
// A draw k is a demand of k units, and a unit is a thousandth of a place.
inline constexpr float UnitsPerPlace = 1000.0f;

// k units in places as the nearest float, for every k below DrawBound: a look-up
// instead of a division for each draw of a run.
const std::array<float, DrawBound>& DemandUnits();

[[noreturn]] void QuantityOutOfRange();
[[noreturn]] void ShortfallOutOfRange();
[[noreturn]] void NoDemand();

inline float finite(float quantity)
{
    if (!std::isfinite(quantity)) [[unlikely]]
        QuantityOutOfRange();
    return quantity;
}

// The whole part of a deficit, as a positive count of places. The conversion
// to an integer truncates toward zero as std::trunc does, without a call.
inline float lostPlaces(float remainder)
{
    if (remainder < -2147483648.0f) [[unlikely]]
        ShortfallOutOfRange();
    return static_cast<float>(-static_cast<std::int64_t>(remainder));
}

}  // namespace detail

// What happened to one good on one day: it was reordered below its threshold,
// it ran short (and was delivered its order, the whole part of its deficit
// lost), or neither.
enum class DayAction { None, Reorder, Shortage };

// One good on one day as the run computes it: the stock at the start of the
// day, the day's demand, stock − demand, what happened, the places lost, and
// the stock the next day starts with.
struct GoodDay {
    std::int32_t day;  // 1, 2, ...
    int good;          // 1 to GoodsCount
    float stock;
    float demand;
    float remainder;
    DayAction action;
    float lost;
    float stockNext;
};

// An observer that watches nothing, so that a run that observes nothing costs
// what it always has.
struct IgnoreDays {
    void operator()(std::int32_t) const { }
    void operator()(const GoodDay&) const { }
};

// Simulates min(DayCount, 250) days (none below 1), calling onDay(1, 2, ...) at the
// start of each and onGoodDay with each good's day once the day is done, goods
// in order; every stock starts at its Order. Each draw of demand is
// randomBelow(DrawBound) units: randomBelow is called directly, so a concrete
// source inlines into the days. Returns lost / total demand. Throws
// shell::Exception when the total demand is 0 (no days, or no demand drawn),
// when a quantity leaves the 32-bit float range, or when a deficit's whole part
// leaves the 32-bit integer range.
template <typename RandomBelow, typename OnDay, typename OnGoodDay = const IgnoreDays&>
double SimulateWarehouse(const TWarehouseInput& input, RandomBelow&& randomBelow, OnDay&& onDay,
                         OnGoodDay&& onGoodDay = IgnoreDays{})
{
    using detail::finite;
    const std::array<float, detail::DrawBound>& units = detail::DemandUnits();
    std::array<float, GoodsCount> stock;
    std::array<float, GoodsCount> shortfall{};
    std::array<float, GoodsCount> demand{};
    for (int good = 0; good < GoodsCount; ++good)
        stock[good] = finite(input.Order[good]);
    float totalDemand = 0.0f;

    const std::int32_t days = input.DayCount < MaxDays ? input.DayCount : MaxDays;
    for (std::int32_t day = 1; day <= days; ++day) {
        onDay(day);
        for (float& d : demand) {
            d = 0.0f;
            for (int draw = 0; draw < detail::DrawsPerGood; ++draw) {
                const std::int32_t k = randomBelow(detail::DrawBound);
                d += k >= 0 && k < detail::DrawBound ? units[k] : static_cast<float>(k) / detail::UnitsPerPlace;
            }
        }
        float daySum = 0.0f;
        for (int good = 0; good < GoodsCount; ++good) {
            daySum += demand[good];
            const float before = stock[good];
            const float remainder = finite(before - demand[good]);
            DayAction action = DayAction::None;
            float lost = 0.0f;
            if (remainder < 0.0f) {
                action = DayAction::Shortage;
                lost = detail::lostPlaces(remainder);
                stock[good] = input.Order[good];
                shortfall[good] = finite(shortfall[good] + lost);
            } else if (remainder < input.Threshold[good]) {
                action = DayAction::Reorder;
                stock[good] = finite(remainder + input.Order[good]);
            } else {
                stock[good] = remainder;
            }
            onGoodDay(GoodDay{day, good + 1, before, demand[good], remainder, action, lost, stock[good]});
        }
        totalDemand = finite(totalDemand + daySum);
    }

    float totalShortfall = 0.0f;
    for (float lost : shortfall)
        totalShortfall = finite(totalShortfall + lost);
    // Without any demand there is no share to report, and 0 would read as "all met".
    if (totalDemand == 0.0f)
        detail::NoDemand();
    return static_cast<double>(totalShortfall) / static_cast<double>(totalDemand);
}

}  // namespace kestrin
