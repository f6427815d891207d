// Every label text and trace line against the exact rational model, over doubles of every
// magnitude and over the decimal values users type, whose 17-digit forms and cuts are
// where ties and carries happen.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "chart/fixed_decimal_digits.h"
#include "chart/label_format.h"
#include "tests/chart/exact_decimal_reference.h"

namespace pellum {
namespace {

constexpr int kSamplesPerKind = 25000;

std::vector<double> SampleDoubles() {
  std::mt19937_64 random(20240611);
  std::vector<double> values;
  values.reserve(4 * kSamplesPerKind);
  // Any bit pattern: all exponents alike, subnormals, both signs, the odd NaN and infinity.
  for (int i = 0; i < kSamplesPerKind; ++i) {
    values.push_back(std::bit_cast<double>(random()));
  }
  // Short decimals such as entries and coefficients: exact ties at the label's cut.
  std::uniform_int_distribution<int> digits(0, 999999);
  std::uniform_int_distribution<int> scale(0, 12);
  for (int i = 0; i < kSamplesPerKind; ++i) {
    const double sign = (i % 3 == 0) ? -1.0 : 1.0;
    values.push_back(sign * digits(random) / std::pow(10.0, scale(random)));
  }
  // Eighteen-digit decimals ending in 5: the 18th digit decides the first cut.
  std::uniform_int_distribution<long long> mantissa(100000000000000000LL, 999999999999999999LL);
  std::uniform_int_distribution<int> exponent(-330, 310);
  for (int i = 0; i < kSamplesPerKind; ++i) {
    const std::string text =
        std::to_string(mantissa(random) / 10 * 10 + 5) + "e" + std::to_string(exponent(random));
    values.push_back(std::strtod(text.c_str(), nullptr));
  }
  // Runs of nines: carries through every digit into a new leading one.
  std::uniform_int_distribution<int> nines(1, 19);
  std::uniform_int_distribution<int> small(-30, 30);
  for (int i = 0; i < kSamplesPerKind; ++i) {
    const std::string text = "0." + std::string(static_cast<std::size_t>(nines(random)), '9') +
                             std::to_string(i % 10) + "e" + std::to_string(small(random));
    values.push_back(std::strtod(text.c_str(), nullptr));
  }
  return values;
}

std::string Describe(double value) {
  std::ostringstream text;
  text.precision(17);
  text << value << " (bits " << std::hex << std::bit_cast<std::uint64_t>(value) << ")";
  return text.str();
}

TEST(LabelReferenceProperty, FixedDecimalDigitsAgreeWithExactArithmetic) {
  std::mt19937_64 random(7);
  std::uniform_int_distribution<int> anyDecimals(-400, 400);
  int checked = 0;
  for (const double value : SampleDoubles()) {
    for (const int decimals : {15, 20, anyDecimals(random)}) {
      const DecimalDigits got = FixedDecimalDigits(value, decimals);
      const reference::Digits want = reference::FixedDigits(value, decimals);
      if (got.digits != want.digits || got.decimalPosition != want.decimalPosition ||
          got.sign != want.sign) {
        ADD_FAILURE() << Describe(value) << " decimals " << decimals << ": got '" << got.digits
                      << "' " << got.decimalPosition << " " << got.sign << ", want '" << want.digits
                      << "' " << want.decimalPosition << " " << want.sign;
        return;
      }
      ++checked;
    }
  }
  EXPECT_GE(checked, 300000);
}

TEST(LabelReferenceProperty, LabelsAndTraceLinesAgreeWithExactArithmetic) {
  int checked = 0;
  for (const double value : SampleDoubles()) {
    std::ostringstream fixedTrace;
    std::ostringstream scientificTrace;
    std::string wantFixedTrace;
    std::string wantScientificTrace;
    const std::string fixed = FormatFixed(value, 4, fixedTrace);
    const std::string scientific = FormatScientific(value, 10, scientificTrace);
    const std::string wantFixed = reference::FixedText(value, 4, &wantFixedTrace);
    const std::string wantScientific = reference::ScientificText(value, 10, &wantScientificTrace);
    if (fixed != wantFixed || scientific != wantScientific || fixedTrace.str() != wantFixedTrace ||
        scientificTrace.str() != wantScientificTrace) {
      ADD_FAILURE() << Describe(value) << "\n got  '" << fixed << "' '" << scientific << "'\n"
                    << fixedTrace.str() << scientificTrace.str() << " want '" << wantFixed << "' '"
                    << wantScientific << "'\n"
                    << wantFixedTrace << wantScientificTrace;
      return;
    }
    ++checked;
  }
  EXPECT_EQ(checked, 4 * kSamplesPerKind);
}

}  // namespace
}  // namespace pellum
