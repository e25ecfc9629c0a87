// Every quantity is a 32-bit float and every step rounds to float, as the
// warehouse's bookkeeping always has.
#include "Warehouse.h"

#include "shell/Exception.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace kestrin {
namespace {

constexpr int DrawsPerGood = 10;
constexpr std::int32_t DrawBound = 1000;

float finite(float quantity)
{
    if (!std::isfinite(quantity))
        throw shell::Exception("Количество товара вне допустимого диапазона");
    return quantity;
}

// The whole part of a deficit, as a positive count of places.
float lostPlaces(float remainder)
{
    const float whole = std::trunc(remainder);
    if (whole < static_cast<float>(std::numeric_limits<std::int32_t>::min()))
        throw shell::Exception("Недостача вне допустимого диапазона");
    return static_cast<float>(-static_cast<std::int64_t>(whole));
}

} // namespace

double SimulateWarehouse(const TWarehouseInput& input, const std::function<std::int32_t(std::int32_t)>& randomBelow,
                         const std::function<void(std::int32_t)>& onDay)
{
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
            for (int draw = 0; draw < DrawsPerGood; ++draw)
                d += static_cast<float>(randomBelow(DrawBound)) / 1000.0f;
        }
        float daySum = 0.0f;
        for (int good = 0; good < GoodsCount; ++good) {
            daySum += demand[good];
            const float remainder = finite(stock[good] - demand[good]);
            if (remainder < 0.0f) {
                stock[good] = input.Order[good];
                shortfall[good] = finite(shortfall[good] + lostPlaces(remainder));
            } else if (remainder < input.Threshold[good]) {
                stock[good] = finite(remainder + input.Order[good]);
            } else {
                stock[good] = remainder;
            }
        }
        totalDemand = finite(totalDemand + daySum);
    }

    float totalShortfall = 0.0f;
    for (float lost : shortfall)
        totalShortfall = finite(totalShortfall + lost);
    // Without any demand there is no share to report, and 0 would read as "all met".
    if (totalDemand == 0.0f)
        throw shell::Exception("Суммарный спрос за все дни равен 0, и доля неудовлетворённого спроса не определена");
    return static_cast<double>(totalShortfall) / static_cast<double>(totalDemand);
}

} // namespace kestrin
