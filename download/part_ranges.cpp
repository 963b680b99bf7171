#include "download/part_ranges.h"

std::vector<PartRange> ComputePartRanges(int64_t length) {
  int64_t count = length / kPartSplitUnit;
  if (count < 1) count = 1;
  if (count > kMaxParts) count = kMaxParts;
  const int64_t partSize = length / count;
  std::vector<PartRange> ranges;
  int64_t offset = 0;
  for (int64_t i = 0; i < count; ++i) {
    int64_t size = partSize;
    if (i == count - 1) size += length % count;
    PartRange range;
    range.start = offset;
    offset += size;
    range.end = offset - 1;
    ranges.push_back(range);
  }
  return ranges;
}
