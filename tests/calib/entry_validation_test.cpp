#include "calib/entry_validation.h"

#include <gtest/gtest.h>

#include <vector>

#include "calib/calibration_points.h"
#include "tests/support/message_log.h"

namespace pellum {
namespace {

using testing::LoggedMessage;
using testing::MessageLog;

constexpr const char* kTooLarge = "2 theta value must be below 100.";
constexpr const char* kTooFew =
    "At least two reflections with different 2 theta values are needed.";

EntryTexts Entries(std::vector<std::string> slots) {
  EntryTexts texts;
  for (std::size_t i = 0; i < slots.size(); ++i)
    texts.SetSlot(i, slots[i]);
  return texts;
}

struct ValidationCase {
  std::vector<std::string> slots;  // missing trailing slots stay "-1"
  const char* refusal;             // nullptr when the entries are valid
};

class ValidateEntriesTable : public ::testing::TestWithParam<ValidationCase> {};

TEST_P(ValidateEntriesTable, ShowsOneWarningOrNone) {
  const ValidationCase& c = GetParam();
  const EntryTexts texts = Entries(c.slots);
  MessageLog log;
  const bool valid = ValidateEntries(texts, ParseEntries(texts), log);
  EXPECT_EQ(valid, c.refusal == nullptr);
  if (c.refusal == nullptr) {
    EXPECT_TRUE(log.messages.empty());
  } else {
    ASSERT_EQ(log.messages.size(), 1u);
    EXPECT_EQ(log.messages[0], (LoggedMessage{c.refusal, "Warning!", MessageKind::Warning}));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, ValidateEntriesTable,
    ::testing::Values(
        // All negative: the user leaves the dialog without calibrating.
        ValidationCase{{}, nullptr}, ValidationCase{{"-1", "-5", "-0.1"}, nullptr},
        // Readings in the forms a user types.
        ValidationCase{{"28.45", "47.31"}, nullptr},
        ValidationCase{{"2.84d1", " 47.3 ", "-1", "0"}, nullptr},
        ValidationCase{{"-0", "47.3"}, nullptr}, ValidationCase{{"28.4", "\t47.3\t"}, nullptr},
        ValidationCase{{"99.999999", "28.4"}, nullptr},
        // Too large, and its precedence over the other refusals.
        ValidationCase{{"100", "28.4"}, kTooLarge}, ValidationCase{{"150", "200"}, kTooLarge},
        ValidationCase{{"150", "abc"}, kTooLarge}, ValidationCase{{"1e400", "28.4"}, kTooLarge},
        ValidationCase{{"150"}, kTooLarge}, ValidationCase{{"100abc", "28.4"}, kTooLarge},
        // Anything but one number in a slot.
        ValidationCase{{"28,44", "47.3"},
                       "2 theta value must be a number: reading 1 (1 1 1), \"28,44\", has a "
                       "decimal comma: use a point."},
        ValidationCase{{"", "47.3"}, "2 theta value must be a number: reading 1 (1 1 1) is empty."},
        ValidationCase{{"abc", "47.3"},
                       "2 theta value must be a number: reading 1 (1 1 1), "
                       "\"abc\", is not a number."},
        ValidationCase{{"28.4x", "47.3"},
                       "2 theta value must be a number: reading 1 (1 1 1), "
                       "\"28.4x\", is not a number."},
        ValidationCase{{"28.4 47.3", "56"},
                       "2 theta value must be a number: reading 1 (1 1 1), "
                       "\"28.4 47.3\", is not a number."},
        ValidationCase{{"  ", "47"}, "2 theta value must be a number: reading 1 (1 1 1) is empty."},
        ValidationCase{{"inf", "47.3"},
                       "2 theta value must be a number: reading 1 (1 1 1), "
                       "\"inf\", is not a number."},
        ValidationCase{{"0x1C", "47.3"},
                       "2 theta value must be a number: reading 1 (1 1 1), "
                       "\"0x1C\", is not a number."},
        ValidationCase{{"28.4", "47.3", "", "", "", "x"},
                       "2 theta value must be a number: reading 3 (3 1 1) is empty."},
        ValidationCase{{"28.4", "47.3", "56.1", "69,1"},
                       "2 theta value must be a number: reading 4 (4 0 0), \"69,1\", has a "
                       "decimal comma: use a point."},
        // Not a number wins over too few readings.
        ValidationCase{{"28.4", "zz"},
                       "2 theta value must be a number: reading 2 (2 2 0), "
                       "\"zz\", is not a number."},
        // A fit needs two different abscissas.
        ValidationCase{{"28.4"}, kTooFew},
        ValidationCase{{"-1", "-1", "-1", "-1", "-1", "88"}, kTooFew},
        ValidationCase{{"28.4", "28.4", "2.84d1"}, kTooFew}, ValidationCase{{"0", "-0"}, kTooFew}));

TEST(EntryTexts, StartAtMinusOneAndKeepEighteenCharacters) {
  EntryTexts texts;
  for (std::size_t i = 0; i < EntryTexts::kSlotCount; ++i)
    EXPECT_EQ(texts.Slot(i), "-1");
  texts.SetSlot(2, "28.123456789012345678901");  // 25 characters
  EXPECT_EQ(texts.Slot(2), "28.123456789012345");
  EXPECT_EQ(ParseEntries(texts)[2], 28.123456789012345);
}

TEST(EntryTexts, EighteenCharacterLimitCanMakeATextValid) {
  // What the dialog keeps is what is validated: the cut drops the trailing letters.
  EntryTexts texts = Entries({"28.400000000000000abc", "47.3"});
  MessageLog log;
  EXPECT_TRUE(ValidateEntries(texts, ParseEntries(texts), log));
}

TEST(BuildCalibrationPoints, KeepsNonNegativeEntriesInTableOrder) {
  struct Case {
    ParsedEntries values;
    std::vector<CalibrationPoint> points;
  };
  const Case cases[] = {
      {{-1, -1, -1, -1, -1, -1}, {}},
      {{-1, 47.3, -1, 69.1, -1, -1}, {{47.3, 47.303, 0.0001}, {69.1, 69.13, 0.0001}}},
      {{0.0, -0.0, -1e-300, -1, -1, 88.0},
       {{0.0, 28.442, 0.0001}, {-0.0, 47.303, 0.0001}, {88.0, 88.03, 0.0001}}},
      {{28.45, 47.31, 56.13, 69.14, 76.39, 88.04},
       {{28.45, 28.442, 1e-4},
        {47.31, 47.303, 1e-4},
        {56.13, 56.122, 1e-4},
        {69.14, 69.13, 1e-4},
        {76.39, 76.376, 1e-4},
        {88.04, 88.03, 1e-4}}},
  };
  for (const Case& c : cases) {
    std::vector<CalibrationPoint> points{{1, 2, 3}};  // replaced wholesale
    EXPECT_EQ(BuildCalibrationPoints(c.values, points), static_cast<int>(c.points.size()));
    ASSERT_EQ(points.size(), c.points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
      EXPECT_EQ(points[i].x, c.points[i].x);
      EXPECT_EQ(points[i].y, c.points[i].y);
      EXPECT_EQ(points[i].sigma, 0.0001);
    }
  }
}

}  // namespace
}  // namespace pellum
