#include "platform/shell.h"
#include "platform/wine_prefix.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wait.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace kv::platform {
namespace {

using test::TempFolder;
using Args = std::vector<std::string>;

TEST(Shell, ParametersSplitAsOnWindows) {
    const std::pair<const char*, Args> cases[] = {
        {" -3DFX  ", {"-3DFX"}},
        {"", {}},
        {"+hostname \"My game\" +name \"N\"\t\"\"", {"+hostname", "My game", "+name", "N", ""}},
        {"a\"b c\"d", {"ab cd"}},
        // Backslashes are literal unless they precede a quote.
        {"C:\\Games\\ \"C:\\x\\\\\" \\\"q\\\\\\\"r", {"C:\\Games\\", "C:\\x\\", "\"q\\\"r"}},
        {"\"say \"\"hi\"\"\"", {"say \"hi\""}},
        {"\"unterminated arg", {"unterminated arg"}},
    };
    for (const auto& [text, args] : cases)
        EXPECT_EQ(splitCommandLine(text), args) << text;
}

void writeScript(const TempFolder& tmp, const std::string& name, const std::string& body) {
    ::chmod(tmp.write(name, "#!/bin/sh\n" + body).c_str(), 0755);
}

// A program that reports its folder, process id and arguments, one per line.
constexpr const char* kReporter = "out=\"$REPORT\"; { pwd; echo $$; for a in \"$@\"; do echo "
                                  "\"[$a]\"; done; } > \"$out.tmp\"; mv \"$out.tmp\" \"$out\"\n";

std::string readWhenWritten(const TempFolder& tmp, const std::string& name) {
    EXPECT_TRUE(test::waitFor([&] { return ::access((tmp / name).c_str(), F_OK) == 0; }, 10000));
    const std::string text = tmp.read(name);
    ::unlink((tmp / name).c_str());
    return text;
}

// Sets a variable for a scope; an unset one comes back empty, which Wine and the search
// path treat as unset.
struct EnvOverride {
    EnvOverride(const char* name, const std::string& value)
        : name(name), old(std::getenv(name) ? std::getenv(name) : "") {
        ::setenv(name, value.c_str(), 1);
    }
    ~EnvOverride() { ::setenv(name, old.c_str(), 1); }
    const char* name;
    const std::string old;
};

TEST(Shell, StartsInTheWorkingFolderWithSplitArgumentsOrExplainsWhyNot) {
    TempFolder tmp;
    writeScript(tmp, "Game/Korvane.sh", kReporter);
    tmp.write("Work/keep", "");
    EnvOverride report("REPORT", tmp / "report");
    // The program text may use backslashes and other letter case, as the launcher writes it.
    const StartResult r =
        startProgram(tmp.path() + "game\\KORVANE.SH", " -3DFX  +name \"Big N\"", tmp / "work");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(readWhenWritten(tmp, "report"),
              tmp / "Work\n" + std::to_string(r.processId) + "\n[-3DFX]\n[+name]\n[Big N]\n");
    // Nothing waits for it, yet once it ends no zombie stays behind.
    EXPECT_TRUE(test::waitFor([&] { return ::kill(pid_t(r.processId), 0) != 0; }, 10000));

    const std::pair<StartResult, std::string> failures[] = {
        {startProgram(tmp / "missing.exe", ""), "was not found"},
        {startProgram(tmp / "Game/Korvane.sh", "", tmp / "no such folder"), "no such folder"},
        {startProgram(tmp / "Work/keep", ""), "could not be started: Permission denied"},
    };
    for (const auto& [result, says] : failures)
        EXPECT_TRUE(!result.ok && result.error.find(says) != std::string::npos) << result.error;
}

// Wine keeps a prefix's registry beside its drive_c; both together make a prefix.
void makePrefix(const TempFolder& tmp, const std::string& at) {
    tmp.write(at + "/system.reg", "WINE REGISTRY Version 2\n");
    tmp.write(at + "/drive_c/windows/win.ini", "");
}

TEST(Shell, WinePrefixIsTheNearestFolderWithDriveCAndSystemReg) {
    TempFolder tmp;
    makePrefix(tmp, "Games/korvane");
    tmp.write("Games/loose/drive_c/KV/game/korvane.exe", "MZ");
    tmp.write("Games/regonly/system.reg", "");
    tmp.write("Games/regonly/KV/korvane.exe", "MZ");
    tmp.write("Games/korvane/drive_c/KV/game/korvane.exe", "MZ");
    tmp.write("plain/korvane.exe", "MZ");
    ::symlink((tmp / "Games/korvane/drive_c/KV").c_str(), (tmp / "linked").c_str());
    ::symlink((tmp / "plain").c_str(), (tmp / "Games/korvane/drive_c/out").c_str());
    const std::string prefix = tmp / "Games/korvane";
    const std::pair<const char*, std::string> cases[] = {
        {"Games/korvane/drive_c/KV/game/korvane.exe", prefix},
        {"Games/korvane/drive_c/KV/game/missing.exe", prefix},
        {"Games/loose/drive_c/KV/game/korvane.exe", ""}, // drive_c without system.reg
        {"Games/regonly/KV/korvane.exe", ""},            // system.reg without drive_c
        {"plain/korvane.exe", ""},
        {"linked/game/korvane.exe", prefix},           // a link into the prefix
        {"Games/korvane/drive_c/out/korvane.exe", ""}, // a link out of it
    };
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(winePrefixOf(tmp / path), expected) << path;
}

TEST(Shell, WindowsExecutablesRunThroughWineInTheirPrefixWhichGetsTheRegistryStore) {
    TempFolder tmp;
    const std::string exe = tmp.write("game/korvane.exe", "MZ\x90\0rest of a program");
    makePrefix(tmp, "pfx");
    const std::string inPrefix = tmp.write("pfx/drive_c/KV/korvane.exe", "MZ");
    EnvOverride noPrefix("WINEPREFIX", "");
    const struct {
        std::string program, wine, chosenPrefix;
        Args environment, argv;
    } cases[] = {
        {tmp / "GAME/Korvane.exe", "", "", {}, {"wine", exe, "-D3D", "a b"}},
        {inPrefix, "", "", {"WINEPREFIX=" + tmp / "pfx"}, {"wine", inPrefix, "-D3D", "a b"}},
        // The player's own WINEPREFIX and Wine build win.
        {inPrefix, "/opt/w/bin/wine", "/mine", {}, {"/opt/w/bin/wine", inPrefix, "-D3D", "a b"}},
    };
    for (const auto& c : cases) {
        EnvOverride chosen("WINEPREFIX", c.chosenPrefix);
        const Invocation run = programInvocation(c.program, "-D3D \"a b\"", c.wine);
        EXPECT_EQ(run.environment, c.environment) << c.program;
        EXPECT_EQ(run.argv, c.argv) << c.program;
    }
    // A stand-in wine records its prefix and arguments, and fails or stalls when asked to.
    writeScript(
        tmp, "bin/wine",
        "printf '%s|' \"$WINEPREFIX\" \"$@\" > \"$REPORT.tmp\"; mv \"$REPORT.tmp\" \"$REPORT\"\n"
        "[ -z \"$FAIL\" ] || exit 3; sleep \"${PAUSE:-0}\"\n");
    EnvOverride report("REPORT", tmp / "report");
    EnvOverride path("PATH", tmp / "bin:/usr/bin:/bin");
    EXPECT_TRUE(programOnPath("wine") && !programOnPath("kv-no-such-program") &&
                !programOnPath(""));
    const StartResult r = startProgram(inPrefix, "-D3D \"a b\"", tmp / "game");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(readWhenWritten(tmp, "report"), tmp / "pfx|" + inPrefix + "|-D3D|a b|");
    // The launcher's registry store goes into the game's prefix, by its DOS path.
    const std::string store = tmp.write("Config/registry.reg", "REGEDIT4\r\n");
    const Invocation game = programInvocation(inPrefix, "");
    std::string error, file = "Z:" + store;
    std::replace(file.begin(), file.end(), '/', '\\');
    ASSERT_TRUE(importRegistryIntoWine(tmp / "config\\REGISTRY.REG", game, error)) << error;
    EXPECT_EQ(readWhenWritten(tmp, "report"), tmp / "pfx|regedit|/S|" + file + "|");
    {
        EnvOverride fail("FAIL", "1");
        EXPECT_FALSE(importRegistryIntoWine(store, game, error));
        EXPECT_EQ(error, "The Wine registry import failed.");
    }
    EnvOverride pause("PAUSE", "5");
    EXPECT_FALSE(importRegistryIntoWine(store, game, error, 200));
    EXPECT_EQ(error, "The Wine registry import did not finish in time.");
}

} // namespace
} // namespace kv::platform
