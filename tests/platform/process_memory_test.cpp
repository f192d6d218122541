// Reads and writes at fixed addresses, here in this process's own page at the address the
// game's figures use; the debug monitor's display tests do the same to the stand-in game.
#include "platform/process_memory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sys/mman.h>
#include <unistd.h>

namespace kv::platform {
namespace {

TEST(ProcessMemory, ReadsAndWritesAtFixedAddressesAndFailuresReadAsZero) {
    constexpr std::uintptr_t kPage = 0x00526000;
    void* page = ::mmap(reinterpret_cast<void*>(kPage), 4096, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED_NOREPLACE, -1, 0);
    ASSERT_EQ(page, reinterpret_cast<void*>(kPage)) << std::strerror(errno);
    const std::uint32_t trucks[] = {0x01020300, 0x01020301};
    std::memcpy(reinterpret_cast<void*>(0x00526828), trucks, sizeof trucks);
    *reinterpret_cast<std::uint8_t*>(0x00526FFF) = 0xA5; // the last byte of the page
    const long pid = ::getpid();

    EXPECT_EQ(readMemory4(pid, 0x00526828) + readMemory4(pid, 0x0052682C), 0x02040601u);
    // Narrow reads take the low bytes, as the values are stored little-endian.
    EXPECT_EQ(readMemory2(pid, 0x0052682C), 0x0301);
    EXPECT_EQ(readMemory1(pid, 0x0052682E), 0x02);
    EXPECT_EQ(readMemory1(pid, 0x00526FFF), 0xA5);
    EXPECT_TRUE(writeMemory2(pid, 0x0052611C, 0xBEEF) && writeMemory1(pid, 0x00526828, 0xFF));
    EXPECT_EQ(readMemory2(pid, 0x0052611C), 0xBEEF);
    EXPECT_EQ(readMemory4(pid, 0x00526828), 0x010203FFu); // its neighbours untouched

    // Failures read as 0 and write nothing: a null address, a range running off the end of
    // the page, an unmapped page, a process that does not exist.
    EXPECT_EQ(readMemory4(pid, 0) + readMemory2(pid, 0x00526FFF) + readMemory4(pid, 0x00525000),
              0u);
    EXPECT_FALSE(writeMemory2(pid, 0, 5) || writeMemory2(pid, 0x00527000, 5) ||
                 writeMemory2(pid, 0x00526FFF, 5));
    EXPECT_EQ(readMemory1(pid, 0x00526FFF), 0xA5);
    EXPECT_EQ(readMemory4(0, 0x00526828) + readMemory4(-1, 0x00526828), 0u);
    EXPECT_FALSE(writeMemory1(-1, 0x00526828, 1) || writeMemory1(0, 0x00526828, 1));
    ::munmap(page, 4096);
}

} // namespace
} // namespace kv::platform
