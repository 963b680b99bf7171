// The frame-stepping state shared by the animated sequence controls: a
// printf-style frame-name pattern with one integer conversion, a frame
// count, an interval, loop and back-and-forth flags.
// Limits: a pattern with any conversion other than one integer (d, i, u, x,
// X, o with flags, width and precision) or "%%" yields no frame name, so a
// hostile skin cannot feed arbitrary conversions to the formatter.
#pragma once
#include <string>

namespace SkinUI {

constexpr unsigned kSequenceTimerId = 2100;

struct FrameSequence {
  std::wstring pattern;
  int count = 0;
  int intervalMs = 30;
  int index = 0;
  bool autoStart = false;
  bool loop = true;
  bool forward = true;
  bool backAndForth = false;

  enum class Step { kNothing, kShow, kStop };
  // One timer tick: kShow with `frame` set, kStop when a one-way, non-looping
  // run has ended (the caller kills the timer), kNothing for an empty pattern.
  Step Advance(std::wstring& frame);
};

// The frame name for `index`, at most 259 characters; empty when the
// pattern is not a single-integer format.
std::wstring FormatFrameName(const std::wstring& pattern, int index);

}  // namespace SkinUI
