#pragma once
// Runs a fuzz target (LLVMFuzzerTestOneInput) without a fuzzing engine, so
// that it can be part of the test suite and replay inputs found elsewhere:
//   PROGRAM FILE...                 replay inputs (e.g. crash files)
//   PROGRAM [-n COUNT] [-s SEED]    run seeded mutations of the seeds
//   PROGRAM --write-seeds DIR       store the seeds as a corpus
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform::fuzzing {

// xorshift64*: the same sequence on every machine.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed ? seed : 1) {}
  std::uint64_t Next() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return state_ * 0x2545F4914F6CDD1DULL;
  }
  std::size_t Below(std::size_t n) { return n == 0 ? 0 : std::size_t(Next() % n); }

 private:
  std::uint64_t state_;
};

struct Driver {
  // Well-formed inputs the mutations start from.
  std::function<std::vector<std::string>()> seeds;
  // Changes an input in place.
  std::function<void(std::string& input, Random& random)> mutate;
  // Mutated inputs run when no -n is given.
  long count = 10000;
  // Whether each input mutates the one before (back to the first seed one
  // time in eight) rather than a freshly picked seed.
  bool chained = false;
};

// Parses the command line and runs the target; the exit code for main.
int RunDriver(int argc, char** argv, const Driver& driver);

}  // namespace platform::fuzzing
