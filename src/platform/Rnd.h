#pragma once
#include <cstdint>

// The classic 24-bit linear congruential generator behind Rnd and Randomize,
// so that a given seed always gives the same sequence.
float Rnd();            // next number, 0 <= r < 1
float Rnd(float number); // < 0: reseed from number, then next; 0: the last number again; > 0: next
void Randomize();        // seeds from the time of day
void Randomize(double number);

namespace RndState {
std::uint32_t Seed();
void SetSeed(std::uint32_t seed); // the 24-bit state; for tests
constexpr std::uint32_t InitialSeed = 0x50000;
// Makes Randomize() read the given timer value instead of the time of day,
// so a test knows the seed; a negative value goes back to the clock.
void SetFixedTimer(float seconds);
}
