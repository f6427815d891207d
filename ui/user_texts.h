#pragma once

#include <string_view>

// Every caption and message the user is shown, in one place: the desktop program's boxes
// and pellum-cli's lines say the same words, and stored habits (scripts that grep the
// command line's output) rely on them staying as they are, odd spelling included.
namespace pellum::texts {

// Refused readings: caption and the three refusals, first that applies.
inline constexpr std::string_view kWarningCaption = "Warning!";
inline constexpr std::string_view kTooLarge = "2 theta value must be below 100.";
inline constexpr std::string_view kNotANumber = "2 theta value must be a number.";
inline constexpr std::string_view kTooFewReadings =
    "At least two reflections with different 2 theta values are needed.";

// A fit whose coefficients are not all finite: the readings determine nothing.
inline constexpr std::string_view kNoCalibration = "The readings do not determine a calibration.";

// Readings far from their reflections: the question before the fit and its two answers.
inline constexpr std::string_view kCheckReadingsCaption = "Check the readings";
inline constexpr std::string_view kUseAnyway = "Use anyway";
inline constexpr std::string_view kEdit = "Edit";

// Conversions: each caption goes with the path it is about as the text.
inline constexpr std::string_view kInvalidInputName = "Invalid input file name";
inline constexpr std::string_view kInvalidFormat = "Invalid file format!";
inline constexpr std::string_view kCannotOpenOutput = "Cannot open an output file!";
inline constexpr std::string_view kCannotWriteOutput = "Cannot write the output file!";
inline constexpr std::string_view kCannotReadInput = "Cannot read the input file!";
inline constexpr std::string_view kCannotOpenFile = "Cannot open a file!";
inline constexpr std::string_view kOutputWouldReplaceInput =
    "The output would replace an input file!";
inline constexpr std::string_view kTwoInputsSameOutput = "Two inputs give the same output!";
inline constexpr std::string_view kCannotWriteRecord = "Cannot write the calibration file!";
inline constexpr std::string_view kCannotWriteChart = "Cannot write the chart file!";

// Readings found in a film's profile: the button, the dialog's note and the refusals,
// each refusal with the profile's path as its text.
inline constexpr std::string_view kFromProfileButton = "From Profile...";
inline constexpr std::string_view kNotFoundNote = "Not found in the profile: ";
inline constexpr std::string_view kAllFoundNote = "All six reflections found in the profile.";
inline constexpr std::string_view kDoubletNote =
    "Fitted as K-alpha1 + K-alpha2 doublets; the readings are K-alpha1's.";
inline constexpr std::string_view kNoSiliconFound = "No silicon reflection found in the profile!";
inline constexpr std::string_view kTooFewSiliconFound =
    "Fewer than two silicon reflections found in the profile!";
// Lines found that may not calibrate the film; the text is the path, then why.
inline constexpr std::string_view kNotSiliconLines = "The lines found are not silicon's!";
inline constexpr std::string_view kOtherPhaseScale =
    "lines of another phase near the silicon positions: ";
inline constexpr std::string_view kScaleSuffix = " % scale";
inline constexpr std::string_view kFluoriteLines = "lines of a fluorite-type phase: ";
inline constexpr std::string_view kWhereSiliconHasNone = ", where silicon has none";
inline constexpr std::string_view kOnlyTwoLines = "only two lines";
inline constexpr std::string_view kNotTheStrongest = ", not silicon's strongest";
inline constexpr std::string_view kProfileCovers = ", though the profile covers ";
inline constexpr std::string_view kStrongestMissing =
    "silicon's strongest reflection in the profile, ";
inline constexpr std::string_view kNotFoundSuffix = ", not found";
// The same for another reference, its material named: "The lines found are not those of
// LaB6 SRM 660c!", "lines of another phase near the positions of LaB6 SRM 660c: 0.9 % scale".
inline constexpr std::string_view kNotLinesOf = "The lines found are not those of ";
inline constexpr std::string_view kTooFewLinesOf = "Fewer than two lines found in the profile of ";
inline constexpr std::string_view kMessageEnd = "!";
inline constexpr std::string_view kOtherPhaseNear = "lines of another phase near the positions of ";
inline constexpr std::string_view kLookAlikeLines = "lines of a look-alike phase: ";
inline constexpr std::string_view kWhere = ", where ";
inline constexpr std::string_view kHasNone = " has none";
inline constexpr std::string_view kNotTheStrongestOf = ", not the strongest of ";
inline constexpr std::string_view kStrongestLineOf = "the strongest line in the profile of ";
inline constexpr std::string_view kStrongLinesFoundOf = "strong lines found of ";
inline constexpr std::string_view kInTheProfile = " in the profile";
inline constexpr std::string_view kInfoCaption = "Info";
inline constexpr std::string_view kOutputSavedPrefix = "Output file is saved as ";
inline constexpr std::string_view kCalibrationSavedPrefix = "Calibration is saved as ";
inline constexpr std::string_view kSaveCalibrationTitle = "Save Calibration";
inline constexpr std::string_view kCalibrationFilter = "Calibration Files (*.cal)";
inline constexpr std::string_view kDefaultCalibrationName = "calibration.cal";

// The chart saved as a picture.
inline constexpr std::string_view kSaveChartTitle = "Save Chart As";
inline constexpr std::string_view kSvgFilter = "SVG Pictures (*.svg)";
inline constexpr std::string_view kPngFilter = "PNG Images (*.png)";
inline constexpr std::string_view kPdfFilter = "PDF Documents (*.pdf)";
inline constexpr std::string_view kDefaultChartName = "calibration-chart.svg";
inline constexpr std::string_view kDefaultCorrectionChartName = "calibration-correction.svg";
inline constexpr std::string_view kChartSavedPrefix = "Chart is saved as ";
inline constexpr std::string_view kChartNameRefused =
    "A chart's file name must end in .svg, .png or .pdf!";

// The open-file dialog: its caption and the filter that shows both kinds of input.
inline constexpr std::string_view kOpenFileTitle = "Open Listing or Profile";
// The entry dialog's "From Profile..." opens only profiles.
inline constexpr std::string_view kOpenProfileTitle = "Open Profile";
inline constexpr std::string_view kListingFilter = "Listing Files (*.PID)";
inline constexpr std::string_view kProfileFilter = "Profile Files (*.TXT)";
inline constexpr std::string_view kListingsAndProfilesFilter =
    "Listings and Profiles (*.pid *.txt)";

// The one setting kept between runs: the folder of the last file opened, in a file of this
// name in the user's configuration folder for the program.
inline constexpr std::string_view kFolderSettingName = "last-folder";
inline constexpr std::string_view kCannotKeepFolder = "Cannot remember the folder!";
// The model rule chosen in the window could not be kept for the next run.
inline constexpr std::string_view kCannotKeepModel = "Cannot remember the model!";
inline constexpr std::string_view kModelSettingName = "model";
// The reference chosen in the Calibration Data dialog (standard and radiation) could not be
// kept for the next run.
inline constexpr std::string_view kCannotKeepReference = "Cannot remember the reference!";
inline constexpr std::string_view kReferenceSettingName = "reference";
// "From Profile..." with a reference other than the built-in silicon table: the note under
// the fields, and the box when none of its lines is in the profile (the text is the path).
inline constexpr std::string_view kLinesFoundNote = "Found in the profile: ";
inline constexpr std::string_view kLinesNotFoundNote = "Not found: ";
inline constexpr std::string_view kLinesSuNote =
    "Each field's tip gives its reading's standard uncertainty.";
inline constexpr std::string_view kNoLineFoundOf = "No line found in the profile of ";

// The powder CIF of the calibration and the files converted with it.
inline constexpr std::string_view kCannotWriteCif = "Cannot write the CIF file!";
inline constexpr std::string_view kInputChangedSinceConversion =
    "The input file has changed since it was converted!";
inline constexpr std::string_view kCifWouldReplaceSource =
    "The CIF would replace a file it is made from!";
inline constexpr std::string_view kCifSavedPrefix = "CIF is saved as ";
inline constexpr std::string_view kExportCifTitle = "Export CIF";
inline constexpr std::string_view kCifFilter = "CIF Files (*.cif)";
inline constexpr std::string_view kDefaultCifName = "calibration.cif";

// The fit report.
inline constexpr std::string_view kReportFileName = "fitdata.txt";
inline constexpr std::string_view kReportNotWrittenLine = "ERROE: Cannot open an output file!\n";
inline constexpr std::string_view kCannotWriteReport = "Cannot write the fit report!";
// Added on a line of its own to the Info after a conversion, and shown in the status bar.
inline constexpr std::string_view kReportSavedPrefix = "Fit report is saved as ";

// The window.
inline constexpr std::string_view kProgramName = "Pellum";
inline constexpr std::string_view kUntitled = "(untitled)";
inline constexpr std::string_view kEntryDialogTitle = "Calibration Data";
inline constexpr std::string_view kAboutDescription = "Guinier Film Calibration Program";
inline constexpr std::string_view kAboutCredit = "Pellum contributors";

}  // namespace pellum::texts
