#pragma once

namespace pellum {

// Makes SIGINT, SIGTERM and SIGHUP remove every temporary file a ReplacingOutputFile holds
// open before the process ends, so that an interrupted conversion or report leaves the
// earlier output as it was and no hidden file beside it. The process then ends by the same
// signal with its default action (a shell reports 128 + the signal), so that a script or
// a shell loop around the program sees the interruption for what it is. A signal that was
// ignored when this is called (nohup's SIGHUP) stays ignored. Call once at start-up, before
// any other thread starts.
void InstallTemporaryFileCleanup();

// The registry behind it, for ReplacingOutputFile. A path is copied when registered;
// -1 means every slot is taken (the file is then not removed by a signal, nothing else).
int RegisterTemporaryFile(const char* path);
void UnregisterTemporaryFile(int slot);

}  // namespace pellum
