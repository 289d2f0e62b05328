// Writes a set of output files all or nothing: each is written in full under a temporary name in
// its folder, the files it replaces are kept as backups there, and only when every new file is in
// place are the backups dropped; any failure, or a signal, puts every earlier file back.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace bandmatch {

struct OutputFile {
  std::string path;
  std::string content;
};

// The step that moves a finished file into place: the system's rename, or in tests a stand-in
// that fails on cue.
using RenameStep = int (*)(const char* from, const char* to);

// Writes every file, or none: on any failure the existing files are left (or put back) as they
// were and no temporary or backup file remains. Returns an empty text on success, else the
// reason ("cannot write PATH: ...").
std::string writeFilesAtomically(const std::vector<OutputFile>& files,
                                 RenameStep renameStep = std::rename);

}  // namespace bandmatch
