#include "kdg/archive_reader.h"
#include "kdg/extraction.h"
#include "kdg/folders.h"
#include "platform/files.h"
#include "tests/support/recording_progress.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"
#include "tools/worldgen/kdg_sample.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace kv::kdg {
namespace {

using worldgen::KdgArchiveSpec;
using worldgen::kdgFile;
using worldgen::KdgFileSpec;

const std::string kAccessTail = "\r\rMake sure you're not trying to overwrite a write-protected "
                                "file. Choose Ignore to continue with the next file.";
const std::string kCreateTail = "\rMake sure you have write access to whereever you're "
                                "extracting and that the filename does not contain invalid "
                                "characters.";

using test::RecordingProgress;

// A scripted Ui that also runs an action when a question comes, as a user would fix the
// problem before choosing Retry.
class ActingUi : public test::ScriptedUi {
public:
    std::function<void()> onQuestion;
    Answer message(const std::string& text, Icon icon, Buttons buttons,
                   const std::string& title) override {
        if (onQuestion && buttons != Buttons::Ok)
            onQuestion();
        return ScriptedUi::message(text, icon, buttons, title);
    }
};

std::string bytes(std::size_t n, unsigned seed) {
    std::string out(n, '\0');
    for (std::size_t i = 0; i < n; ++i)
        out[i] = char((i * 131 + seed * 7 + i / 251) & 0xFF);
    return out;
}

struct Fixture {
    test::TempFolder dir;
    std::string archivePath;
    KdgArchiveInfo info;
    std::string dest;

    // Writes the archive, reads it back with one table row per (hash, name, group).
    // One section of `files`.
    void make(std::vector<KdgFileSpec> files, std::vector<FileNameRow> rows = {}) {
        KdgArchiveSpec plan;
        plan.sections = {{0x1, std::move(files)}};
        make(plan, std::move(rows));
    }
    void make(const KdgArchiveSpec& plan, std::vector<FileNameRow> rows = {}) {
        archivePath = dir.write("mod.kdg", worldgen::buildKdgArchive(plan));
        std::string reason;
        ASSERT_TRUE(ReadArchive(archivePath, info, NameTables(std::move(rows), {}), &reason))
            << reason;
        dest = dir / "out/";
        std::filesystem::create_directories(dest);
    }

    std::vector<std::string> leftovers() const {
        std::vector<std::string> out;
        for (auto& e : std::filesystem::recursive_directory_iterator(dest))
            if (e.path().filename().string().find(".kvtmp") != std::string::npos)
                out.push_back(e.path().string());
        return out;
    }
};

TEST(KdgExtraction, SampleArchiveIsExtractedByteForByteIntoItsGroups) {
    Fixture f;
    const worldgen::KdgSample sample = worldgen::sampleModArchive("demo", 9, 3);
    f.make(sample.plan, sample.files);
    test::ScriptedUi ui;
    RecordingProgress progress;
    const ExtractResult r = ExtractArchive(f.archivePath, f.dest, f.info, ui, progress);
    EXPECT_EQ(r.outcome, ExtractOutcome::Completed);
    EXPECT_TRUE(ui.messages().empty());

    std::size_t entry = 0, written = 0;
    for (const auto& section : sample.plan.sections) {
        for (const KdgFileSpec& plan : section.files) {
            const KdgEntry& e = f.info.Entries[entry++];
            if (plan.emptySlot)
                continue;
            ++written;
            std::string sub = groupSubFolder(e.Group);
            for (char& c : sub)
                c = c == '\\' ? '/' : c;
            EXPECT_EQ(f.dir.read("out/" + sub + e.Name), plan.data) << e.Name;
        }
    }
    EXPECT_EQ(r.extracted, written);
    // Nothing beside the six map files in their group's folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.dest + "Map1"),
                            std::filesystem::directory_iterator()),
              6);
    EXPECT_EQ(progress.statuses.size(), written);
    EXPECT_EQ(progress.statuses.front(),
              "Extracting file 1 of " + std::to_string(written) + ": Names.txt");
    EXPECT_EQ(progress.reports.back(), progress.total);
    EXPECT_EQ(r.bytes, progress.total);
    EXPECT_TRUE(f.leftovers().empty());
}

TEST(KdgExtraction, CopiesInStepsOf64000Bytes) {
    Fixture f;
    f.make({kdgFile(0xA, ""), kdgFile(0xB, bytes(64000, 1)), kdgFile(0xC, bytes(64001, 2)),
            kdgFile(0xD, bytes(200000, 3))});
    test::ScriptedUi ui;
    RecordingProgress progress;
    ExtractArchive(f.archivePath, f.dest, f.info, ui, progress);
    // Byte counts after each step, then the closing report.
    EXPECT_EQ(progress.reports, (std::vector<std::uint64_t>{64000, 128000, 128001, 192001, 256001,
                                                            320001, 328001, 328001}));
    EXPECT_TRUE(std::filesystem::exists(f.dest + "$A"));
    EXPECT_EQ(f.dir.read("out/$A"), "");
    EXPECT_EQ(f.dir.read("out/$B"), bytes(64000, 1));
    EXPECT_EQ(f.dir.read("out/$C"), bytes(64001, 2));
    EXPECT_EQ(f.dir.read("out/$D"), bytes(200000, 3));
}

TEST(KdgExtraction, GroupsDecideTheSubFolder) {
    EXPECT_EQ(groupSubFolder(""), "\\");
    EXPECT_EQ(groupSubFolder("ab"), "\\");
    EXPECT_EQ(groupSubFolder("\\ab"), "ab\\");
    EXPECT_EQ(groupSubFolder("Map1"), "Map1\\");
    EXPECT_EQ(groupSubFolder("\\texpages"), "texpages\\");
    EXPECT_EQ(groupSubFolder("a\\b\\"), "a\\b\\");

    Fixture f;
    f.make({kdgFile(0x1, "one"), kdgFile(0x2, "two"), kdgFile(0x3, "three"), kdgFile(0x4, "four")},
           {{"1", "a.txt", "", "\\texpages"},
            {"2", "b.txt", "", "xy"},
            {"3", "c.txt", "", ""},
            {"4", "d.txt", "", "deep\\er\\still"}});
    test::ScriptedUi ui;
    NoProgress progress;
    ExtractArchive(f.archivePath, f.dest, f.info, ui, progress);
    EXPECT_EQ(f.dir.read("out/texpages/a.txt"), "one");
    EXPECT_EQ(f.dir.read("out/b.txt"), "two");
    EXPECT_EQ(f.dir.read("out/c.txt"), "three");
    EXPECT_EQ(f.dir.read("out/deep/er/still/d.txt"), "four");
    EXPECT_EQ(ui.pumpCount(), 4); // one per folder created
}

TEST(KdgExtraction, EmptySlotsAreNeitherListedNorExtracted) {
    Fixture f;
    f.make({kdgFile(0x1, "a"), worldgen::kdgEmptySlot(0x2), kdgFile(0x3, "c")});
    const auto items = archiveFileListItems(f.info);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].text, "$1");
    EXPECT_EQ(items[0].key, "item0");
    EXPECT_EQ(items[1].key, "item2");
    test::ScriptedUi ui;
    NoProgress progress;
    EXPECT_EQ(ExtractArchive(f.archivePath, f.dest, f.info, ui, progress).extracted, 2u);
    EXPECT_FALSE(std::filesystem::exists(f.dest + "$2"));
}

TEST(KdgExtraction, WriteProtectedTarget) {
    Fixture f;
    f.make({kdgFile(0x1, "new first"), kdgFile(0x2, "new second")});
    const std::string target = f.dir.write("out/$1", "old contents");
    ASSERT_TRUE(platform::setAttributes(target, platform::AttrReadOnly));
    NoProgress progress;

    // Ignore: the protected file keeps its contents and the next file is extracted.
    test::ScriptedUi ignoring;
    ignoring.answerMessage(Answer::Ignore);
    ExtractResult r = ExtractArchive(f.archivePath, f.dest, f.info, ignoring, progress);
    ASSERT_EQ(ignoring.messages().size(), 1u);
    EXPECT_EQ(ignoring.messages()[0].text, "Couldn't access the file. " + target + kAccessTail);
    EXPECT_EQ(ignoring.messages()[0].icon, Icon::Exclamation);
    EXPECT_EQ(ignoring.messages()[0].buttons, Buttons::AbortRetryIgnore);
    EXPECT_EQ(f.dir.read("out/$1"), "old contents");
    EXPECT_EQ(f.dir.read("out/$2"), "new second");
    EXPECT_EQ(r.extracted, 1u);
    EXPECT_EQ(r.skipped, 1u);

    // Abort: nothing after it is written.
    std::filesystem::remove(f.dest + "$2");
    test::ScriptedUi aborting;
    aborting.answerMessage(Answer::Abort);
    r = ExtractArchive(f.archivePath, f.dest, f.info, aborting, progress);
    EXPECT_EQ(r.outcome, ExtractOutcome::Aborted);
    EXPECT_FALSE(std::filesystem::exists(f.dest + "$2"));

    // Retry after the user lifted the protection: the file is replaced.
    ActingUi retrying;
    retrying.onQuestion = [&] { platform::clearAttributes(target); };
    retrying.answerMessage(Answer::Retry);
    r = ExtractArchive(f.archivePath, f.dest, f.info, retrying, progress);
    EXPECT_EQ(r.extracted, 2u);
    EXPECT_EQ(f.dir.read("out/$1"), "new first");
    EXPECT_TRUE(f.leftovers().empty());
}

TEST(KdgExtraction, FileThatCannotBeCreated) {
    Fixture f;
    f.make({kdgFile(0x1, "inside"), kdgFile(0x2, "fine")}, {{"1", "nofolder\\x.txt", "", ""}});
    test::ScriptedUi ui;
    ui.answerMessage(Answer::Retry);
    ui.answerMessage(Answer::Ignore);
    NoProgress progress;
    const ExtractResult r = ExtractArchive(f.archivePath, f.dest, f.info, ui, progress);
    const std::string expected =
        "Couldn't create the file \r" + f.dest + "nofolder/x.txt" + kCreateTail;
    EXPECT_EQ(ui.messageTexts(), (std::vector<std::string>{expected, expected}));
    EXPECT_EQ(r.skipped, 1u);
    EXPECT_EQ(f.dir.read("out/$2"), "fine");
}

TEST(KdgExtraction, NamesLeadingOutOfTheDestinationAreRefused) {
    Fixture f;
    f.make({kdgFile(0x1, "evil"), kdgFile(0x2, "evil"), kdgFile(0x3, "evil"), kdgFile(0x4, "evil"),
            kdgFile(0x5, "evil"), kdgFile(0x6, "good")},
           {{"1", "..\\escaped.txt", "", ""},
            {"2", "/tmp/escaped.txt", "", ""},
            {"3", "e.txt", "", "\\..\\up"},
            {"4", "f.txt", "", "\\\\abs"},
            {"5", "C:\\g.txt", "", ""},
            {"6", "ok..txt", "", "a..b"}});
    test::ScriptedUi ui;
    for (int i = 0; i < 5; ++i)
        ui.answerMessage(Answer::Ok);
    NoProgress progress;
    const ExtractResult r = ExtractArchive(f.archivePath, f.dest, f.info, ui, progress);
    EXPECT_EQ(r.skipped, 5u);
    EXPECT_EQ(r.extracted, 1u);
    ASSERT_EQ(ui.messages().size(), 5u);
    EXPECT_EQ(ui.messages()[0].text.rfind("ExtractArchive() - ..\\escaped.txt is not extracted", 0),
              0u)
        << ui.messages()[0].text;
    EXPECT_EQ(ui.messages()[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(f.dir.read("out/a..b/ok..txt"), "good");
    // Nothing beside the destination folder but the archive itself.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.dir.path()),
                            std::filesystem::directory_iterator()),
              2);

    test::ScriptedUi cancelling;
    cancelling.answerMessage(Answer::Cancel);
    EXPECT_EQ(ExtractArchive(f.archivePath, f.dest, f.info, cancelling, progress).outcome,
              ExtractOutcome::Aborted);
}

TEST(KdgExtraction, ALinkInTheWayIsReplacedNeverFollowed) {
    namespace fs = std::filesystem;
    Fixture f;
    f.make({kdgFile(0xA, "one"), kdgFile(0xB, "two"), kdgFile(0xC, "three")},
           {{"c", "x.txt", "", "\\linked"}});
    const std::string victim = f.dir.write("victim.cfg", "the user's");
    fs::create_symlink(victim, f.dest + "$A");
    fs::create_symlink(f.dir / "made.cfg", f.dest + "$B"); // dangling
    fs::create_directory(f.dir / "elsewhere");
    fs::create_directory_symlink(f.dir / "elsewhere", f.dest + "linked");
    test::ScriptedUi ui;
    ui.answerMessage(Answer::Ok);
    NoProgress progress;
    const ExtractResult r = ExtractArchive(f.archivePath, f.dest, f.info, ui, progress);
    EXPECT_EQ(r.extracted, 2u);
    EXPECT_EQ(ui.messageTexts(),
              std::vector<std::string>{"ExtractArchive() - x.txt is not extracted: the folder " +
                                       f.dest + "linked is a link, which could lead outside " +
                                       f.dest + "\r\rChoose OK to continue with the next file."});
    EXPECT_EQ(f.dir.read("victim.cfg"), "the user's");
    EXPECT_FALSE(fs::exists(f.dir / "made.cfg") || fs::exists(f.dir / "elsewhere/x.txt"));
    EXPECT_FALSE(fs::is_symlink(f.dest + "$A") || fs::is_symlink(f.dest + "$B"));
    EXPECT_EQ(f.dir.read("out/$A") + f.dir.read("out/$B"), "onetwo");
}

TEST(KdgExtraction, StopsBetweenEntriesWhenAsked) {
    Fixture f;
    f.make({kdgFile(0x1, "a"), kdgFile(0x2, "b"), kdgFile(0x3, "c")});
    test::ScriptedUi ui;
    RecordingProgress progress;
    progress.stopAfter = 2;
    const ExtractResult r = ExtractArchive(f.archivePath, f.dest, f.info, ui, progress);
    EXPECT_EQ(r.outcome, ExtractOutcome::Stopped);
    EXPECT_EQ(r.extracted, 2u);
    EXPECT_FALSE(std::filesystem::exists(f.dest + "$3"));
}

TEST(KdgExtraction, MissingOrChangedArchiveShowsTheErrorBox) {
    Fixture f;
    f.make({kdgFile(0x1, "abcdef")});
    NoProgress progress;
    test::ScriptedUi ui;
    f.dir.write("mod.kdg", "KDG5");
    EXPECT_EQ(ExtractArchive(f.archivePath, f.dest, f.info, ui, progress).outcome,
              ExtractOutcome::Failed);
    std::filesystem::remove(f.archivePath);
    EXPECT_EQ(ExtractArchive(f.archivePath, f.dest, f.info, ui, progress).outcome,
              ExtractOutcome::Failed);
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ui.messages()[0].text,
              "Error:\n62: Input past end of file\nError in: ExtractArchive()");
    EXPECT_EQ(ui.messages()[1].icon, Icon::Critical);
    EXPECT_FALSE(std::filesystem::exists(f.dest + "$1"));
}

TEST(KdgFolders, MakeDirTreeAndFolderExists) {
    test::TempFolder dir;
    test::ScriptedUi ui;
    EXPECT_TRUE(MakeDirTree(dir / "a\\b/c\\", ui));
    EXPECT_EQ(ui.pumpCount(), 3);
    EXPECT_TRUE(MakeDirTree(dir / "a/b", ui));
    EXPECT_EQ(ui.pumpCount(), 3);
    EXPECT_TRUE(FolderExists(" " + dir / "a/b/c" + " "));
    EXPECT_FALSE(FolderExists("   "));
    dir.write("file", "x");
    EXPECT_FALSE(FolderExists(dir / "file"));
    EXPECT_FALSE(MakeDirTree(dir / "file/sub", ui));
}

} // namespace
} // namespace kv::kdg
