#pragma once
// Extraction of every stored file of an archive into a folder tree. Each file is written
// completely or not at all, no file lands outside the destination folder, and problems
// are put to the user as Abort/Retry/Ignore questions.
#include "common/progress.h"
#include "common/ui_port.h"
#include "kdg/archive_info.h"
#include "platform/status.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kv::kdg {

// Data is moved in steps of at most this many bytes.
inline constexpr std::uint32_t kCopyStep = 64000;

// One item of the main window's archive file list.
struct ArchiveFileListItem {
    std::string text; // the entry's Name
    std::string key;  // "item" + row index
};
std::vector<ArchiveFileListItem> archiveFileListItems(const KdgArchiveInfo& info);

// The sub-folder an entry's Group asks for: "\" for a group of two characters or less,
// otherwise the group without one leading "\" and with a trailing "\".
std::string groupSubFolder(const std::string& group);

// Why an entry's Group or Name could lead outside the destination folder ("..", an
// absolute path, a drive), or nothing when it is safe.
std::optional<std::string> unsafeOutputName(const KdgEntry& entry);

enum class ExtractOutcome { Completed, Aborted, Stopped, Failed };

struct ExtractResult {
    ExtractOutcome outcome = ExtractOutcome::Completed;
    std::size_t extracted = 0;   // files written
    std::size_t skipped = 0;     // files left out (Ignore or an unsafe name)
    std::uint64_t bytes = 0;     // bytes written
    platform::Status writeError; // why the last file that could not be written failed
};

// Extracts every non-empty entry of `info` (read from `archivePath`) into `folder`;
// nothing when the entries need more than the folder's free space. An entry takes the
// place of a link at its output path instead of writing through it.
// Progress: status "entry i of n", progress in bytes; a stop request is honoured
// between entries.
ExtractResult ExtractArchive(const std::string& archivePath, const std::string& folder,
                             const KdgArchiveInfo& info, Ui& ui, Progress& progress);

} // namespace kv::kdg
