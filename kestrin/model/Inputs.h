// How kestrin reads its numbers from text, in the window and on the command line
// alike. Each throws shell::Exception quoting the text.
#pragma once

#include <cstdint>
#include <string_view>

namespace kestrin {

// A threshold: any number in the 32-bit float range.
float ReadThreshold(std::string_view text);
// An order: as a threshold, but not below 0, since a negative delivery would
// take goods away.
float ReadOrder(std::string_view text);
// A cost: a number of at least 0, since a negative cost would reward a loss.
double ReadCost(std::string_view text);
// A day count: a whole number of at least 1, since no day leaves nothing to measure L by.
std::int32_t ReadDayCount(std::string_view text);

}  // namespace kestrin
