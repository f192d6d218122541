#include "kdg/archive_reader.h"
#include "kdg/extraction.h"
#include "platform/files.h"
#include "tests/support/recording_progress.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"
#include "tools/worldgen/kdg_sample.h"
#include "tools/worldgen/kdg_small_archives.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

namespace kv::kdg {
namespace {

namespace fs = std::filesystem;
using worldgen::KdgFileSpec;
using Texts = std::vector<std::string>;

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

struct Fixture {
    test::TempFolder dir;
    std::string archivePath;
    KdgArchiveInfo info;
    std::string dest = dir / "out/";
    NoProgress none;

    void make(const worldgen::KdgArchiveSpec& plan, std::vector<FileNameRow> rows = {}) {
        archivePath = dir.write("mod.kdg", worldgen::buildKdgArchive(plan));
        std::string reason;
        ASSERT_TRUE(ReadArchive(archivePath, info, NameTables(std::move(rows), {}), &reason))
            << reason;
        fs::create_directories(dest);
    }
    ExtractResult extract(Ui& ui) { return ExtractArchive(archivePath, dest, info, ui, none); }
    bool leftovers() const {
        for (auto& e : fs::recursive_directory_iterator(dest))
            if (e.path().filename().string().find(".kvtmp") != std::string::npos)
                return true;
        return false;
    }
};

TEST(KdgExtraction, SampleArchiveIsExtractedByteForByteIntoItsGroups) {
    Fixture f;
    const worldgen::KdgSample sample = worldgen::sampleModArchive("demo", 9, 3);
    f.make(sample.plan, sample.files);
    test::ScriptedUi ui;
    test::RecordingProgress progress;
    const ExtractResult r = ExtractArchive(f.archivePath, f.dest, f.info, ui, progress);
    EXPECT_TRUE(r.outcome == ExtractOutcome::Completed && ui.messages().empty());

    // Empty slots are neither listed nor extracted.
    std::size_t entry = 0, written = 0;
    std::vector<std::string> keys;
    for (const auto& section : sample.plan.sections) {
        for (const KdgFileSpec& plan : section.files) {
            const KdgEntry& e = f.info.Entries[entry++];
            std::string sub = groupSubFolder(e.Group);
            std::replace(sub.begin(), sub.end(), '\\', '/');
            EXPECT_EQ(fs::exists(f.dest + sub + e.Name), !plan.emptySlot) << e.Name;
            if (plan.emptySlot)
                continue;
            keys.push_back("item" + std::to_string(entry - 1));
            ++written;
            EXPECT_EQ(f.dir.read("out/" + sub + e.Name), plan.data) << e.Name;
        }
    }
    std::vector<std::string> listed;
    for (const auto& item : archiveFileListItems(f.info))
        listed.push_back(item.key);
    EXPECT_EQ(listed, keys);
    EXPECT_EQ(r.extracted, written);
    // Nothing beside the six map files in their group's folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(f.dest + "Map1"), fs::directory_iterator()), 6);
    EXPECT_EQ(progress.statuses.size(), written);
    EXPECT_EQ(progress.statuses.front(),
              "Extracting file 1 of " + std::to_string(written) + ": Names.txt");
    EXPECT_EQ(std::pair(r.bytes, progress.reports.back()),
              std::pair(progress.total, progress.total));
    EXPECT_FALSE(f.leftovers());
}

TEST(KdgExtraction, CopiesInStepsOf64000Bytes) {
    Fixture f;
    const Texts data = {"", worldgen::patternBytes(64000, 1), worldgen::patternBytes(64001, 2),
                        worldgen::patternBytes(200000, 3)};
    f.make(worldgen::oneSectionArchive(data));
    test::ScriptedUi ui;
    test::RecordingProgress progress;
    ExtractArchive(f.archivePath, f.dest, f.info, ui, progress);
    // Byte counts after each step, then the closing report.
    EXPECT_EQ(progress.reports, (std::vector<std::uint64_t>{64000, 128000, 128001, 192001, 256001,
                                                            320001, 328001, 328001}));
    for (std::size_t i = 0; i < data.size(); ++i)
        EXPECT_EQ(f.dir.read("out/$" + std::to_string(i + 1)), data[i]) << i;
}

TEST(KdgExtraction, GroupsDecideTheSubFolder) {
    const std::pair<const char*, const char*> groups[] = {
        {"", "\\"},         {"ab", "\\"},         {"\\ab", "ab\\"},
        {"Map1", "Map1\\"}, {"a\\b\\", "a\\b\\"}, {"\\texpages", "texpages\\"},
    };
    for (const auto& [group, folder] : groups)
        EXPECT_EQ(groupSubFolder(group), folder) << group;

    Fixture f;
    f.make(worldgen::oneSectionArchive({"one", "two", "three"}),
           {{"1", "a.txt", "", "\\texpages"},
            {"2", "b.txt", "", "xy"},
            {"3", "d.txt", "", "deep\\er\\still"}});
    test::ScriptedUi ui;
    f.extract(ui);
    EXPECT_EQ(f.dir.read("out/texpages/a.txt") + f.dir.read("out/b.txt") +
                  f.dir.read("out/deep/er/still/d.txt"),
              "onetwothree");
}

TEST(KdgExtraction, WriteProtectedTarget) {
    Fixture f;
    f.make(worldgen::oneSectionArchive({"new first", "new second"}));
    const std::string target = f.dir.write("out/$1", "old contents");
    ASSERT_TRUE(platform::setAttributes(target, platform::AttrReadOnly));

    // Ignore: the protected file keeps its contents and the next file is extracted.
    test::ScriptedUi ignoring;
    ignoring.answerMessage(Answer::Ignore);
    ExtractResult r = f.extract(ignoring);
    EXPECT_EQ(ignoring.messageTexts(),
              Texts{"Couldn't access the file. " + target +
                    "\r\rMake sure you're not trying to overwrite a write-protected file. Choose "
                    "Ignore to continue with the next file."});
    EXPECT_EQ(ignoring.messages().at(0).buttons, Buttons::AbortRetryIgnore);
    EXPECT_EQ(f.dir.read("out/$1") + "|" + f.dir.read("out/$2"), "old contents|new second");
    EXPECT_EQ(std::pair(r.extracted, r.skipped), std::pair(std::size_t(1), std::size_t(1)));

    // Abort: nothing after it is written.
    fs::remove(f.dest + "$2");
    test::ScriptedUi aborting;
    aborting.answerMessage(Answer::Abort);
    EXPECT_EQ(f.extract(aborting).outcome, ExtractOutcome::Aborted);
    EXPECT_FALSE(fs::exists(f.dest + "$2"));

    // Retry after the user lifted the protection: the file is replaced.
    ActingUi retrying;
    retrying.onQuestion = [&] { platform::clearAttributes(target); };
    retrying.answerMessage(Answer::Retry);
    EXPECT_EQ(f.extract(retrying).extracted, 2u);
    EXPECT_EQ(f.dir.read("out/$1"), "new first");
    EXPECT_FALSE(f.leftovers());
}

TEST(KdgExtraction, FileThatCannotBeCreated) {
    Fixture f;
    f.make(worldgen::oneSectionArchive({"inside", "fine"}), {{"1", "nofolder\\x.txt", "", ""}});
    test::ScriptedUi ui;
    ui.answerMessage(Answer::Retry);
    ui.answerMessage(Answer::Ignore);
    EXPECT_EQ(f.extract(ui).skipped, 1u);
    const std::string expected = "Couldn't create the file \r" + f.dest +
                                 "nofolder/x.txt\rMake sure you have write access to whereever "
                                 "you're extracting and that the filename does not contain "
                                 "invalid characters.";
    EXPECT_EQ(ui.messageTexts(), (Texts{expected, expected}));
    EXPECT_EQ(f.dir.read("out/$2"), "fine");
}

TEST(KdgExtraction, NamesLeadingOutOfTheDestinationAreRefused) {
    Fixture f;
    f.make(worldgen::oneSectionArchive({"evil", "evil", "evil", "evil", "evil", "good"}),
           {{"1", "..\\escaped.txt", "", ""},
            {"2", "/tmp/escaped.txt", "", ""},
            {"3", "e.txt", "", "\\..\\up"},
            {"4", "f.txt", "", "\\\\abs"},
            {"5", "C:\\g.txt", "", ""},
            {"6", "ok..txt", "", "a..b"}});
    test::ScriptedUi ui;
    for (int i = 0; i < 5; ++i)
        ui.answerMessage(Answer::Ok);
    const ExtractResult r = f.extract(ui);
    EXPECT_EQ(std::pair(r.skipped, r.extracted), std::pair(std::size_t(5), std::size_t(1)));
    ASSERT_EQ(ui.messages().size(), 5u);
    EXPECT_EQ(ui.messages()[0].text.rfind("ExtractArchive() - ..\\escaped.txt is not extracted", 0),
              0u)
        << ui.messages()[0].text;
    EXPECT_EQ(ui.messages()[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(f.dir.read("out/a..b/ok..txt"), "good");
    // Nothing beside the destination folder but the archive itself.
    EXPECT_EQ(std::distance(fs::directory_iterator(f.dir.path()), fs::directory_iterator()), 2);

    test::ScriptedUi cancelling;
    cancelling.answerMessage(Answer::Cancel);
    EXPECT_EQ(f.extract(cancelling).outcome, ExtractOutcome::Aborted);
}

TEST(KdgExtraction, ALinkInTheWayIsReplacedNeverFollowed) {
    Fixture f;
    f.make(worldgen::oneSectionArchive({"one", "two", "three"}), {{"3", "x.txt", "", "\\linked"}});
    const std::string victim = f.dir.write("victim.cfg", "the user's");
    fs::create_symlink(victim, f.dest + "$1");
    fs::create_symlink(f.dir / "made.cfg", f.dest + "$2"); // dangling
    fs::create_directory(f.dir / "elsewhere");
    fs::create_directory_symlink(f.dir / "elsewhere", f.dest + "linked");
    test::ScriptedUi ui;
    ui.answerMessage(Answer::Ok);
    EXPECT_EQ(f.extract(ui).extracted, 2u);
    EXPECT_EQ(ui.messageTexts(), Texts{"ExtractArchive() - x.txt is not extracted: the folder " +
                                       f.dest + "linked is a link, which could lead outside " +
                                       f.dest + "\r\rChoose OK to continue with the next file."});
    EXPECT_EQ(f.dir.read("victim.cfg"), "the user's");
    EXPECT_FALSE(fs::exists(f.dir / "made.cfg") || fs::exists(f.dir / "elsewhere/x.txt"));
    EXPECT_FALSE(fs::is_symlink(f.dest + "$1") || fs::is_symlink(f.dest + "$2"));
    EXPECT_EQ(f.dir.read("out/$1") + f.dir.read("out/$2"), "onetwo");
}

TEST(KdgExtraction, StopsBetweenEntriesAndAMissingOrChangedArchiveShowsTheErrorBox) {
    Fixture f;
    f.make(worldgen::oneSectionArchive({"a", "b", "c"}));
    test::ScriptedUi ui;
    test::RecordingProgress progress;
    progress.stopAfter = 2;
    const ExtractResult r = ExtractArchive(f.archivePath, f.dest, f.info, ui, progress);
    EXPECT_EQ(std::pair(r.outcome, r.extracted),
              std::pair(ExtractOutcome::Stopped, std::size_t(2)));
    EXPECT_FALSE(fs::exists(f.dest + "$3"));

    fs::remove_all(f.dest);
    fs::create_directories(f.dest);
    f.dir.write("mod.kdg", "KDG5");
    EXPECT_EQ(f.extract(ui).outcome, ExtractOutcome::Failed);
    fs::remove(f.archivePath);
    EXPECT_EQ(f.extract(ui).outcome, ExtractOutcome::Failed);
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ui.messages()[0].text,
              "Error:\n62: Input past end of file\nError in: ExtractArchive()");
    EXPECT_FALSE(fs::exists(f.dest + "$1"));
}

} // namespace
} // namespace kv::kdg
