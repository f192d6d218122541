#pragma once
// File-system services. Every function takes a path *text* as the rest of the system
// writes it: separators may be '\' or '/', and each name is matched without regard to
// letter case when the exact name does not exist ("Multiplay\SKIRMISH\Player0.SLO"
// finds multiplay/skirmish/player0.slo). Names that do not exist yet are kept as given.
#include "platform/status.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::platform {

// Attribute bits, numbered as the Windows file attributes.
enum Attribute : unsigned {
    AttrNormal = 0,
    AttrReadOnly = 1,
    AttrHidden = 2,
    AttrDirectory = 16,
};

struct DirEntry {
    std::string name; // as stored on disk
    bool isFolder = false;
    std::uint64_t size = 0;
    unsigned attributes = AttrNormal;
};

// The native separator, '/' on POSIX and '\' on Windows.
char nativeSeparator();

// The path on disk the text names: existing components matched case-insensitively when
// the exact name is missing, '\' turned into the native separator, trailing separators
// kept. A relative text is resolved against the current directory.
std::string resolvePath(std::string_view pathText);

bool pathExists(std::string_view path);
bool fileExists(std::string_view path);   // a regular file
bool folderExists(std::string_view path); // a directory
std::optional<std::uint64_t> fileLength(std::string_view path);

// Entries of `folder` whose names match `pattern` ('*' and '?', case-insensitive), in
// the order the directory yields them; "." and ".." are never listed.
std::vector<DirEntry> listDirectory(std::string_view folder, std::string_view pattern = "*");

std::optional<unsigned> getAttributes(std::string_view path);
Status setAttributes(std::string_view path, unsigned attributes);
// Clears read-only and hidden so the entry can be replaced or deleted.
Status clearAttributes(std::string_view path);

Status createFolder(std::string_view path);     // one level
Status createFolderTree(std::string_view path); // every missing level
// A link at `to` is replaced by the copy, never written through.
Status copyFile(std::string_view from, std::string_view to, bool overwrite = true);
Status renameEntry(std::string_view from, std::string_view to);
Status deleteFile(std::string_view path);
Status removeFolder(std::string_view path); // an empty folder

// What a whole-file read takes unless the caller's format allows another size.
inline constexpr std::uint64_t kDefaultReadLimit = std::uint64_t(64) << 20;

// Reads a regular file whole. A folder, FIFO or device is refused before a byte is read,
// and so is a file longer than `maxBytes`: a reader can neither block nor run out of memory.
Status readFile(std::string_view path, std::string& contents,
                std::uint64_t maxBytes = kDefaultReadLimit);
// Writes through AtomicFileWriter (atomic_file.h): a crash leaves either the old file or
// the new one, never half of either, and a linked target stays a link.
Status writeFileAtomic(std::string_view path, std::string_view contents);
// Several whole files replaced together (an install's scripts): all are written to
// temporaries and made durable with one flush before any takes its name, instead of a
// flush per file. Returns the first failure; the other files are in place. A link at a
// target is replaced, not written through, as with copyFile.
struct FileContents {
    std::string path;
    std::string contents;
};
Status writeFilesAtomic(const std::vector<FileContents>& files);

std::string currentDirectory(); // with a trailing separator
Status setCurrentDirectory(std::string_view path);

} // namespace kv::platform
