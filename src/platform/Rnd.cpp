#include "Rnd.h"

#include <QTime>
#include <cstring>

namespace {
std::uint32_t g_seed = RndState::InitialSeed;
float g_fixedTimer = -1.0f;

float current() { return static_cast<float>(g_seed) / 16777216.0f; }

void step() { g_seed = (g_seed * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu; }
} // namespace

float Rnd()
{
    step();
    return current();
}

float Rnd(float number)
{
    if (number == 0.0f)
        return current();
    if (number < 0.0f) {
        std::uint32_t bits;
        std::memcpy(&bits, &number, sizeof bits);
        g_seed = (bits + (bits >> 24)) & 0xFFFFFFu;
    }
    step();
    return current();
}

void Randomize(double number)
{
    std::uint64_t bits;
    std::memcpy(&bits, &number, sizeof bits);
    const auto high = static_cast<std::uint32_t>(bits >> 32);
    const std::uint32_t mixed = ((high & 0xFFFFu) ^ (high >> 16)) << 8;
    g_seed = (g_seed & 0xFF0000FFu) | (mixed & 0x00FFFF00u);
}

void Randomize()
{
    // The seconds since midnight, as a single-precision timer value.
    const float timer = g_fixedTimer >= 0.0f
                            ? g_fixedTimer
                            : static_cast<float>(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f;
    Randomize(static_cast<double>(timer));
}

std::uint32_t RndState::Seed() { return g_seed; }
void RndState::SetSeed(std::uint32_t seed) { g_seed = seed & 0xFFFFFFu; }
void RndState::SetFixedTimer(float seconds) { g_fixedTimer = seconds; }
