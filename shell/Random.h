// The two process-wide random families of the run-time library: the standard one
// (Rand, LRand, SRand) and the framework's normal source (Randomize, RandG).
// They are separate generators: seeding or drawing on one never moves the other.
#pragma once

#include <cstdint>

namespace shell {

// Uniform over 0 ... 32767 inclusive (exactly 15 bits).
std::int32_t Rand();
// Uniform over 0 ... 2^31 - 1.
std::int32_t LRand();
// Seeds the generator behind Rand and LRand.
void SRand(std::uint32_t seed);

// Seeds the generator behind RandG from the clock.
void Randomize();
// mean + stdDev * z with z standard normal, so stdDev 0 gives the mean and a
// negative stdDev mirrors the spread.
double RandG(double mean, double stdDev);

} // namespace shell
