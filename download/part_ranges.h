// How the ranged engine splits a package into byte ranges: one range below
// 20 MiB, two above, the last one taking the remainder. 64-bit throughout,
// so packages of 2 GiB and more split correctly.
#pragma once
#include <cstdint>
#include <vector>

struct PartRange {
  int64_t start = 0;  // first byte
  int64_t end = 0;    // last byte, inclusive
  int64_t Size() const { return end - start + 1; }
};

constexpr int64_t kPartSplitUnit = 10485760;  // 10 MiB
constexpr int kMaxParts = 2;

// `length` must be positive.
std::vector<PartRange> ComputePartRanges(int64_t length);
