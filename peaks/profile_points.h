#pragma once

#include <istream>
#include <span>
#include <string>
#include <vector>

#include "ui/message_sink.h"

namespace pellum {

// One point of an intensity profile: two-theta in degrees and its intensity.
struct ProfilePoint {
  double twoTheta = 0.0;
  double intensity = 0.0;
};

// A stretch of two-theta, both ends included.
struct TwoThetaSpan {
  double low = 0.0;
  double high = 0.0;
};

enum class ProfileReadOutcome {
  Read,        // points hold the profile within the spans, sorted by two-theta
  NoHeader,    // the file holds no line at all
  ReadFailed,  // the stream broke off (in.bad())
};

struct ProfileReading {
  ProfileReadOutcome outcome = ProfileReadOutcome::Read;
  std::vector<ProfilePoint> points;
};

// The finest two-theta a reading keeps apart, degrees: a quarter of the finest step a film
// reader writes (0.002). Points closer than this are one point, their mean.
inline constexpr double kProfileBinWidth = 0.0005;

// Reads a profile as the profile converter reads it: the first line is a header and never
// data; every later line with at least two fields gives two-theta (field 0) and intensity
// (field 1); a line with fewer fields is skipped; lines keep their first 64 KiB. Only the
// points within one of spans are kept, and points whose numbers are not finite are dropped.
//
// Memory does not grow with the input: each span is cut into bins of kProfileBinWidth,
// and a point adds to the sums of its bin; a bin that got points gives one point, the
// mean of its two-theta and of its intensity. A profile with a coarser step keeps every
// point as it stands; one written downwards, in pieces or with a point twice is read all
// the same. The finder's spans (SiliconReach) hold about 82,000 bins (1.9 MiB).
//
//   "2Theta Counts\n28.40 120\n28.42 130\n" with spans {{28, 29}} -> Read, 2 points
//   "h\n28.4 120\n28.4 130\n"                 with spans {{28, 29}} -> Read, (28.4, 125)
//   "28.40 120\n" (the header line only)                            -> Read, no point
//   ""                                                              -> NoHeader
ProfileReading ReadProfilePoints(std::istream& in, std::span<const TwoThetaSpan> spans);

// Opens the profile at path and reads its points within spans, as above: both finders read
// a film this way. False, with the path shown under "Cannot open a file!", "Invalid file
// format!" (no line at all) or "Cannot read the input file!", when it cannot be read whole;
// points are then left as they were.
bool ReadProfileFile(const std::string& path, std::span<const TwoThetaSpan> spans,
                     std::vector<ProfilePoint>& points, MessageSink& messages);

}  // namespace pellum
