// The warehouse of kestrin: ten goods, a random demand each day, and the share of
// the total demand that could not be met.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

namespace kestrin {

inline constexpr int GoodsCount = 10;
inline constexpr std::int32_t MaxDays = 250;

struct TWarehouseInput {
    std::array<float, 10> Order;      // delivered when a good is reordered or ran short
    std::array<float, 10> Threshold;  // a remaining stock below it is reordered
    std::int32_t DayCount;
};

// Simulates min(DayCount, 250) days (none below 1), calling onDay(1, 2, ...) at the
// start of each; every stock starts at its Order. Returns lost / total demand.
// Throws shell::Exception when the total demand is 0 (no days, or no demand
// drawn), when a quantity leaves the 32-bit float range, or when a deficit's
// whole part leaves the 32-bit integer range.
double SimulateWarehouse(const TWarehouseInput& input, const std::function<std::int32_t(std::int32_t)>& randomBelow,
                         const std::function<void(std::int32_t)>& onDay);

} // namespace kestrin
