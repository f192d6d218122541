#pragma once
// The one way this program replaces a file: the new contents go into a temporary file in
// the target's folder, reach the disk, and only then take the target's name by rename. A
// crash at any moment leaves the old file or the new one, never half of either, and the
// temporaries a killed write leaves behind are swept by the next write to that folder.
#include "platform/status.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kv::platform {

// Temporaries are named ".kvtmp-" and six random characters, whatever the target is
// called, so that a target name of the full 255 bytes can still be written.
inline constexpr std::string_view kTempPrefix = ".kvtmp-";
inline constexpr std::size_t kTempNameLength = 13;

// Whether `name` (no folder) is a temporary of this program, including the longer
// "<target>.kvtmp-XXXXXX" names of earlier versions.
bool isTemporaryName(std::string_view name);

// The file `path` finally names when its last component is a symbolic link (chains and
// dangling links followed); `path` itself otherwise.
std::string followFileLinks(const std::string& path);

// What a write does with a symbolic link at its target path. A settings file or registry
// store the user linked on purpose stays a link and is written through (Follow); what
// comes out of an archive or goes into the game folder takes the link's place (Replace),
// so a link planted there cannot send the data outside the folder.
enum class AtLink { Follow, Replace };

// Deletes the temporaries of killed writes in `folder`: this program's temporaries that no
// live writer holds (each writer holds a lock on its temporary until the rename). Every
// writer calls it the first time it writes into a folder; the count removed is returned.
std::size_t sweepStaleTemporaries(const std::string& folder);

// Writes one file in pieces; commit() makes it durable and renames it into place. Until
// then the target is untouched; abandoning (or destroying) removes the temporary.
class AtomicFileWriter {
public:
    AtomicFileWriter() = default;
    ~AtomicFileWriter();
    AtomicFileWriter(AtomicFileWriter&& other) noexcept;
    AtomicFileWriter& operator=(AtomicFileWriter&& other) noexcept;
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // The target path is used as given, not matched without regard to case: callers pass
    // a path from resolvePath (or one they resolved themselves). A rewritten file keeps
    // its mode; a new one gets the umask's.
    Status open(std::string_view targetPath, AtLink atLink = AtLink::Follow);
    Status write(const void* data, std::size_t length);
    Status commit();
    void abandon();

    bool isOpen() const { return fd_ >= 0; }
    const std::string& target() const { return target_; } // with links followed if asked

private:
    friend class AtomicFileBatch;
    Status finishData(); // mode set, write-back started
    Status renameIntoPlace();
    Status fail(int error); // abandons and describes the error

    int fd_ = -1;
    std::string target_;
    std::string temp_;
};

// Many files written together (extraction, installs): each is written to its temporary,
// then one flush per file system makes them all durable before the renames, instead of
// paying a sync per file.
class AtomicFileBatch {
public:
    struct Failure {
        std::size_t index; // in the order the files were added
        std::string target;
        Status status;
    };

    AtomicFileBatch() = default;
    ~AtomicFileBatch(); // abandons what was not committed
    AtomicFileBatch(const AtomicFileBatch&) = delete;
    AtomicFileBatch& operator=(const AtomicFileBatch&) = delete;

    // Takes a writer whose data is all written and starts its write-back; a failure
    // (the writer is then abandoned) is returned at once.
    Status add(AtomicFileWriter&& writer);
    // Each pending file holds a descriptor, so callers commit when the batch is full.
    bool full() const { return pending_.size() >= kMaxPending; }
    std::size_t size() const { return pending_.size(); }
    // Flushes, then renames every pending file; the ones that could not be put in place.
    std::vector<Failure> commit();
    void abandon();

    static constexpr std::size_t kMaxPending = 256;

private:
    std::vector<AtomicFileWriter> pending_;
};

} // namespace kv::platform
