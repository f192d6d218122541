#include "tools/standin-game/win32/win32_memory_table.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace kv::standin {

namespace {

// Large enough that, wherever the linker puts it after code and data, it spans the
// low table (0x00526000-0x00620D10); map() checks that it does.
constexpr std::size_t kLowAreaSize = 0x400000;
alignas(4096) __attribute__((used)) unsigned char lowArea[kLowAreaSize];

constexpr std::uintptr_t kLowFirst = 0x00526000;
constexpr std::uintptr_t kLowEnd = colourAddress(kPlayers);
// Reservations start on the 64 KiB allocation granularity.
constexpr std::uintptr_t kGranularity = 0x10000;

std::string hex(std::uintptr_t address) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%08llx", static_cast<unsigned long long>(address));
    return text;
}

// Takes the granule holding `first`..`last` at its own address, never elsewhere.
void* allocateAt(std::uintptr_t first, std::uintptr_t last, std::string& error) {
    const std::uintptr_t base = first & ~(kGranularity - 1);
    const std::size_t size = ((last - base) / kGranularity + 1) * kGranularity;
    void* want = reinterpret_cast<void*>(base);
    void* got = ::VirtualAlloc(want, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (got == want)
        return got;
    if (got)
        ::VirtualFree(got, 0, MEM_RELEASE);
    error = "range " + hex(base) + ": error " + std::to_string(::GetLastError());
    return nullptr;
}

} // namespace

Win32MemoryTable::~Win32MemoryTable() {
    for (void* block : {power_, derricks_})
        if (block)
            ::VirtualFree(block, 0, MEM_RELEASE);
}

bool Win32MemoryTable::map(std::string& error) {
    const auto low = reinterpret_cast<std::uintptr_t>(lowArea);
    if (low > kLowFirst || low + kLowAreaSize < kLowEnd) {
        error =
            "the image's zero-filled section lies at " + hex(low) + ", not over " + hex(kLowFirst);
        return false;
    }
    power_ = allocateAt(powerAddress(0), powerAddress(kPlayers - 1) + 3, error);
    derricks_ =
        power_ ? allocateAt(derricksAddress(0), derricksAddress(kPlayers - 1), error) : nullptr;
    mapped_ = power_ && derricks_;
    return mapped_;
}

void Win32MemoryTable::tick(unsigned second) {
    if (!mapped_)
        return;
    in_place::storeFigures(second);
}

PlayerFigures Win32MemoryTable::player(int i) const {
    if (!mapped_ || i < 0 || i >= kPlayers)
        return {};
    return in_place::loadFigures(i);
}

std::uint16_t Win32MemoryTable::debugFlag() const {
    return mapped_ ? in_place::load<std::uint16_t>(kDebugFlagAddress) : 0;
}

} // namespace kv::standin
