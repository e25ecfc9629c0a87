// The warehouse's look-up table and its errors, out of line of the days.
#include "Warehouse.h"

#include "shell/core/Exception.h"

namespace kestrin::detail {

const std::array<float, DrawBound>& DemandUnits()
{
    static const std::array<float, DrawBound> units = [] {
        std::array<float, DrawBound> table;
        for (int k = 0; k < DrawBound; ++k)
            table[k] = static_cast<float>(k) / UnitsPerPlace;
        return table;
    }();
    return units;
}

void QuantityOutOfRange()
{
    throw shell::Exception("Количество товара вне допустимого диапазона");
}

void ShortfallOutOfRange()
{
    throw shell::Exception("Недостача вне допустимого диапазона");
}

void NoDemand()
{
    throw shell::Exception("Суммарный спрос за все дни равен 0, и доля неудовлетворённого спроса не определена");
}

}  // namespace kestrin::detail
