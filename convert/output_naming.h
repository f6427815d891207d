#pragma once

#include <string>
#include <string_view>

#include "ui/message_sink.h"

namespace pellum {

// Cuts path at the first '.' of the file's own name (after its last separator, see
// IsPathSeparator), so that the output lands beside the input whatever dots its folders
// hold. Returns 1 with the base name, or shows the path under "Invalid input file name" as
// an error and returns 0 when the file's own name holds no '.' (an empty path included) or
// the path holds a line end.
//
//   MakeBaseName("/data/run.2/film.pid") -> 1, "/data/run.2/film"
//   MakeBaseName("film.old.pid")         -> 1, "film"
//   MakeBaseName("/data/run.2/film")     -> 0, after the refusal message
int MakeBaseName(std::string_view path, std::string& baseName, MessageSink& messages);

// The base name followed by the extension: MakeOutputPath("/data/film", ".dat") ->
// "/data/film.dat".
std::string MakeOutputPath(std::string_view baseName, std::string_view extension);

}  // namespace pellum
