#include "peaks/profile_points.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <string_view>

#include "convert/field_number.h"
#include "convert/line_reader.h"
#include "convert/token.h"
#include "io/input_file.h"
#include "ui/user_texts.h"

namespace pellum {
namespace {

struct Bin {
  double twoThetaSum = 0.0;
  double intensitySum = 0.0;
  double count = 0.0;
};

// The bins of the spans, lowest first: span by span, kProfileBinWidth each.
class BinnedSpans {
 public:
  explicit BinnedSpans(std::span<const TwoThetaSpan> spans) {
    for (const TwoThetaSpan& span : spans) {
      if (!(span.high >= span.low) || !std::isfinite(span.low) || !std::isfinite(span.high)) {
        continue;
      }
      spans_.push_back(span);
    }
    std::sort(spans_.begin(), spans_.end(),
              [](const TwoThetaSpan& a, const TwoThetaSpan& b) { return a.low < b.low; });
    Merge();
    for (const TwoThetaSpan& span : spans_) {
      first_.push_back(bins_.size());
      bins_.resize(bins_.size() + Count(span));
    }
  }

  void Add(const ProfilePoint& point) {
    for (std::size_t s = 0; s < spans_.size(); ++s) {
      const TwoThetaSpan& span = spans_[s];
      if (point.twoTheta >= span.low && point.twoTheta <= span.high) {
        const auto offset =
            static_cast<std::size_t>((point.twoTheta - span.low) / kProfileBinWidth);
        Bin& bin = bins_[first_[s] + std::min(offset, Count(span) - 1)];
        bin.twoThetaSum += point.twoTheta;
        bin.intensitySum += point.intensity;
        bin.count += 1.0;
        return;
      }
    }
  }

  std::vector<ProfilePoint> Points() const {
    std::vector<ProfilePoint> points;
    for (const Bin& bin : bins_) {
      const ProfilePoint mean{bin.twoThetaSum / bin.count, bin.intensitySum / bin.count};
      // Intensities near the largest double may add up to infinity: such a bin is no point.
      if (bin.count > 0.0 && std::isfinite(mean.intensity)) {
        points.push_back(mean);
      }
    }
    return points;
  }

 private:
  static std::size_t Count(const TwoThetaSpan& span) {
    return static_cast<std::size_t>((span.high - span.low) / kProfileBinWidth) + 1;
  }

  // Overlapping spans become one, so that no point is counted twice.
  void Merge() {
    std::vector<TwoThetaSpan> merged;
    for (const TwoThetaSpan& span : spans_) {
      if (!merged.empty() && span.low <= merged.back().high) {
        merged.back().high = std::max(merged.back().high, span.high);
      } else {
        merged.push_back(span);
      }
    }
    spans_ = std::move(merged);
  }

  std::vector<TwoThetaSpan> spans_;
  std::vector<std::size_t> first_;
  std::vector<Bin> bins_;
};

}  // namespace

ProfileReading ReadProfilePoints(std::istream& in, std::span<const TwoThetaSpan> spans) {
  ProfileReading reading;
  std::string line;
  if (!ReadTextLine(in, line, kKeptLineBytes)) {
    reading.outcome = in.bad() ? ProfileReadOutcome::ReadFailed : ProfileReadOutcome::NoHeader;
    return reading;
  }
  BinnedSpans bins(spans);
  std::array<std::string_view, 2> fields;
  while (ReadTextLine(in, line, kKeptLineBytes)) {
    if (SplitLineTokens(line, fields) != fields.size()) {
      continue;
    }
    const ProfilePoint point{ParseFieldNumber(fields[0]), ParseFieldNumber(fields[1])};
    if (std::isfinite(point.twoTheta) && std::isfinite(point.intensity)) {
      bins.Add(point);
    }
  }
  if (in.bad()) {
    reading.outcome = ProfileReadOutcome::ReadFailed;
    return reading;
  }
  reading.points = bins.Points();
  return reading;
}

bool ReadProfileFile(const std::string& path, std::span<const TwoThetaSpan> spans,
                     std::vector<ProfilePoint>& points, MessageSink& messages) {
  InputFile input;
  if (!input.Open(path)) {
    messages.ShowMessage(path, texts::kCannotOpenFile, MessageKind::Error);
    return false;
  }
  ProfileReading reading = ReadProfilePoints(input.Stream(), spans);
  switch (reading.outcome) {
    case ProfileReadOutcome::NoHeader:
      messages.ShowMessage(path, texts::kInvalidFormat, MessageKind::Error);
      return false;
    case ProfileReadOutcome::ReadFailed:
      messages.ShowMessage(path, texts::kCannotReadInput, MessageKind::Error);
      return false;
    case ProfileReadOutcome::Read:
      break;
  }
  points = std::move(reading.points);
  return true;
}

}  // namespace pellum
