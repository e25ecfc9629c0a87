// Warehouse runs with arbitrary floats, day counts and demand draws.
#include "FuzzInput.h"

#include "kestrin/model/Warehouse.h"
#include "shell/core/Exception.h"

#include <cmath>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    kestrin::TWarehouseInput warehouse;
    for (float& order : warehouse.Order)
        order = input.take<float>();
    for (float& threshold : warehouse.Threshold)
        threshold = input.take<float>();
    warehouse.DayCount = input.take<std::int32_t>();
    std::int32_t lastDay = 0;
    // Draws repeat the rest of the input; without any, demand is zero.
    std::vector<std::int32_t> draws;
    while (!input.exhausted())
        draws.push_back(input.take<std::int32_t>());
    std::size_t next = 0;
    try {
        const double lost = kestrin::SimulateWarehouse(
            warehouse, [&](std::int32_t) { return draws.empty() ? 0 : draws[next++ % draws.size()]; },
            [&](std::int32_t day) {
                if (day != lastDay + 1)
                    __builtin_trap();
                lastDay = day;
            });
        if (std::isnan(lost) || lastDay > kestrin::MaxDays)
            __builtin_trap();
    } catch (const shell::Exception&) {
    }
    return 0;
}
