// What a press saw inside its run: every good's days and measures, observed by
// the very run that computed L, and kept for the windows that show them.
#pragma once

#include "kestrin/model/Goods.h"

#include <cstddef>
#include <cstdint>

namespace kestrin {

// Both the recorder and the meter watch each day, as SimulateWarehouse's
// observers.
struct PressDays {
    TWarehouseInput input;
    DayRecorder recorder;
    GoodsMeter meter;

    void operator()(std::int32_t) const { }
    void operator()(const GoodDay& day)
    {
        recorder(day);
        meter(day);
    }

    int dayCount() const { return static_cast<int>(recorder.days.size() / GoodsCount); }
    // Day 1 to dayCount() of good 1 to GoodsCount: the recorder keeps a day's
    // goods together, in order.
    const GoodDay& at(int day, int good) const
    {
        return recorder.days[static_cast<std::size_t>((day - 1) * GoodsCount + good - 1)];
    }
};

}  // namespace kestrin
