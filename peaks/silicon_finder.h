#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "peaks/film_offset.h"
#include "peaks/peak_fit.h"
#include "peaks/profile_points.h"
#include "ui/message_sink.h"

namespace pellum {

// Which lines of the X-ray tube the profile shows: K-alpha1 alone (a monochromator, a
// Guinier camera), K-alpha1 and K-alpha2 (a diffractometer without one), or whichever fits
// the profile better.
enum class RadiationLines { Auto, KAlpha1, KAlpha12 };

// How the six silicon reflections are looked for in a profile; all in degrees two-theta.
struct SiliconFinderOptions {
  // With Auto the profile is searched both ways, and the K-alpha doublet is taken when it
  // fits the reflections found better than single peaks do.
  RadiationLines radiationLines = RadiationLines::Auto;
  // Each reflection is searched within +- window of where the film's common offset puts it.
  double window = 0.6;
  // How far the film may put a reflection from its true two-theta; the common offset is
  // looked for within this reach.
  double maxOffset = 1.0;
  // A peak is clear when its height is at least this many times the noise.
  double minSnr = 5.0;
  // A plausible peak is at least this wide (and one profile step), at most maxFwhm.
  double minFwhm = 0.01;
  double maxFwhm = 0.5;
  // With three or more found, each lies within this of the line through the others.
  double agreement = 0.1;
  // The largest scale error of a film (0.003: 0.3 per cent longer or shorter). A set of
  // lines that needs more, beyond what its positions tell apart, is another phase's.
  double maxScale = 0.003;
  // K-alpha2's wavelength over K-alpha1's, for the doublets: copper's unless the reference's
  // radiation is another tube's.
  double kAlpha2Ratio = kKAlpha2WavelengthRatio;
};

// Why a reflection is, or is not, found.
enum class PeakVerdict {
  Found,
  NoPeak,            // nothing rises in the window, or no peak shape fits what does
  Faint,             // a peak, but its signal-to-noise is below minSnr
  ImplausibleWidth,  // narrower or wider than a peak of this profile can be
  AtWindowEdge,      // its centre is within half a width of the window's edge
  AtProfileEdge,     // the profile ends, or has a gap, within a width of its centre
  Shared,            // another reflection took this peak, and it lies nearer to that one
  OffTheLine,        // the other reflections put this one elsewhere
  UnlikeSilicon,     // far stronger than silicon makes it beside the others: a sample line
  NotSilicon,        // a peak, but the set it belongs to is not silicon's (SetRefusal)
};

// Why the set of reflections found may not calibrate the film, though two or more were
// found.
enum class SetRefusal {
  None,
  OtherPhaseScale,  // they need a scale error beyond maxScale: a phase on another cell
  FluoriteLines,    // strong lines where a fluorite-type cell of that size has them
  TooFewLines,      // two, where the profile covers more of the reflections
  NotStrongest,     // silicon's strongest reflection in the profile is not among them
  // Another reference's lines only (line_finder.h):
  LookAlikeLines,      // strong lines where a look-alike phase has them and it has none
  StrongLinesMissing,  // fewer than half of its strong lines in the profile found
};

// The verdict on the set found, and what it rests on.
struct SiliconSetCheck {
  SetRefusal refusal = SetRefusal::None;
  double scale = 0.0;         // the least-squares scale through the found positions
  int covered = 0;            // how many of the six the profile covers
  std::size_t strongest = 0;  // silicon's strongest reflection that the profile covers
  bool strongestFound = true;
  std::string extraHkl;  // FluoriteLines: the strong line silicon has not ("2 0 0")
  double extraPosition = 0.0;
  int strongCovered = 0;  // another reference: its strong lines the profile covers
  int strongFound = 0;    // and how many of those were found
};

struct ReflectionSearch {
  double reference = 0.0;  // the reflection's true two-theta
  double windowLow = 0.0;
  double windowHigh = 0.0;
  PeakVerdict verdict = PeakVerdict::NoPeak;
  // The peak found, or else the first one tried (all zero when none was): centre, height
  // above the background, full width at half maximum, height over the noise, and the
  // centre's standard uncertainty.
  double position = 0.0;
  double height = 0.0;
  double fwhm = 0.0;
  double snr = 0.0;
  double su = 0.0;  // the position's standard uncertainty (the fit's centreSu)
  PeakFit fit;

  bool Found() const { return verdict == PeakVerdict::Found; }
};

struct SiliconSearch {
  std::array<ReflectionSearch, 6> reflections;  // in the reference table's order
  FilmOffset offset;                            // the common offset the windows follow
  SiliconSetCheck check;                        // why the set found was refused, if it was
  bool kAlpha2 = false;  // each reflection was fitted as a K-alpha doublet (KAlpha12)

  int FoundCount() const;
  bool Refused() const { return check.refusal != SetRefusal::None; }
};

// The stretches of two-theta the finder reads: each reflection's reach, its window and
// the widest peak's flanks; and the same about 2 0 0, 2 2 2 and 4 2 0 of silicon's cell,
// where a fluorite-type phase shows lines that silicon has not.
std::vector<TwoThetaSpan> SiliconReach(const SiliconFinderOptions& options = {});

// Finds the six reflections among points sorted by two-theta (as ReadProfilePoints gives
// them): the common offset first, from the candidates within maxOffset of every
// reflection; then in each window the candidates nearest the offset's prediction are
// fitted (FitPeak) until one is clear, of plausible width and away from the window's and
// the profile's edges; last, two reflections never keep one peak, and one whose width or
// place does not agree with the others is dropped, and so is one far stronger than
// silicon makes it. Last, the set must be silicon's (CheckSiliconSet); when it is not,
// check says why and every reflection found becomes NotSilicon.
//
//   a profile with the six peaks 0.3 degree above the reference positions
//   -> six Found, each position within a small fraction of the step, offset.shift 0.3
SiliconSearch FindSiliconReflections(std::span<const ProfilePoint> points,
                                     const SiliconFinderOptions& options = {});

// Reads the profile at path (ReadProfilePoints over SiliconReach) and finds the
// reflections in it. False, with the path shown under "Cannot open a file!",
// "Invalid file format!" (no line at all) or "Cannot read the input file!", when the
// profile cannot be read whole; search is then left as it was.
bool FindSiliconInProfile(const std::string& path, const SiliconFinderOptions& options,
                          SiliconSearch& search, MessageSink& messages);

}  // namespace pellum
