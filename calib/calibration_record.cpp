#include "calib/calibration_record.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <set>

#include "calib/calibration_points.h"
#include "calib/reference_table.h"
#include "calib/shortest_text.h"
#include "io/replacing_output_file.h"

namespace pellum {
namespace {

constexpr std::string_view kMagic = "pellum-calibration 1";

// "3 1 1" -> "311", the way the record and the command line write an hkl.
std::string CompactHkl(std::string_view hkl) {
  std::string out;
  for (char c : hkl)
    if (c != ' ')
      out.push_back(c);
  return out;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
      ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t')
      ++i;
    if (i > start)
      fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

bool ReadNumber(std::string_view text, double& value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

bool ReadNumbers(const std::vector<std::string_view>& fields, std::size_t first, double* values,
                 std::size_t count) {
  if (fields.size() != first + count)
    return false;
  for (std::size_t i = 0; i < count; ++i)
    if (!ReadNumber(fields[first + i], values[i]))
      return false;
  return true;
}

// The reference reflection written as "311", or -1.
int SlotOfCompactHkl(std::string_view hkl) {
  for (std::size_t i = 0; i < ReferenceTable.size(); ++i)
    if (CompactHkl(ReferenceTable[i].hkl) == hkl)
      return static_cast<int>(i);
  return -1;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// "1 0 10" -> {"1", "0", "10"}; an index is an optional minus and digits.
bool SplitHkl(std::string_view hkl, char separator, std::vector<std::string_view>& indices) {
  indices.clear();
  while (true) {
    const std::size_t end = std::min(hkl.find(separator), hkl.size());
    const std::string_view index = hkl.substr(0, end);
    const std::string_view digits = index.substr(index.substr(0, 1) == "-" ? 1 : 0);
    if (digits.empty() || digits.size() > 4 || !std::all_of(digits.begin(), digits.end(), IsDigit))
      return false;
    indices.push_back(index);
    if (end == hkl.size())
      return indices.size() == 3;
    hkl.remove_prefix(end + 1);
  }
}

std::string Quoted(std::string_view text) {
  std::string quoted(1, '"');
  quoted.append(text);
  quoted.push_back('"');
  return quoted;
}

class RecordParser {
 public:
  explicit RecordParser(CalibrationRecord& record) : record_(record) {}

  // One non-comment line; false with error_ set when it is not part of a record.
  bool Take(std::string_view line) {
    const std::vector<std::string_view> f = SplitFields(line);
    if (!sawMagic_) {
      sawMagic_ = line == kMagic;
      return Fail(sawMagic_ ? "" : "not a Pellum calibration record");
    }
    const std::string_view key = f[0];
    if (key != "point" && !seen_.insert(std::string(key)).second)
      return Fail(Quoted(key).append(" is given twice"));
    CalibrationCoefficients& c = record_.coefficients;
    if (key == "model") {
      if (f.size() != 2 || (f[1] != "quadratic" && f[1] != "straight-line"))
        return Fail("the model is neither quadratic nor straight-line");
      record_.straightLine = f[1] == "straight-line";
      return true;
    }
    if (key == "rule") {
      const std::optional<ModelRule> rule = f.size() == 2 ? ParseModelRule(f[1]) : std::nullopt;
      if (!rule)
        return Fail("the rule is none of chi-square, line, quadratic, significant");
      record_.rule = *rule;
      return true;
    }
    if (key == "a1" || key == "a2" || key == "a3" || key == "delta") {
      double* target = key == "a1" ? &c.a1 : key == "a2" ? &c.a2 : key == "a3" ? &c.a3 : &c.delta;
      return ReadNumbers(f, 1, target, 1) || Fail(std::string(key) + " is not a finite number");
    }
    if (key == "covariance")
      return TakeCovariance(f);
    if (key == "standard" || key == "wavelength")
      return TakeReference(f);
    if (key == "point")
      return TakePoint(f);
    if (key == "range")
      return true;  // recomputed from the points; kept in the file for the reader's eye
    return Fail(std::string("unknown line ").append(Quoted(key)));
  }

  bool Finish() {
    if (!sawMagic_)
      return Fail("not a Pellum calibration record");
    for (const char* key : {"model", "a1", "a2", "a3"})
      if (seen_.count(key) == 0)
        return Fail(std::string("no ") + key + " line");
    // Two readings are the fewest a calibration is fitted from, and the chart needs them.
    if (record_.points.size() < 2)
      return Fail("fewer than two points");
    if (record_.straightLine && record_.coefficients.a3 != 0.0)
      return Fail("a straight line with a3 not 0");
    if (seen_.count("standard") != seen_.count("wavelength"))
      return Fail("a standard needs its wavelength, and a wavelength its standard");
    return true;
  }

  const std::string& Error() const { return error_; }

 private:
  bool Fail(std::string why) {
    error_ = std::move(why);
    return error_.empty();
  }

  bool TakeCovariance(const std::vector<std::string_view>& f) {
    double v[6];
    if (!ReadNumbers(f, 1, v, 6))
      return Fail("the covariance needs six finite numbers");
    record_.covariance = {v[0], v[1], v[2], v[1], v[3], v[4], v[2], v[4], v[5]};
    record_.covarianceDefined = true;
    return true;
  }

  // "standard NAME A [C]" or "wavelength LAMBDA [RADIATION]", before the points they name.
  bool TakeReference(const std::vector<std::string_view>& f) {
    if (!record_.points.empty())
      return Fail("the standard and the wavelength come before the points");
    CalibrationReference& r = record_.reference;
    if (f[0] == "standard") {
      double numbers[2] = {0.0, 0.0};
      const bool shaped = f.size() == 3 || f.size() == 4;
      if (!shaped || !ReadNumbers(f, 2, numbers, f.size() - 2) || !(numbers[0] > 0.0) ||
          (f.size() == 4 && !(numbers[1] > 0.0)))
        return Fail("the standard is not \"standard NAME A [C]\" with a positive cell");
      r.standard = f[1];
      r.a = numbers[0];
      r.c = numbers[1];
      return true;
    }
    double wavelength = 0.0;
    if (f.size() < 2 || f.size() > 3 || !ReadNumber(f[1], wavelength) || !(wavelength > 0.0))
      return Fail("the wavelength is not \"wavelength LAMBDA [RADIATION]\" with a positive LAMBDA");
    r.wavelength = wavelength;
    r.radiation = f.size() == 3 ? std::string(f[2]) : std::string();
    return true;
  }

  bool TakePoint(const std::vector<std::string_view>& f) {
    double v[2];
    if (seen_.count("standard") != 0) {
      const std::string hkl = f.size() == 4 ? HklOfField(f[1]) : std::string();
      if (hkl.empty() || !ReadNumbers(f, 2, v, 2))
        return Fail("a point is not \"point HKL READING ACTUAL\" of a line of the standard");
      record_.points.push_back({v[0], v[1], kPointSigma});
      record_.hkls.push_back(hkl);
      return true;
    }
    const int slot = f.size() == 4 ? SlotOfCompactHkl(f[1]) : -1;
    if (slot < 0 || !ReadNumbers(f, 2, v, 2) || v[1] != ReferenceTable[slot].twoTheta)
      return Fail("a point is not \"point HKL READING ACTUAL\" of a silicon reflection");
    if (record_.points.size() >= ReferenceTable.size())
      return Fail("more points than reference reflections");
    record_.points.push_back({v[0], v[1], kPointSigma});
    return true;
  }

  CalibrationRecord& record_;
  bool sawMagic_ = false;
  std::set<std::string> seen_;
  std::string error_;
};

}  // namespace

std::string HklField(std::string_view hkl) {
  std::vector<std::string_view> indices;
  if (!SplitHkl(hkl, ' ', indices))
    return std::string(hkl);
  std::string field;
  const bool oneDigitEach =
      std::all_of(indices.begin(), indices.end(), [](std::string_view i) { return i.size() == 1; });
  for (std::size_t i = 0; i < indices.size(); ++i) {
    if (!oneDigitEach && i > 0)
      field.push_back(',');
    field.append(indices[i]);
  }
  return field;
}

std::string HklOfField(std::string_view field) {
  std::vector<std::string_view> indices;
  if (field.find(',') == std::string_view::npos) {
    if (field.size() != 3 || !std::all_of(field.begin(), field.end(), IsDigit))
      return "";
    indices = {field.substr(0, 1), field.substr(1, 1), field.substr(2, 1)};
  } else if (!SplitHkl(field, ',', indices)) {
    return "";
  }
  return std::string(indices[0]) + ' ' + std::string(indices[1]) + ' ' + std::string(indices[2]);
}

void WriteCalibrationRecord(const CalibrationRecord& record, std::ostream& out) {
  const CalibrationCoefficients& c = record.coefficients;
  out << "# Pellum calibration: Actual 2 theta = a1 + a2 x + a3 x^2, x the experimental 2 theta\n"
      << kMagic << '\n';
  const CalibrationReference& reference = record.reference;
  if (!reference.IsBuiltInTable()) {
    out << "standard " << reference.standard << ' ' << ShortestText(reference.a);
    if (reference.c > 0.0)
      out << ' ' << ShortestText(reference.c);
    out << "\nwavelength " << ShortestText(reference.wavelength);
    if (!reference.radiation.empty())
      out << ' ' << reference.radiation;
    out << '\n';
  }
  out << "model " << (record.straightLine ? "straight-line" : "quadratic") << '\n';
  if (record.rule != ModelRule::ChiSquare)
    out << "rule " << ModelRuleName(record.rule) << '\n';
  out << "a1 " << ShortestText(c.a1) << '\n'
      << "a2 " << ShortestText(c.a2) << '\n'
      << "a3 " << ShortestText(c.a3) << '\n'
      << "delta " << ShortestText(c.delta) << '\n';
  if (record.covarianceDefined) {
    const auto& v = record.covariance;
    out << "covariance";
    for (int index : {0, 1, 2, 4, 5, 8})
      out << ' ' << ShortestText(v[static_cast<std::size_t>(index)]);
    out << '\n';
  }
  double low = 0.0, high = 0.0;
  for (std::size_t i = 0; i < record.points.size(); ++i) {
    const CalibrationPoint& p = record.points[i];
    std::string hkl = "000";
    if (!reference.IsBuiltInTable()) {
      hkl = i < record.hkls.size() ? HklField(record.hkls[i]) : hkl;
    } else {
      for (const ReferenceReflection& r : ReferenceTable)
        if (r.twoTheta == p.y)
          hkl = CompactHkl(r.hkl);
    }
    out << "point " << hkl << ' ' << ShortestText(p.x) << ' ' << ShortestText(p.y) << '\n';
    low = i == 0 || p.x < low ? p.x : low;
    high = i == 0 || p.x > high ? p.x : high;
  }
  if (!record.points.empty())
    out << "range " << ShortestText(low) << ' ' << ShortestText(high) << '\n';
}

bool WriteCalibrationRecordFile(const std::string& path, const CalibrationRecord& record) {
  ReplacingOutputFile file(path);
  if (!file.Open())
    return false;
  WriteCalibrationRecord(record, file.Stream());
  return file.Commit();
}

bool ReadCalibrationRecord(std::istream& in, CalibrationRecord& record, std::string& error) {
  record = CalibrationRecord{};
  RecordParser parser(record);
  std::string text(kMaxRecordBytes + 1, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  if (in.bad() || text.size() > kMaxRecordBytes) {
    error = in.bad() ? "cannot be read" : "longer than a calibration record can be";
    return false;
  }
  // Read as the converters read their inputs: a byte-order mark is passed over, and a line
  // ends at LF, CR LF or a lone CR, whichever system wrote it.
  std::string_view rest(text);
  if (rest.substr(0, 3) == "\xEF\xBB\xBF")
    rest.remove_prefix(3);
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find_first_of("\r\n"), rest.size());
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end);
    if (rest.substr(0, 2) == "\r\n")
      rest.remove_prefix(2);
    else if (!rest.empty())
      rest.remove_prefix(1);
    if (line.find_first_not_of(" \t") == std::string_view::npos || line.front() == '#')
      continue;
    if (!parser.Take(line)) {
      error = parser.Error();
      return false;
    }
  }
  if (!parser.Finish()) {
    error = parser.Error();
    return false;
  }
  return true;
}

}  // namespace pellum
