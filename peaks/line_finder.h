#pragma once

#include <span>
#include <string>
#include <vector>

#include "peaks/silicon_finder.h"

namespace pellum {

// The finder of any reference's lines: the silicon finder's search (the common offset,
// one window per line, the checks across them) over the lines of a standard computed for
// the film's wavelength, with the set checks generalized. The built-in silicon table keeps
// its own finder (FindSiliconReflections); this one takes the lines as plain data.

// A line to look for: its hkl, its true two-theta for the film's wavelength and its
// relative intensity (100 for the reference's strongest line).
//   {1, 0, 0, 21.3567, 58.5}   LaB6 SRM 660c 1 0 0, Cu K-alpha1
struct FinderLine {
  int h = 0, k = 0, l = 0;
  double twoTheta = 0.0;
  double intensity = 0.0;
};

// What the finder looks for: the reference's lines in order of two-theta, where a phase
// that looks like it shows lines it has not (lookAlike; intensities unused), its material
// for the messages, and K-alpha2's wavelength over K-alpha1's (0 when the radiation's
// K-alpha2 is not known: the doublets are then never tried).
//   silicon SRM 640e, Cr K-alpha1: 1 1 1 at 42.83 ... 4 2 2; look-alike 2 0 0, 2 2 2, 4 2 0
struct LineSet {
  std::string material;
  std::vector<FinderLine> lines;
  std::vector<FinderLine> lookAlike;
  double kAlpha2Ratio = 0.0;
};

// What was found of each line, in the set's order.
struct LineSearch {
  std::vector<ReflectionSearch> lines;
  FilmOffset offset;
  SiliconSetCheck check;  // why the set found was refused, if it was; strongest indexes lines
  bool kAlpha2 = false;   // each line was fitted as a K-alpha doublet

  int FoundCount() const;
  bool Refused() const { return check.refusal != SetRefusal::None; }
};

// At most this many lines are searched, the strongest: a cell of the user's far larger
// than a standard's would otherwise make the search, and its memory, grow without use.
inline constexpr std::size_t kMostSearchedLines = 100;

// The stretches of two-theta the finder reads: each line's reach, its window and the
// widest peak's flanks, and the same about each look-alike line.
std::vector<TwoThetaSpan> LinesReach(const LineSet& set, const SiliconFinderOptions& options = {});

// Finds the set's lines among points sorted by two-theta, as FindSiliconReflections finds
// silicon's: the common offset from the candidates of the lines of 10 per cent or more,
// a window per line, the checks across them, a line found at 100 degrees or beyond (no
// reading) left AtProfileEdge, lines far stronger than the reference makes them dropped
// (UnlikeSilicon), and last the set's checks (CheckLineSet); when the set is
// refused every line found becomes NotSilicon. options.kAlpha2Ratio is taken from set.
//
//   LaB6 SRM 660c for Cu K-alpha1, every line 0.2 degree above its place
//   -> each line of 3 % or more Found within 0.005 degree, offset.shift 0.2
LineSearch FindReferenceLines(std::span<const ProfilePoint> points, const LineSet& set,
                              const SiliconFinderOptions& options = {});

// Reads the profile at path over LinesReach and finds the lines in it; false, with the path
// shown, when it cannot be read whole, as FindSiliconInProfile.
bool FindLinesInProfile(const std::string& path, const LineSet& set,
                        const SiliconFinderOptions& options, LineSearch& search,
                        MessageSink& messages);

// "1 1 1", or "1 0 10": a line's hkl as the residual lines show it.
std::string LineHklText(const FinderLine& line);

// One reading per line as pellum-cli's --two-theta takes them, "-1" for one not found.
//   "21.5567,30.5821,-1,43.6112"
std::string TwoThetaListText(const LineSearch& search);

// Why the set found may not calibrate the film, empty when it may:
//   "lines of another phase near the positions of CeO2 SRM 674b: 0.9 % scale"
//   "lines of a look-alike phase: 2 0 0 at 49.01, where silicon SRM 640e has none"
//   "only two lines, though the profile covers 9"
//   "the strongest line in the profile of LaB6 SRM 660c, 1 1 0, not found"
//   "strong lines found of LaB6 SRM 660c: 1 of 4 in the profile"
std::string RefusalText(const LineSearch& search, const LineSet& set);

}  // namespace pellum
