#include "convert/output_naming.h"

#include <gtest/gtest.h>

#include "convert/input_dispatch.h"
#include "tests/convert/convert_test_support.h"

namespace pellum {
namespace {

using testing::RecordedMessage;
using testing::RecordingSink;

struct NamingCase {
  std::string path;
  std::string baseName;  // empty: refused
};

class BaseNames : public ::testing::TestWithParam<NamingCase> {};

TEST_P(BaseNames, AreCutAtTheFirstDotOfTheFileName) {
  RecordingSink sink;
  std::string baseName = "untouched";
  const int result = MakeBaseName(GetParam().path, baseName, sink);
  if (GetParam().baseName.empty()) {
    EXPECT_EQ(result, 0);
    EXPECT_EQ(baseName, "untouched");
    EXPECT_EQ(sink.messages,
              (std::vector<RecordedMessage>{
                  {GetParam().path, "Invalid input file name", MessageKind::Error}}));
  } else {
    EXPECT_EQ(result, 1);
    EXPECT_EQ(baseName, GetParam().baseName);
    EXPECT_TRUE(sink.messages.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Naming, BaseNames,
    ::testing::Values(NamingCase{"film.pid", "film"}, NamingCase{"film.old.pid", "film"},
                      NamingCase{"/data/run.2/film.pid", "/data/run.2/film"},
                      NamingCase{"/data/run.2/film.old.txt", "/data/run.2/film"},
                      NamingCase{"./film.pid", "./film"}, NamingCase{"/data/.pid", "/data/"},
                      NamingCase{"/data/run.2/film", ""}, NamingCase{"film", ""},
                      NamingCase{"", ""}, NamingCase{"/data/run.2/", ""},
                      // A line end in a path would split the listing's first line in two.
                      NamingCase{"/data/a\nb/film.pid", ""}, NamingCase{"film\r.pid", ""}));

// A backslash separates folders on Windows; elsewhere it is a character of the name.
const NamingCase kSeparatorCases[] = {
#ifdef _WIN32
    {"C:\\data\\run.2\\film.pid", "C:\\data\\run.2\\film"},
    {"C:/data\\run.2/film.old.pid", "C:/data\\run.2/film"},
    {"C:\\data\\run.2\\film", ""},
    {"run.2\\", ""},
#else
    {"/data/run.2\\film.pid", "/data/run"},
    {"C:\\data\\run.2\\film", "C:\\data\\run"},
    {"run.2\\", "run"},
#endif
};
INSTANTIATE_TEST_SUITE_P(Separators, BaseNames, ::testing::ValuesIn(kSeparatorCases));

TEST(OutputPath, AppendsTheExtension) {
  EXPECT_EQ(MakeOutputPath("/data/run.2/film", ".dat"), "/data/run.2/film.dat");
  EXPECT_EQ(MakeOutputPath("film", ".pro"), "film.pro");
  const std::string longBase(5000, 'd');
  EXPECT_EQ(MakeOutputPath(longBase, ".dat").size(), 5004u);
}

TEST(Extension, IsTheLastFourCharacters) {
  EXPECT_EQ(TakeExtension("/data/film.pid"), ".pid");
  EXPECT_EQ(TakeExtension("FILM.TXT"), ".TXT");
  EXPECT_EQ(TakeExtension(".pid"), ".pid");
  EXPECT_EQ(TakeExtension("pid"), "pid");
  EXPECT_EQ(TakeExtension(""), "");
}

TEST(Dispatch, RefusesOtherExtensionsSilently) {
  RecordingSink sink;
  const CalibrationCoefficients identity{0.0, 0.0, 1.0, 0.0};
  for (const char* path : {"film.dat", "film.pi", "pid", "", "film.pidx", "film.tx"}) {
    EXPECT_EQ(ConvertInputFile(path, identity, sink), 0) << path;
  }
  EXPECT_TRUE(sink.messages.empty());
}

}  // namespace
}  // namespace pellum
