#pragma once
// The debug monitor's figures in the Windows stand-in, at the game's fixed addresses:
// the low ones inside this image's zero-filled section, the high ones taken with
// VirtualAlloc.
#include "tools/standin-game/memory_table.h"

#include <cstdint>
#include <string>

namespace kv::standin {

class Win32MemoryTable {
public:
    Win32MemoryTable() = default;
    ~Win32MemoryTable();
    Win32MemoryTable(const Win32MemoryTable&) = delete;
    Win32MemoryTable& operator=(const Win32MemoryTable&) = delete;

    // On failure `error` says which range could not be had.
    bool map(std::string& error);
    bool mapped() const { return mapped_; }
    void tick(unsigned second);
    PlayerFigures player(int index) const;
    std::uint16_t debugFlag() const;

private:
    bool mapped_ = false;
    void* power_ = nullptr;
    void* derricks_ = nullptr;
};

} // namespace kv::standin
