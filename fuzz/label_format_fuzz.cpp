// Arbitrary doubles, decimal counts and label widths through the chart's number
// conversion and its two label formatters, against the exact rational model of the chart
// tests, which shares no arithmetic with them.
//
// Input: bytes 0 to 7 are the value's bits, 8 to 11 the decimals for FixedDecimalDigits,
// 12 to 15 the label width. Widths far from the chart's 4 and 10 are allowed on purpose:
// the formatters clamp their budget, and must still agree with the model.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "chart/fixed_decimal_digits.h"
#include "chart/label_format.h"
#include "tests/chart/exact_decimal_reference.h"

namespace {

template <typename T>
T Take(const std::uint8_t* data, std::size_t size, std::size_t at) {
  T value{};
  if (at < size) {
    std::memcpy(&value, data + at, std::min(sizeof(T), size - at));
  }
  return value;
}

void CheckDigits(double value, int decimals) {
  const pellum::DecimalDigits got = pellum::FixedDecimalDigits(value, decimals);
  const pellum::reference::Digits want = pellum::reference::FixedDigits(value, decimals);
  if (got.digits != want.digits || got.decimalPosition != want.decimalPosition ||
      got.sign != want.sign || got.digits.size() > 347) {
    std::abort();
  }
}

void CheckLabels(double value, int width) {
  std::ostringstream trace;
  std::string wantTrace;
  if (pellum::FormatFixed(value, width, trace) !=
          pellum::reference::FixedText(value, width, &wantTrace) ||
      trace.str() != wantTrace) {
    std::abort();
  }
  trace.str("");
  if (pellum::FormatScientific(value, width, trace) !=
          pellum::reference::ScientificText(value, width, &wantTrace) ||
      trace.str() != wantTrace) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const double value = std::bit_cast<double>(Take<std::uint64_t>(data, size, 0));
  const auto decimals = Take<std::int32_t>(data, size, 8);
  const auto width = Take<std::int32_t>(data, size, 12);
  CheckDigits(value, decimals);
  // The chart's own widths every time, then the fuzzer's.
  CheckLabels(value, 4);
  CheckLabels(value, 10);
  CheckLabels(value, width);
  return 0;
}
