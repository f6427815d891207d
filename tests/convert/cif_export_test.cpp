#include "convert/cif_export.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "calib/calibration_points.h"
#include "calib/fit.h"
#include "convert/cif_text.h"
#include "convert/fixed_rows.h"
#include "convert/listing_converter.h"
#include "convert/profile_converter.h"
#include "tests/convert/convert_test_support.h"
#include "ui/user_texts.h"
#include "ui/version.h"

namespace pellum {
namespace {

using testing::ReadFile;
using testing::RecordingSink;
using testing::TemporaryFolder;

// The example film's quadratic, as the fit gives it.
const CalibrationCoefficients kFilm{0.0, -0.006215050010224119, 0.9999774605577304,
                                    -4.6702307825325454e-07};

std::string Written(std::string_view text) {
  std::ostringstream out;
  WriteCifValue(out, text);
  return out.str();
}

// A value as a CIF reader hands it over, then Pellum's encoding undone: soft breaks
// removed and %HH decoded wherever two hex digits follow.
std::string ReadBack(const std::string& written) {
  std::string value;
  if (written.starts_with("\n;\n")) {
    EXPECT_TRUE(written.ends_with("\n;\n")) << written;
    value = written.substr(3, written.size() - 6);
  } else if (written.front() == '\'' || written.front() == '"') {
    value = written.substr(1, written.size() - 2);
  } else {
    value = written;
  }
  for (std::size_t i; (i = value.find("%\n")) != std::string::npos;)
    value.erase(i, 2);
  std::string bytes;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '%' && i + 2 < value.size() && std::isxdigit(value[i + 1]) &&
        std::isxdigit(value[i + 2])) {
      bytes.push_back(static_cast<char>(std::stoi(value.substr(i + 1, 2), nullptr, 16)));
      i += 2;
    } else {
      bytes.push_back(value[i]);
    }
  }
  return bytes;
}

TEST(CifText, ValuesAreQuotedAsBothCifVersionsReadThem) {
  const struct {
    std::string raw;
    std::string written;
  } cases[] = {
      {"Si", "Si"},
      {"film-profile.txt", "film-profile.txt"},
      {"Pellum 1.03", "'Pellum 1.03'"},
      {"", "''"},
      {".", "'.'"},
      {"?", "'?'"},
      {"_pd_phase.id", "'_pd_phase.id'"},
      {"data_x", "'data_x'"},
      {"LOOP_", "'LOOP_'"},
      {"[x]", "'[x]'"},
      {"#1", "'#1'"},
      {"it's", "\"it's\""},
      {"a'b\"c", "\n;\na'b\"c\n;\n"},
      {"J\xC3\xBCrgen", "'J%C3%BCrgen'"},
      {"I%   FWHM 100%", "'I%   FWHM 100%25'"},
      {"%41", "'%2541'"},
      {std::string("a\nb\r\0c", 6), "'a%0Ab%0D%00c'"},
      {"tab\there", "'tab\there'"},
      {";x", "';x'"},
      {"\x7F\xFF", "'%7F%FF'"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Written(c.raw), c.written) << c.raw;
    EXPECT_EQ(ReadBack(Written(c.raw)), c.raw) << c.raw;
  }
  EXPECT_EQ(CifNumber(-4.6702307825325454e-07), "-4.6702307825325454e-07");
  EXPECT_EQ(CifNumber(1e300), "1e+300");
  EXPECT_EQ(CifNumber(std::numeric_limits<double>::quiet_NaN()), "?");
  EXPECT_EQ(CifNumber(-std::numeric_limits<double>::infinity()), "?");
}

// Any bytes at all come back exactly, on lines of plain ASCII within CIF 1.1's limit, and
// no line of a text field starts with the ';' that would end it.
TEST(CifText, AnyBytesReadBackExactly) {
  std::mt19937 random(16);
  const std::string alphabet = std::string(";%'\" \n\tAf0_\x80\xFF", 13) + std::string(1, '\0');
  for (int round = 0; round < 400; ++round) {
    std::string raw;
    const std::size_t length = round % 10 == 0 ? 5000 : random() % 40;
    for (std::size_t i = 0; i < length; ++i)
      raw.push_back(round % 3 == 0 ? static_cast<char>(random() % 256)
                                   : alphabet[random() % alphabet.size()]);
    const std::string written = Written(raw);
    ASSERT_EQ(ReadBack(written), raw) << "round " << round;
    std::istringstream lines(written);
    bool inField = false;
    for (std::string line; std::getline(lines, line);) {
      EXPECT_LE(line.size(), kCifLineLimit);
      for (unsigned char c : line)
        EXPECT_TRUE(c == '\t' || (c >= 0x20 && c < 0x7F)) << "round " << round;
      if (line == ";") {
        inField = !inField;
      } else if (inField && !line.empty()) {
        EXPECT_NE(line.front(), ';') << "round " << round;
      }
    }
  }
}

TEST(CifText, BlockCodesAreUniqueWithoutLetterCase) {
  std::set<std::string> taken{"calibration"};
  EXPECT_EQ(CifBlockCode("film.pid", taken), "film.pid");
  EXPECT_EQ(CifBlockCode("FILM.PID", taken), "FILM.PID_2");
  EXPECT_EQ(CifBlockCode("film.pid", taken), "film.pid_3");
  EXPECT_EQ(CifBlockCode("Calibration", taken), "Calibration_2");
  EXPECT_EQ(CifBlockCode("J\xC3\xBCrgen scan's.txt", taken), "J__rgen_scan_s.txt");
  EXPECT_EQ(CifBlockCode("", taken), "block");
  EXPECT_EQ(CifBlockCode(std::string(90, 'x'), taken), std::string(40, 'x'));
}

// The rows of a loop: the lines after its last data name, up to a blank line or the end.
std::vector<std::vector<std::string>> LoopRows(const std::string& cif, const std::string& last) {
  std::vector<std::vector<std::string>> rows;
  const std::size_t at = cif.find(last + "\n");
  if (at == std::string::npos)
    return rows;
  std::istringstream lines(cif.substr(at + last.size() + 1));
  for (std::string line; std::getline(lines, line) && !line.empty() && line[0] != '#';) {
    std::istringstream words(line);
    rows.emplace_back(std::istream_iterator<std::string>(words),
                      std::istream_iterator<std::string>());
  }
  return rows;
}

double Number(const std::string& text) {
  return text == "?" ? std::numeric_limits<double>::quiet_NaN() : std::stod(text);
}

std::string Fixed(double value, int precision, int width = 0) {
  std::string text;
  AppendFixedRow(text, value, precision, width);
  return text;
}

// Every row the converter writes has its row in the CIF, and the CIF's doubles print as the
// converter printed them; rows the converter skips are skipped too.
TEST(CifBlocks, ProfileRowsAreTheConvertersRows) {
  const std::string inputs[] = {
      "2Theta Counts\n15.00 430\n15.02 468\n",
      "28.4 99 header with numbers\r\n28.44\r\n\r\n28.46 120\r28.48\t80 extra\xFF"
      "30 7",
      std::string("h\n1e3 5\n-2 0\n\0\0 3\n28.5\xB0 9\n", 27),
      "h\n20 0\n21 -4\n",
      "header only\n",
      "h\n" + std::string(70000, '7') + " 5\n30 5\n",
  };
  for (const std::string& input : inputs) {
    std::istringstream first(input), second(input);
    double maximum = 0.0;
    ASSERT_TRUE(FindProfileMaximum(first, maximum));
    std::ostringstream pro, cif;
    ASSERT_EQ(WriteCalibratedProfile(second, pro, maximum, kFilm), ConversionOutcome::Converted);
    std::istringstream in(input);
    ASSERT_EQ(WriteCifProfileBlock(in, cif, {"p", "profile p"}, kFilm),
              ConversionOutcome::Converted);

    std::istringstream proLines(pro.str());
    std::string line;
    std::getline(proLines, line);  // the header
    const auto rows = LoopRows(cif.str(), "_pd_proc.intensity_norm");
    std::size_t i = 0;
    for (; std::getline(proLines, line); ++i) {
      ASSERT_LT(i, rows.size()) << input;
      ASSERT_EQ(rows[i].size(), 5u);
      EXPECT_EQ(rows[i][0], std::to_string(i + 1));
      EXPECT_EQ(Number(rows[i][2]), CalibratedTwoTheta(kFilm, Number(rows[i][1])));
      const double relative = Number(rows[i][4]);
      EXPECT_EQ(Fixed(Number(rows[i][2]), 6) + "\t" +
                    (std::isnan(relative) ? line.substr(line.find('\t') + 1) : Fixed(relative, 6)),
                line)
          << input;
    }
    EXPECT_EQ(rows.size(), i) << input;
    EXPECT_EQ(cif.str().find("_pd_data.point_id") == std::string::npos, i == 0) << cif.str();
  }
}

TEST(CifBlocks, PeakRowsAreTheConvertersRows) {
  const std::string inputs[] = {
      "Film G-1734\nCu K-alpha1\n\n2-Theta d BG H Int I% FWHM\n22.986 3.87 116 360 40804 7 1\n"
      "28.365 3.14 115 3096 382689.25 62 1\nshort line\n\n88.0 1 1 1 2.46\n",
      "25.3 is a header by itself\n30 2.9 1 1 500\n",
      "2-Theta\n",
  };
  for (const std::string& input : inputs) {
    std::istringstream first(input), second(input);
    std::ostringstream dat, cif;
    ASSERT_EQ(ConvertListing(first, dat, "/d/film.dat", kFilm), ConversionOutcome::Converted);
    ASSERT_EQ(WriteCifPeakBlock(second, cif, {"f", "peak listing f"}, kFilm),
              ConversionOutcome::Converted);
    std::istringstream datLines(dat.str());
    std::string line;
    std::getline(datLines, line);  // the output's path
    const auto rows = LoopRows(cif.str(), "_pd_peak.intensity");
    std::size_t i = 0;
    for (; std::getline(datLines, line) && line != "0 0 0"; ++i) {
      ASSERT_LT(i, rows.size()) << input;
      EXPECT_EQ("0 0 0  " + Fixed(Number(rows[i][1]), 6, 10) + Fixed(Number(rows[i][2]), 1, 10),
                line);
    }
    EXPECT_EQ(rows.size(), i) << input;
  }
}

TEST(CifBlocks, InputsTheConvertersRefuseAreRefused) {
  std::ostringstream out;
  std::istringstream empty("");
  EXPECT_EQ(WriteCifProfileBlock(empty, out, {"p", "p"}, kFilm), ConversionOutcome::InvalidFormat);
  std::istringstream headless("Film\nno heading\n");
  EXPECT_EQ(WriteCifPeakBlock(headless, out, {"f", "f"}, kFilm), ConversionOutcome::InvalidFormat);
  testing::FailingRead failing("h\n20 5\n21 6\n", 4);
  std::istream broken(&failing);
  EXPECT_EQ(WriteCifProfileBlock(broken, out, {"p", "p"}, kFilm), ConversionOutcome::ReadFailed);
}

CifCalibration Calibrated(const std::vector<CalibrationPoint>& points) {
  const CalibrationFit fit = FitCalibration(points);
  const bool straight = PrefersStraightLine(fit.result);
  return {straight, fit.coefficients, AssessFit(points, fit.coefficients, straight),
          ModelRule::ChiSquare, ""};
}

TEST(CifBlocks, TheCalibrationBlockSaysWhatIsNotDefined) {
  std::ostringstream six, two;
  WriteCifCalibrationBlock(six,
                           Calibrated({{28.45, 28.442, kPointSigma},
                                       {47.31, 47.303, kPointSigma},
                                       {56.13, 56.122, kPointSigma},
                                       {69.14, 69.13, kPointSigma}}),
                           {});
  EXPECT_NE(six.str().find("a3 = -"), std::string::npos) << six.str();
  EXPECT_NE(six.str().find(" (su "), std::string::npos);
  EXPECT_EQ(LoopRows(six.str(), "_pd_calib_xcoord.actual_2theta").size(), 4u);
  WriteCifCalibrationBlock(two, Calibrated({{28.45, 28.442, kPointSigma}, {47.31, 47.303, 1e-4}}),
                           {{"x.pid", "peak listing x"}});
  const std::string text = two.str();
  EXPECT_TRUE(text.starts_with(kCifMagic));
  EXPECT_NE(text.find("model straight-line"), std::string::npos);
  EXPECT_NE(text.find("a3 = 0 (fixed by the model)\nsu not defined"), std::string::npos);
  EXPECT_EQ(text.find("(su "), std::string::npos);
  EXPECT_EQ(
      LoopRows(text, "_pd_calib_xcoord.actual_2theta"),
      (std::vector<std::vector<std::string>>{{"28.45", "?", "28.442"}, {"47.31", "?", "47.303"}}));
  EXPECT_NE(text.find("\nx.pid 'peak listing x'\n"), std::string::npos);
}

// The default's CIF blocks from fixed inputs: the golden of tests/data/convert.
std::string DefaultCifBlocks() {
  const std::vector<CalibrationPoint> six = {
      {28.365, 28.442, kPointSigma}, {47.209, 47.303, kPointSigma}, {56.021, 56.122, kPointSigma},
      {69.018, 69.13, kPointSigma},  {76.258, 76.376, kPointSigma}, {87.904, 88.03, kPointSigma}};
  const CalibrationFit fit = FitCalibration(six);
  CifCalibration calibration{false, fit.coefficients, AssessFit(six, fit.coefficients, false),
                             ModelRule::ChiSquare, ""};
  std::ostringstream out;
  WriteCifCalibrationBlock(
      out, calibration, {{"film.pid", "peak listing /lab/film.pid, converted to /lab/film.dat"}});
  calibration.recordPath = "/lab/film.cal";
  calibration.rule = ModelRule::Significant;
  WriteCifCalibrationBlock(out, calibration, {});
  std::istringstream profile("2Theta Counts\n20 50\n21 200\n");
  WriteCifProfileBlock(profile, out, {"scan.txt", "profile /lab/scan.txt"},
                       calibration.coefficients);
  std::istringstream listing("2-Theta d I1 I2 Int\n30.0 2.9 1 2 500\n");
  WriteCifPeakBlock(listing, out, {"film.pid", "peak listing /lab/film.pid"},
                    calibration.coefficients);
  return out.str();
}

// The built-in table's blocks are byte for byte what they were before other references
// (the golden was written by that code); another reference names its standard, cell and
// wavelength instead of silicon.
TEST(CifBlocks, TheDefaultIsAsEverAndAnotherReferenceIsNamed) {
  std::ifstream in(std::string(PELLUM_SOURCE_DIR) + "/tests/data/convert/default-calibration.cif",
                   std::ios::binary);
  std::string golden((std::istreambuf_iterator<char>(in)), {});
  for (std::size_t at; (at = golden.find("@VERSION@")) != std::string::npos;)
    golden.replace(at, 9, kVersion);
  EXPECT_EQ(DefaultCifBlocks(), golden);

  const std::vector<CalibrationPoint> corundum = {
      {25.6, 25.573, kPointSigma}, {52.56, 52.551, kPointSigma}, {76.9, 76.87, kPointSigma}};
  CifCalibration calibration = Calibrated(corundum);
  calibration.reference = {
      "al2o3-676a", "corundum SRM 676a", "R -3 c:H", 4.759091, 12.991779, "", "", 1.6};
  std::ostringstream out;
  WriteCifCalibrationBlock(out, calibration, {});
  const std::string text = out.str();
  for (const char* named :
       {"# corundum SRM 676a as internal standard,", "the corundum SRM 676a internal standard\"",
        "\n_pd_phase.id al2o3-676a\n_pd_phase.name 'corundum SRM 676a'\n_cell.length_a 4.759091\n"
        "_cell.length_b 4.759091\n_cell.length_c 12.991779\n",
        "\n_cell.angle_gamma 120\n_diffrn_radiation_wavelength.value 1.6\n"
        "_pd_calib_xcoord_overall.id al2o3-676a_internal_standard\n"
        "_pd_calib_xcoord_overall.phase_id al2o3-676a\n",
        "over 3 reflections of corundum SRM 676a\n",
        "\nInternal standard corundum SRM 676a (al2o3-676a), a = 4.759091, c = 12.991779 angstrom "
        "(hexagonal axes);\na wavelength 1.6 angstrom given by the user. "})
    EXPECT_NE(text.find(named), std::string::npos) << named << "\n" << text;
  EXPECT_EQ(text.find("silicon"), std::string::npos);
  EXPECT_EQ(text.find("Si_internal"), std::string::npos);

  std::istringstream profile("2Theta Counts\n20 50\n");
  std::ostringstream block;
  WriteCifProfileBlock(profile, block, {"scan.txt", "scan", "al2o3-676a_internal_standard", 1.6},
                       calibration.coefficients);
  EXPECT_NE(block.str().find("\n_pd_calib_xcoord_overall.id al2o3-676a_internal_standard\n"
                             "_diffrn_radiation_wavelength.value 1.6\n"),
            std::string::npos)
      << block.str();
}

// The file is complete or not there: an input changed since its conversion, one that is
// gone and a CIF that cannot be created each leave the earlier CIF byte for byte.
TEST(CifFile, WrittenWholeOrNotAtAll) {
  TemporaryFolder folder;
  const std::string txt = folder.File("scan.txt"), cif = folder.File("scan.cif");
  std::ofstream(txt) << "2Theta Counts\n20 50\n21 200\n";
  std::ofstream(cif) << "earlier";
  const CifCalibration calibration{false, kFilm, {}, ModelRule::ChiSquare, ""};
  const CifSource source{txt, folder.File("scan.pro"), StampOf(txt)};

  RecordingSink messages;
  ASSERT_TRUE(WriteCifFile(cif, calibration, {source}, messages));
  EXPECT_TRUE(messages.messages.empty());
  const std::string written = ReadFile(cif);
  EXPECT_NE(written.find("\ndata_scan.txt\n"), std::string::npos);
  EXPECT_NE(written.find("\n2 21 "), std::string::npos) << written;

  std::ofstream(txt, std::ios::app) << "22 10\n";
  const CifSource gone{folder.File("gone.txt"), folder.File("gone.pro"), source.stamp};
  const struct {
    std::string path;
    CifSource source;
    std::string text;
    std::string_view caption;
  } failures[] = {
      {cif, source, txt, texts::kInputChangedSinceConversion},
      {cif, gone, gone.inputPath, texts::kInputChangedSinceConversion},
      {folder.File("no/scan.cif"),
       {txt, "", StampOf(txt)},
       folder.File("no/scan.cif"),
       texts::kCannotWriteCif},
  };
  for (const auto& f : failures) {
    messages.messages.clear();
    EXPECT_FALSE(WriteCifFile(f.path, calibration, {f.source}, messages));
    ASSERT_EQ(messages.messages.size(), 1u) << f.text;
    EXPECT_EQ(messages.messages[0].text, f.text);
    EXPECT_EQ(messages.messages[0].caption, f.caption);
    EXPECT_EQ(ReadFile(cif), written);
  }
  EXPECT_EQ(folder.Listing(), (std::vector<std::string>{"scan.cif", "scan.txt"}));
}

}  // namespace
}  // namespace pellum
