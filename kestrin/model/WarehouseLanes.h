// Eight warehouse runs of one input at once, for series, on processors with
// 512-bit vector units (AVX-512): the eight runs' draws go through them
// together. Each run's draws and arithmetic are exactly SimulateWarehouse's,
// so each L is the same to the last bit.
#pragma once

#include "Goods.h"
#include "Warehouse.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace kestrin {

inline constexpr std::size_t Lanes = 8;

// Whether this processor has the vector units SimulateWarehouseLanes needs.
bool HasVectorLanes();

// L of the run whose standard source is seeded with seeds[i], into l[i], with
// randomBelow = LRand() % n as a series draws; observers[i] watches that run's
// days as SimulateWarehouse's observers do. Returns false when any of the runs
// met what SimulateWarehouse throws for, leaving `l` and the observers
// unspecified: the caller makes those runs one at a time to learn which failed
// and why. Only where HasVectorLanes(). Made for the observers IgnoreDays,
// GoodsMeter and CostMeter.
template <typename Observer>
bool SimulateWarehouseLanes(const TWarehouseInput& input, const std::array<std::uint64_t, Lanes>& seeds,
                            std::array<double, Lanes>& l, std::array<Observer, Lanes>& observers);

}  // namespace kestrin
