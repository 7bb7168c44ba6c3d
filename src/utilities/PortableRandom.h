// A seeded source of random numbers whose sequence depends only on the seed. The standard
// library's distributions are free to differ between implementations, and the generated demo
// and benchmark data must come out the same wherever they are built, so only the raw
// Mersenne Twister output (fixed by the language) is used and shaped here.
#pragma once

#include <cstdint>
#include <random>
#include <string_view>

namespace utilities {

class PortableRandom {
 public:
  explicit PortableRandom(std::uint32_t seed) : engine_(seed) {}

  // Uniform in the open interval (0, 1): never exactly 0 or 1, so it is safe under a logarithm.
  double uniform();
  // Standard normal (mean 0, standard deviation 1).
  double normal();
  // Whole number in [low, high]; low <= high.
  int between(int low, int high);

  // A seed derived from `base` and a text (FNV-1a), the same on every platform: gives each
  // product its own stream, independent of the order in which products are generated.
  static std::uint32_t seedFor(std::uint32_t base, std::string_view key);

 private:
  std::mt19937 engine_;
  double spare_ = 0.0;
  bool hasSpare_ = false;
};

}  // namespace utilities
