#include "convert/input_dispatch.h"

#include "convert/listing_converter.h"
#include "convert/output_naming.h"
#include "convert/profile_converter.h"

namespace pellum {

namespace {

class QuietMessages : public MessageSink {
 public:
  void ShowMessage(std::string_view, std::string_view, MessageKind) override {}
};

bool EqualsIgnoringCase(std::string_view text, std::string_view lowerCase) {
  if (text.size() != lowerCase.size()) {
    return false;
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
    if (c != lowerCase[i]) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::string TakeExtension(std::string_view path) {
  constexpr std::size_t kLength = 4;
  if (path.size() <= kLength) {
    return std::string(path);
  }
  return std::string(path.substr(path.size() - kLength));
}

bool IsProfilePath(std::string_view path) {
  return EqualsIgnoringCase(TakeExtension(path), ".txt");
}

std::string ConvertedOutputPath(std::string_view inputPath) {
  const std::string extension = TakeExtension(inputPath);
  const bool listing = EqualsIgnoringCase(extension, ".pid");
  std::string baseName;
  QuietMessages quiet;
  if ((!listing && !IsProfilePath(inputPath)) || MakeBaseName(inputPath, baseName, quiet) == 0) {
    return "";
  }
  return MakeOutputPath(baseName, listing ? ".dat" : ".pro");
}

int ConvertInputFile(const std::string& inputPath, const CalibrationCoefficients& coefficients,
                     MessageSink& messages, ConversionStats* stats) {
  // The open-file dialog shows FILM.PID under "*.pid", so the test ignores letter case.
  const std::string extension = TakeExtension(inputPath);
  if (EqualsIgnoringCase(extension, ".pid")) {
    return ConvertListingFile(inputPath, coefficients, messages, stats);
  }
  if (EqualsIgnoringCase(extension, ".txt")) {
    return ConvertProfileFile(inputPath, coefficients, messages, stats);
  }
  return 0;
}

}  // namespace pellum
