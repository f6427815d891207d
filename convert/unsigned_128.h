#pragma once

#include <compare>
#include <cstdint>

namespace pellum {

// An unsigned 128-bit integer as two 64-bit halves, with the few operations that the exact
// scaling of a double to fixed decimals needs. Plain C++, so that every compiler gives the
// same bits: not all of them have a 128-bit integer type.
struct Unsigned128 {
  std::uint64_t high = 0;  // declared first: the defaulted comparison orders by value
  std::uint64_t low = 0;

  friend constexpr auto operator<=>(const Unsigned128&, const Unsigned128&) = default;
};

// a * b exactly, from four 32 by 32 bit products.
constexpr Unsigned128 MultiplyWide(std::uint64_t a, std::uint64_t b) {
  constexpr std::uint64_t kLow32 = 0xFFFFFFFFu;
  const std::uint64_t a0 = a & kLow32, a1 = a >> 32;
  const std::uint64_t b0 = b & kLow32, b1 = b >> 32;
  const std::uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
  // At most 3 * (2^32 - 1): no carry is lost.
  const std::uint64_t middle = (p00 >> 32) + (p01 & kLow32) + (p10 & kLow32);
  return {p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32), (middle << 32) | (p00 & kLow32)};
}

// value * 2^count, for count from 0 to 127; bits shifted past the top are lost.
constexpr Unsigned128 ShiftLeft(Unsigned128 value, int count) {
  if (count == 0)
    return value;
  if (count >= 64)
    return {value.low << (count - 64), 0};
  return {(value.high << count) | (value.low >> (64 - count)), value.low << count};
}

// value / 2^count rounded down, for count from 0 to 127.
constexpr Unsigned128 ShiftRight(Unsigned128 value, int count) {
  if (count == 0)
    return value;
  if (count >= 64)
    return {0, value.high >> (count - 64)};
  return {value.high >> count, (value.low >> count) | (value.high << (64 - count))};
}

// value mod 2^count, for count from 0 to 127.
constexpr Unsigned128 LowBits(Unsigned128 value, int count) {
  if (count >= 64)
    return {value.high & ((std::uint64_t{1} << (count - 64)) - 1), value.low};
  return {0, value.low & ((std::uint64_t{1} << count) - 1)};
}

// 2^count, for count from 0 to 127.
constexpr Unsigned128 PowerOfTwo(int count) {
  return ShiftLeft({0, 1}, count);
}

constexpr Unsigned128 Increment(Unsigned128 value) {
  return {value.low == UINT64_MAX ? value.high + 1 : value.high, value.low + 1};
}

}  // namespace pellum
