// random.h - the program's one pseudo-random generator.
//
// A Park-Miller minimal standard generator (multiplier 48271, modulus 2^31 - 1) stepped with
// Schrage's method, so that the same seed gives the same game bit for bit on every machine.
// Every draw advances one global state in the order the code asks; single-threaded use only.
//
//   SeedRandom(seed);                     // once, as the game's start-up does
//   double angle = RandomRange(0, 360);   // [0, 360), whichever order the bounds come in
#pragma once

#include <cstdint>

// Seeds with the low 31 bits; 0 and 2^31 - 1 would stall the generator and give 4660 instead.
void SeedRandom(std::int32_t seed);
std::int32_t RandomSeed();

double RandomDouble();  // [0, 1), two steps
float RandomFloat();    // [0, 1), one step
// From the smaller bound (inclusive) towards the larger (exclusive); RandomRange(x, x) is x.
// Finite bounds give a finite result even when their difference overflows.
double RandomRange(double a, double b);
// Both bounds included, in either order, for any two ints.
int RandomInt(int a, int b);
