#pragma once
// The text list of an archive's files: header values, KRF sections, the record count and
// one line per stored file.
#include "common/ui_port.h"
#include "kdg/archive_info.h"

#include <string>
#include <vector>

namespace kv::kdg {

// The lines of the list, without line ends.
std::vector<std::string> fileListLines(const KdgArchiveInfo& info);

// The list file's name for an archive: its trimmed file name without the last "." and
// what follows, plus ".txt".
std::string fileListName(const std::string& archiveFileName);

// Writes folder + fileListName(info.FileName) with CR LF line ends, after the two notices
// the launcher has always shown. False without writing when a path is blank, the record is
// not loaded or has no file name, or the file cannot be written (then the error box shows).
bool SaveFileList(const std::string& archivePath, const std::string& folder,
                  const KdgArchiveInfo& info, Ui& ui);

} // namespace kv::kdg
