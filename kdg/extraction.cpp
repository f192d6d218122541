#include "kdg/extraction.h"

#include "common/error_box.h"
#include "common/paths.h"
#include "kdg/folders.h"
#include "platform/file_io.h"
#include "platform/files.h"

#include <algorithm>
#include <filesystem>
#include <unordered_map>
#include <unordered_set>

namespace kv::kdg {

namespace {

const char kAccessText[] = "Make sure you're not trying to overwrite a write-protected file. "
                           "Choose Ignore to continue with the next file.";
const char kCreateText[] = "Make sure you have write access to whereever you're extracting and "
                           "that the filename does not contain invalid characters.";

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

// A path text with native separators and no doubled separators, for messages and calls.
std::string nativePath(const std::string& text) {
    const char sep = platform::nativeSeparator();
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (isSeparator(c)) {
            if (!out.empty() && out.back() == sep)
                continue;
            c = sep;
        }
        out += c;
    }
    return out;
}

bool hasParentStep(const std::string& relative) {
    std::size_t start = 0;
    for (std::size_t pos = 0; pos <= relative.size(); ++pos) {
        if (pos != relative.size() && !isSeparator(relative[pos]))
            continue;
        if (relative.compare(start, pos - start, "..") == 0 && pos - start == 2)
            return true;
        start = pos + 1;
    }
    return false;
}

std::optional<std::string> unsafeRelative(const std::string& relative) {
    if (!relative.empty() && isSeparator(relative.front()))
        return "'" + relative + "' is an absolute path";
    if (relative.find(':') != std::string::npos)
        return "'" + relative + "' names a drive or stream";
    if (hasParentStep(relative))
        return "'" + relative + "' climbs out of its folder with \"..\"";
    return std::nullopt;
}

// The first folder of `sub` (below `folder`) that is a symbolic link: files put there
// would land wherever it points. Nothing when every level is a real folder or missing.
std::optional<std::string> linkedFolder(const std::string& folder, const std::string& sub) {
    std::string path = folder;
    std::size_t start = 0;
    for (std::size_t pos = 0; pos < sub.size(); ++pos) {
        if (!isSeparator(sub[pos]))
            continue;
        if (pos > start) {
            path += sub.substr(start, pos - start);
            std::error_code ec;
            if (std::filesystem::is_symlink(platform::resolvePath(path), ec))
                return nativePath(path);
            path += platform::nativeSeparator();
        }
        start = pos + 1;
    }
    return std::nullopt;
}

// An existing entry may be replaced when it is not a folder and not write-protected.
platform::Status replaceable(std::optional<unsigned> attributes) {
    if (!attributes)
        return {};
    if (*attributes & platform::AttrDirectory)
        return {platform::err::PathFileAccess, "Path/File access error"};
    if (*attributes & platform::AttrReadOnly)
        return {platform::err::PermissionDenied, "Permission denied"};
    return {};
}

std::string lowerAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return s;
}

// The folders one extraction writes into, each listed once: finding an existing file
// without regard to case then needs no scan of the folder per file.
class OutputFolders {
public:
    struct Folder {
        std::string resolved;                                        // with a trailing separator
        std::unordered_map<std::string, platform::DirEntry> entries; // by lower-case name
    };

    Folder& get(const std::string& text) {
        auto it = folders_.find(text);
        if (it == folders_.end()) {
            Folder f;
            f.resolved = withTrailingSeparator(platform::resolvePath(text));
            for (platform::DirEntry& e : platform::listDirectory(f.resolved))
                f.entries.emplace(lowerAscii(e.name), std::move(e));
            it = folders_.emplace(text, std::move(f)).first;
        }
        return it->second;
    }

private:
    std::unordered_map<std::string, Folder> folders_;
};

// Where an entry goes on disk, and what is there now.
struct Target {
    std::string path;
    std::optional<unsigned> attributes;      // of the existing entry
    OutputFolders::Folder* folder = nullptr; // set when the name is a plain file name
};

Target locate(OutputFolders& folders, const std::string& folderText, const std::string& name,
              const std::string& output) {
    Target t;
    if (name.find_first_of("\\/") != std::string::npos) {
        t.path = platform::resolvePath(output);
        t.attributes = platform::getAttributes(t.path);
        return t;
    }
    t.folder = &folders.get(folderText);
    const auto hit = t.folder->entries.find(lowerAscii(name));
    if (hit == t.folder->entries.end()) {
        t.path = t.folder->resolved + name;
    } else {
        t.path = t.folder->resolved + hit->second.name;
        t.attributes = hit->second.attributes;
    }
    return t;
}

enum class Step { Done, Skip, Abort };

Step askAbortRetryIgnore(Ui& ui, const std::string& text, bool& retry) {
    switch (ui.message(text, Icon::Exclamation, Buttons::AbortRetryIgnore)) {
    case Answer::Retry:
        retry = true;
        return Step::Done;
    case Answer::Ignore:
        return Step::Skip;
    default:
        return Step::Abort;
    }
}

enum class CopyFailure { None, Read, Write };

// Moves an entry's data into a temporary file in steps of kCopyStep bytes. The finished
// temporaries wait in a batch that is made durable with one flush and then renamed into
// place, so a file appears only once it is complete and on disk.
struct Copier {
    Copier(const platform::RandomAccessFile& a, Progress& p, std::uint64_t& done,
           std::uint64_t total)
        : archive(a), progress(p), bytesDone(done), totalBytes(total) {}

    const platform::RandomAccessFile& archive;
    Progress& progress;
    std::uint64_t& bytesDone;
    std::uint64_t totalBytes;
    std::vector<std::uint8_t> buffer = std::vector<std::uint8_t>(kCopyStep);
    platform::Status readError;
    platform::Status writeError;

    CopyFailure fillTemporary(const KdgEntry& e, platform::AtomicFileWriter& out,
                              const std::string& outputPath) {
        if (platform::Status s = out.open(outputPath, platform::AtLink::Replace); !s)
            return writeFailed(s);
        std::uint64_t done = 0;
        while (done < e.Size) {
            const std::size_t step = std::size_t(std::min<std::uint64_t>(kCopyStep, e.Size - done));
            if (platform::Status s = archive.readAt(e.DataOffset + done, buffer.data(), step); !s) {
                readError = s;
                return CopyFailure::Read;
            }
            if (platform::Status s = out.write(buffer.data(), step); !s)
                return writeFailed(s);
            done += step;
            progress.setProgress(bytesDone + done, totalBytes);
        }
        bytesDone += done;
        return CopyFailure::None;
    }

    CopyFailure writeEntry(const KdgEntry& e, const std::string& outputPath,
                           platform::AtomicFileBatch& batch) {
        platform::AtomicFileWriter out;
        if (CopyFailure f = fillTemporary(e, out, outputPath); f != CopyFailure::None)
            return f;
        if (platform::Status s = batch.add(std::move(out)); !s)
            return writeFailed(s);
        return CopyFailure::None;
    }

    // For a file whose batched rename failed: written again, on its own.
    CopyFailure rewriteEntry(const KdgEntry& e, const std::string& outputPath) {
        platform::AtomicFileWriter out;
        if (CopyFailure f = fillTemporary(e, out, outputPath); f != CopyFailure::None)
            return f;
        if (platform::Status s = out.commit(); !s)
            return writeFailed(s);
        return CopyFailure::None;
    }

    CopyFailure writeFailed(const platform::Status& s) {
        writeError = s;
        return CopyFailure::Write;
    }
};

// The entries whose temporaries wait in the batch, in the batch's order.
struct PendingFile {
    const KdgEntry* entry;
    std::string output; // as the messages show it
    std::string path;   // on disk
};

} // namespace

std::vector<ArchiveFileListItem> archiveFileListItems(const KdgArchiveInfo& info) {
    std::vector<ArchiveFileListItem> items;
    for (std::size_t i = 0; i < info.Entries.size(); ++i)
        if (!info.Entries[i].IsEmpty)
            items.push_back({info.Entries[i].Name, "item" + std::to_string(i)});
    return items;
}

std::string groupSubFolder(const std::string& group) {
    if (group.size() <= 2)
        return "\\";
    std::string sub = group;
    if (sub.front() == '\\')
        sub.erase(0, 1);
    if (sub.empty() || sub.back() != '\\')
        sub += '\\';
    return sub;
}

std::optional<std::string> unsafeOutputName(const KdgEntry& entry) {
    if (entry.Group.size() > 2) {
        std::string group = entry.Group;
        if (group.front() == '\\')
            group.erase(0, 1);
        if (auto why = unsafeRelative(group))
            return "the folder " + *why;
    }
    if (entry.Name.empty() || entry.Name == "." || isSeparator(entry.Name.back()))
        return "the entry has no file name";
    if (auto why = unsafeRelative(entry.Name))
        return "the name " + *why;
    return std::nullopt;
}

namespace {

// The files of one extraction that are written but not yet in place.
class PendingFiles {
public:
    PendingFiles(Copier& copier, ExtractResult& result, Ui& ui)
        : copier_(copier), result_(result), ui_(ui) {}

    platform::AtomicFileBatch& batch() { return batch_; }
    void add(const KdgEntry& e, const std::string& output, const std::string& path) {
        files_.push_back({&e, output, path});
    }

    // Makes the pending files durable and puts them in place. A file that cannot take its
    // name is put to the user like one that could not be created; false on Abort.
    bool commit() {
        std::vector<platform::AtomicFileBatch::Failure> failures = batch_.commit();
        std::vector<PendingFile> files;
        files.swap(files_);
        result_.extracted += files.size() - failures.size();
        for (const auto& f : failures) {
            const PendingFile& file = files[f.index];
            copier_.writeError = f.status;
            Step step = Step::Done;
            for (bool retry = true; retry && step == Step::Done;) {
                retry = false;
                step = askAbortRetryIgnore(
                    ui_, "Couldn't create the file \r" + file.output + "\r" + kCreateText, retry);
                if (retry && copier_.rewriteEntry(*file.entry, file.path) == CopyFailure::None)
                    break;
            }
            if (step == Step::Done)
                ++result_.extracted;
            else
                ++result_.skipped;
            if (step == Step::Abort)
                return false;
        }
        return true;
    }

private:
    Copier& copier_;
    ExtractResult& result_;
    Ui& ui_;
    platform::AtomicFileBatch batch_;
    std::vector<PendingFile> files_;
};

} // namespace

ExtractResult ExtractArchive(const std::string& archivePath, const std::string& folderText,
                             const KdgArchiveInfo& info, Ui& ui, Progress& progress) {
    ExtractResult result;
    const std::string folder = withTrailingSeparator(folderText);

    platform::RandomAccessFile archive;
    if (platform::Status s = archive.open(archivePath); !s) {
        showErrorBox(ui, s.code, s.description, "ExtractArchive");
        result.outcome = ExtractOutcome::Failed;
        return result;
    }
    archive.adviseSequential(0, archive.size());

    std::size_t count = 0;
    std::uint64_t totalBytes = 0;
    for (const KdgEntry& e : info.Entries) {
        if (!e.IsEmpty) {
            ++count;
            totalBytes += e.Size;
        }
    }
    // The reader refuses archives whose files share data, so the total is what the
    // archive holds; it is still refused up front when the disk cannot take it.
    if (const auto free = platform::freeSpace(folder); free && totalBytes > *free) {
        const std::string text = "the files need " + std::to_string(totalBytes) +
                                 " bytes, but only " + std::to_string(*free) + " are free in " +
                                 folder;
        ui.message("ExtractArchive() - nothing is extracted: " + text, Icon::Exclamation);
        result.outcome = ExtractOutcome::Failed;
        result.skipped = count;
        result.writeError = {platform::err::DiskFull, "Disk full (" + text + ")"};
        return result;
    }
    Copier copier(archive, progress, result.bytes, totalBytes);
    PendingFiles pending(copier, result, ui);
    OutputFolders folders;
    std::unordered_set<std::string> madeFolders;
    std::unordered_map<std::string, std::optional<std::string>> linkedFolders; // by sub-folder
    // Files written so far are put in place whatever ends the extraction.
    const auto end = [&](ExtractOutcome outcome) {
        if (!pending.commit() && outcome == ExtractOutcome::Completed)
            outcome = ExtractOutcome::Aborted;
        result.outcome = outcome;
        result.writeError = copier.writeError;
        return result;
    };

    std::size_t index = 0;
    for (const KdgEntry& e : info.Entries) {
        if (e.IsEmpty)
            continue;
        ++index;
        if (progress.stopRequested())
            return end(ExtractOutcome::Stopped);
        progress.setStatus("Extracting file " + std::to_string(index) + " of " +
                           std::to_string(count) + ": " + e.Name);

        std::optional<std::string> why = unsafeOutputName(e);
        if (!why && e.Group.size() > 2) {
            const std::string sub = groupSubFolder(e.Group);
            auto link = linkedFolders.find(sub);
            if (link == linkedFolders.end())
                link = linkedFolders.emplace(sub, linkedFolder(folder, sub)).first;
            if (link->second)
                why = "the folder " + *link->second + " is a link";
        }
        if (why) {
            const Answer a =
                ui.message("ExtractArchive() - " + e.Name + " is not extracted: " + *why +
                               ", which could lead outside " + folder +
                               "\r\rChoose OK to continue with the next file.",
                           Icon::Exclamation, Buttons::OkCancel);
            ++result.skipped;
            if (a != Answer::Ok)
                return end(ExtractOutcome::Aborted);
            continue;
        }
        // The archive may have changed since it was read.
        if (e.DataOffset > archive.size() || e.Size > archive.size() - e.DataOffset) {
            showErrorBox(ui, 62, "Input past end of file", "ExtractArchive");
            return end(ExtractOutcome::Failed);
        }

        std::string sub = groupSubFolder(e.Group);
        if (sub != "\\" && !madeFolders.count(sub)) {
            if (MakeDirTree(folder + sub, ui))
                madeFolders.insert(sub);
            else
                sub.clear();
        }
        const std::string output = nativePath(folder + sub + e.Name);
        Target target = locate(folders, folder + sub, e.Name, output);

        Step step = Step::Done;
        for (bool retry = true; retry && step == Step::Done;) {
            retry = false;
            if (!replaceable(target.attributes)) {
                step = askAbortRetryIgnore(
                    ui, "Couldn't access the file. " + output + "\r\r" + kAccessText, retry);
                if (retry)
                    target.attributes = platform::getAttributes(target.path);
            }
        }
        for (bool retry = step == Step::Done; retry && step == Step::Done;) {
            retry = false;
            const CopyFailure failure = copier.writeEntry(e, target.path, pending.batch());
            if (failure == CopyFailure::Read) {
                showErrorBox(ui, copier.readError.code, copier.readError.description,
                             "ExtractArchive");
                return end(ExtractOutcome::Failed);
            }
            if (failure == CopyFailure::Write)
                step = askAbortRetryIgnore(
                    ui, "Couldn't create the file \r" + output + "\r" + kCreateText, retry);
        }
        if (step == Step::Done) {
            pending.add(e, output, target.path);
            if (target.folder) {
                // What is on disk once the batch is in place: a fresh, writable file.
                platform::DirEntry& now = target.folder->entries[lowerAscii(e.Name)];
                if (now.name.empty())
                    now.name = e.Name;
                now.isFolder = false;
                now.attributes = platform::AttrNormal;
            }
            if (pending.batch().full() && !pending.commit())
                return end(ExtractOutcome::Aborted);
        }
        if (step == Step::Abort)
            return end(ExtractOutcome::Aborted);
        if (step == Step::Skip)
            ++result.skipped;
    }
    progress.setProgress(result.bytes, totalBytes);
    return end(ExtractOutcome::Completed);
}

} // namespace kv::kdg
