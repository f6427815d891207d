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
inline constexpr std::string_view kNoSiliconFound = "No silicon reflection found in the profile!";
inline constexpr std::string_view kTooFewSiliconFound =
    "Fewer than two silicon reflections found in the profile!";
inline constexpr std::string_view kInfoCaption = "Info";
inline constexpr std::string_view kOutputSavedPrefix = "Output file is saved as ";
inline constexpr std::string_view kCalibrationSavedPrefix = "Calibration is saved as ";
inline constexpr std::string_view kSaveCalibrationTitle = "Save Calibration";
inline constexpr std::string_view kCalibrationFilter = "Calibration Files (*.cal)";
inline constexpr std::string_view kDefaultCalibrationName = "calibration.cal";

// The fit report.
inline constexpr std::string_view kReportFileName = "fitdata.txt";
inline constexpr std::string_view kReportNotWrittenLine = "ERROE: Cannot open an output file!\n";
inline constexpr std::string_view kCannotWriteReport = "Cannot write the fit report!";

// The window.
inline constexpr std::string_view kProgramName = "Pellum";
inline constexpr std::string_view kUntitled = "(untitled)";
inline constexpr std::string_view kEntryDialogTitle = "Calibration Data";
inline constexpr std::string_view kAboutDescription = "Guinier Film Calibration Program";
inline constexpr std::string_view kAboutCredit = "Pellum contributors";

}  // namespace pellum::texts
