#include "utilities/PortableRandom.h"

#include <cmath>
#include <numbers>

namespace utilities {

double PortableRandom::uniform() {
  // 32 random bits centred in their slot: the extremes stay strictly inside (0, 1).
  return (static_cast<double>(engine_()) + 0.5) / 4294967296.0;
}

double PortableRandom::normal() {
  if (hasSpare_) {
    hasSpare_ = false;
    return spare_;
  }
  // Box-Muller: two uniforms give two independent normals; the second is kept for next time.
  const double radius = std::sqrt(-2.0 * std::log(uniform()));
  const double angle = 2.0 * std::numbers::pi * uniform();
  spare_ = radius * std::sin(angle);
  hasSpare_ = true;
  return radius * std::cos(angle);
}

int PortableRandom::between(int low, int high) {
  const double span = static_cast<double>(high) - low + 1.0;
  const int offset = static_cast<int>(uniform() * span);
  return low + (offset < span ? offset : static_cast<int>(span) - 1);
}

std::uint32_t PortableRandom::seedFor(std::uint32_t base, std::string_view key) {
  std::uint32_t hash = 2166136261u ^ base;
  for (unsigned char c : key) {
    hash ^= c;
    hash *= 16777619u;
  }
  return hash;
}

}  // namespace utilities
