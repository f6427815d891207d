#include "convert/field_number.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <string>

#include "calib/parse_decimal.h"

namespace pellum {
namespace {

// Same bits, so that -0.0 and 0.0 differ.
void ExpectSameAsParseDecimal(const std::string& field) {
  EXPECT_EQ(std::bit_cast<std::uint64_t>(ParseFieldNumber(field)),
            std::bit_cast<std::uint64_t>(ParseDecimal(field)))
      << field;
}

TEST(FieldNumbers, ReadAsParseDecimalReadsThem) {
  for (const char* field : {"0",
                            "-0",
                            "0.0",
                            "-0.000",
                            "30.125",
                            "28.442",
                            "-3",
                            ".5",
                            "5.",
                            "-.5",
                            ".",
                            "-",
                            "",
                            "+5",
                            "2-Theta",
                            "30.0abc",
                            "2.84d1",
                            "1e5",
                            "1E-3",
                            "9007199254740992",
                            "9007199254740993",
                            "900719925474099.3",
                            "18446744073709551615",
                            "1234567890123456789",
                            "12345678901234567890",
                            "0.0000000000000000000001",
                            "0.00000000000000000000001",
                            "1.2.3",
                            "--1",
                            "0x10",
                            "inf",
                            "nan",
                            "99999999999999999999999"}) {
    ExpectSameAsParseDecimal(field);
  }
}

TEST(FieldNumbers, ReadRandomDecimalsAsParseDecimal) {
  std::mt19937_64 random(8);
  for (int i = 0; i < 200000; ++i) {
    std::string field = (random() % 4 == 0) ? "-" : "";
    const int digits = 1 + static_cast<int>(random() % 20);
    const int point = static_cast<int>(random() % (digits + 2));
    for (int d = 0; d < digits; ++d) {
      if (d == point) {
        field += '.';
      }
      field += static_cast<char>('0' + random() % 10);
    }
    ASSERT_EQ(std::bit_cast<std::uint64_t>(ParseFieldNumber(field)),
              std::bit_cast<std::uint64_t>(ParseDecimal(field)))
        << field;
  }
}

}  // namespace
}  // namespace pellum
