#pragma once

#include <string>
#include <vector>

#include "convert/cif_blocks.h"
#include "io/file_stamp.h"
#include "ui/message_sink.h"

namespace pellum {

// A file converted with the calibration, to be given its block: a profile (".txt", any
// letter case) or a peak listing (".pid"), the output it was converted to, and its stamp
// from just before the conversion.
struct CifSource {
  std::string inputPath;
  std::string outputPath;
  FileStamp stamp;
};

// Writes the powder CIF at path: the calibration block, then one block per source, each
// source read again (the CIF of a profile of any length is streamed, never held). The file
// is written like every output, complete or not at all. False, with nothing written, after
// one of these messages:
//   a source whose stamp changed since its conversion (edited, replaced or removed): its path
//     under "The input file has changed since it was converted!", since the CIF would then
//     not hold what the output holds
//   a source that cannot be read again whole: its path under "Cannot read the input file!"
//   the CIF that cannot be created or written: path under "Cannot write the CIF file!"
//
//   WriteCifFile("/data/film.cif", calibration, {{"/data/film.txt", "/data/film.pro", stamp}},
//                messages)   -> data_calibration, then data_film.txt
bool WriteCifFile(const std::string& path, const CifCalibration& calibration,
                  const std::vector<CifSource>& sources, MessageSink& messages);

}  // namespace pellum
