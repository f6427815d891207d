// Arbitrary file contents through the peak-listing and the profile converter, with
// arbitrary calibration coefficients (any bits: infinities and not-a-numbers too), on real
// files in one temporary folder per process.
//
// A success must write exactly what the file format says, row for row, with numbers as
// printf prints them; a failure must say "Invalid file format!", leave an earlier output
// byte for byte as it was, and leave no file behind. The expected text is built here from
// the lines and fields alone, with snprintf doing the number formatting.
//
// Input: byte 0 chooses the converter (bit 0) and whether an earlier output exists
// (bit 1); bytes 1 to 24 are a1, a2, a3; the rest is the data file.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "calib/calibration_coefficients.h"
#include "calib/parse_decimal.h"
#include "convert/line_reader.h"
#include "convert/listing_converter.h"
#include "convert/profile_converter.h"
#include "convert/token.h"
#include "tests/support/message_log.h"

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kEarlierOutput = "an earlier output that must survive\n";
constexpr std::string_view kProfileHeader = "2 theta (degree)\tI/I(max)x100\treflec_x\treflec_y\n";

fs::path& Folder() {
  static fs::path folder;
  return folder;
}

void RemoveFolder() {
  std::error_code ignored;
  fs::remove_all(Folder(), ignored);
}

std::string Printf(const char* format, double value) {
  const int size = std::snprintf(nullptr, 0, format, value);
  std::string text(static_cast<std::size_t>(size) + 1, '\0');
  std::snprintf(text.data(), text.size(), format, value);
  text.resize(static_cast<std::size_t>(size));
  return text;
}

void WriteBytes(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) {
    std::abort();
  }
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> Lines(std::string_view data) {
  std::istringstream in{std::string(data), std::ios::in | std::ios::binary};
  std::vector<std::string> lines;
  std::string line;
  while (pellum::ReadTextLine(in, line)) {
    lines.push_back(line);
  }
  return lines;
}

bool Field(const std::string& line, int n, std::string& field) {
  return pellum::ExtractToken(n, line, field) == 1;
}

// What a listing converts to; false when its header never ends.
bool ExpectedListing(const std::vector<std::string>& lines, const std::string& outputPath,
                     const pellum::CalibrationCoefficients& c, std::string& expected,
                     std::uint64_t& skipped) {
  std::size_t i = 0;
  std::string field;
  constexpr std::string_view kHeadingLetters = "2-Theta";
  while (i < lines.size() &&
         !(Field(lines[i], 0, field) && kHeadingLetters.find(field[0]) != std::string::npos)) {
    ++i;
  }
  if (i == lines.size()) {
    return false;
  }
  expected = outputPath + "\n";
  skipped = 0;
  for (++i; i < lines.size(); ++i) {
    std::string twoTheta;
    std::string intensity;
    if (!Field(lines[i], 4, intensity) || !Field(lines[i], 0, twoTheta)) {
      ++skipped;
      continue;
    }
    const double x = pellum::ParseDecimal(twoTheta);
    // An intensity as wide as its column (10000000.0, -1000000.0) gets one blank of its
    // own, or the row would read back as four fields.
    std::string column = Printf("%10.1f", pellum::ParseDecimal(intensity));
    if (column[0] != ' ') {
      column.insert(0, 1, ' ');
    }
    expected += "0 0 0  " + Printf("%10f", pellum::CalibratedTwoTheta(c, x)) + column + "\n";
  }
  expected += "0 0 0\n";
  return true;
}

// What a profile converts to; false when it has no header line.
bool ExpectedProfile(const std::vector<std::string>& lines,
                     const pellum::CalibrationCoefficients& c, std::string& expected,
                     std::uint64_t& skipped) {
  if (lines.empty()) {
    return false;
  }
  std::string field;
  double maximum = 0.0;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (Field(lines[i], 1, field) && pellum::ParseDecimal(field) > maximum) {
      maximum = pellum::ParseDecimal(field);
    }
  }
  expected = kProfileHeader;
  skipped = 0;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::string twoTheta;
    std::string intensity;
    if (!Field(lines[i], 1, intensity) || !Field(lines[i], 0, twoTheta)) {
      ++skipped;
      continue;
    }
    const double relative = pellum::ParseDecimal(intensity) / maximum * 100.0;
    const double x = pellum::ParseDecimal(twoTheta);
    expected +=
        Printf("%f", pellum::CalibratedTwoTheta(c, x)) + "\t" + Printf("%f", relative) + "\n";
  }
  return true;
}

// Which NaN comes out of an operation on two NaNs (or on a NaN and an invalid operation
// such as inf - inf) is the processor's choice by operand order, and the compiler orders
// the operands of a sum or a product as it likes. So the sign of a not-a-number two-theta
// is not fixed by the calibration's formula: "-nan" and "nan" are taken as one there. The
// intensity column has a single source of NaN and keeps its sign.
std::string WithoutNanSignInTwoTheta(const std::string& text, bool listing) {
  std::string out;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t field = listing ? 7 : 0;  // after "0 0 0  " in a listing
    const std::size_t width = listing ? 10 : 5;
    const std::size_t at = line.find("-nan", field);
    if (at != std::string::npos && at + 4 <= field + width) {
      line.replace(at, 4, listing ? " nan" : "nan");
    }
    out += line + "\n";
  }
  return out;
}

bool SameOutput(const std::string& got, const std::string& expected, bool listing) {
  return got == expected ||
         WithoutNanSignInTwoTheta(got, listing) == WithoutNanSignInTwoTheta(expected, listing);
}

std::vector<std::string> FolderNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(Folder())) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string pattern = (fs::temp_directory_path() / "pellum-fuzz-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    std::abort();
  }
  Folder() = pattern;
  std::atexit(RemoveFolder);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kPrefix = 1 + 3 * sizeof(double);
  if (size < kPrefix) {
    return -1;  // not worth keeping in the corpus
  }
  const bool listing = (data[0] & 1) == 0;
  const bool earlier = (data[0] & 2) != 0;
  pellum::CalibrationCoefficients c;
  std::memcpy(&c.a1, data + 1, sizeof(double));
  std::memcpy(&c.a2, data + 1 + sizeof(double), sizeof(double));
  std::memcpy(&c.a3, data + 1 + 2 * sizeof(double), sizeof(double));
  const std::string_view contents(reinterpret_cast<const char*>(data) + kPrefix, size - kPrefix);

  const fs::path input = Folder() / (listing ? "film.pid" : "film.txt");
  const fs::path output = Folder() / (listing ? "film.dat" : "film.pro");
  WriteBytes(input, contents);
  if (earlier) {
    WriteBytes(output, kEarlierOutput);
  }

  std::string expected;
  std::uint64_t expectedSkipped = 0;
  const std::vector<std::string> lines = Lines(contents);
  const bool valid = listing ? ExpectedListing(lines, output.string(), c, expected, expectedSkipped)
                             : ExpectedProfile(lines, c, expected, expectedSkipped);

  pellum::testing::MessageLog log;
  pellum::ConversionStats stats;
  const int result = listing ? pellum::ConvertListingFile(input.string(), c, log, &stats)
                             : pellum::ConvertProfileFile(input.string(), c, log, &stats);

  using Message = pellum::testing::LoggedMessage;
  std::vector<std::string> names = {input.filename().string()};
  if (valid) {
    const std::vector<Message> saved = {
        {"Output file is saved as " + output.string(), "Info", pellum::MessageKind::Information}};
    if (result != 1 || log.messages != saved || !SameOutput(ReadBytes(output), expected, listing) ||
        stats.skippedLines != expectedSkipped) {
      std::abort();
    }
    names.push_back(output.filename().string());
  } else {
    const std::vector<Message> refused = {
        {input.string(), "Invalid file format!", pellum::MessageKind::Error}};
    if (result != 0 || log.messages != refused ||
        (earlier && ReadBytes(output) != kEarlierOutput)) {
      std::abort();
    }
    if (earlier) {
      names.push_back(output.filename().string());
    }
  }
  std::sort(names.begin(), names.end());
  if (FolderNames() != names) {
    std::abort();  // a temporary file was left behind, or an output appeared on failure
  }

  for (const auto& entry : fs::directory_iterator(Folder())) {
    fs::remove(entry.path());
  }
  return 0;
}
