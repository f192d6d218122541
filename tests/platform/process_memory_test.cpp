#include "platform/process_memory.h"
#include "tests/platform/child_process.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace kv::platform {
namespace {

using test::ChildProcess;

TEST(ProcessMemory, ReadsAndWritesAnotherProcessAtFixedAddresses) {
    ChildProcess game({KV_TEST_HELPER, "memory"});
    ASSERT_EQ(game.readLine(), "ready");
    const long pid = game.pid();

    for (std::uint32_t i = 0; i < 8; ++i) {
        EXPECT_EQ(readMemory4(pid, 0x00526828 + 4 * i), 0x01020300u + i);
        EXPECT_EQ(readMemory4(pid, 0x00526848 + 4 * i), 100u * i);
    }
    // Narrow reads take the low bytes, as the values are stored little-endian.
    EXPECT_EQ(readMemory2(pid, 0x0052682C), 0x0301);
    EXPECT_EQ(readMemory1(pid, 0x0052682C), 0x01);
    EXPECT_EQ(readMemory1(pid, 0x0052682E), 0x02);
    EXPECT_EQ(readMemory2(pid, 0x0052611C), 0xBEEF);
    EXPECT_EQ(readMemory1(pid, 0x00526FFF), 0xA5);

    EXPECT_TRUE(writeMemory2(pid, 0x0052611C, 1));
    EXPECT_TRUE(writeMemory1(pid, 0x00526FFF, 7));
    EXPECT_TRUE(writeMemory1(pid, 0x00526828, 0xFF));
    EXPECT_EQ(readMemory2(pid, 0x0052611C), 1);
    game.writeLine("dump");
    EXPECT_EQ(game.readLine(), "flag=1 last=7 trucks0=16909311"); // 0x010203FF

    // Failures read as 0 and write nothing: a null address, a range running off the end of
    // the page, an unmapped page, a process that does not exist.
    EXPECT_EQ(readMemory4(pid, 0), 0u);
    EXPECT_FALSE(writeMemory2(pid, 0, 5));
    EXPECT_EQ(readMemory2(pid, 0x00526FFF), 0);
    EXPECT_EQ(readMemory4(pid, 0x00525000), 0u);
    EXPECT_FALSE(writeMemory2(pid, 0x00527000, 5));
    EXPECT_FALSE(writeMemory2(pid, 0x00526FFF, 5));
    EXPECT_EQ(game.finish(), 0);
    EXPECT_EQ(readMemory4(pid, 0x00526828), 0u);
    EXPECT_EQ(readMemory4(0, 0x00526828), 0u);
    EXPECT_FALSE(writeMemory1(-1, 0x00526828, 1));
}

} // namespace
} // namespace kv::platform
