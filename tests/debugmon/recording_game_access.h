#pragma once
// A game the tests control: a window that is there or not, a memory of values by address,
// and a log of every read and write in the order the monitor made them.
#include "debugmon/game_access.h"

#include <map>
#include <vector>

namespace kv::test {

struct MemoryAccess {
    char kind; // 'r' read, 'w' write
    int width;
    std::uint64_t address;
    long processId;
    std::uint32_t value; // the value written
    bool operator==(const MemoryAccess&) const = default;
};

class RecordingGameAccess : public debugmon::GameAccess {
public:
    platform::WindowHandle window = 0; // < 1: no game
    std::map<std::uint64_t, std::uint32_t> memory;
    std::vector<MemoryAccess> log;
    int processLookups = 0;
    bool writesSucceed = true;

    platform::WindowSearch findGameWindow() override { return {window, true}; }
    long windowProcessId(platform::WindowHandle) override { return ++processLookups, 4242; }
    std::uint32_t read4(long p, std::uint64_t a) override { return read(4, p, a); }
    std::uint16_t read2(long p, std::uint64_t a) override { return std::uint16_t(read(2, p, a)); }
    std::uint8_t read1(long p, std::uint64_t a) override { return std::uint8_t(read(1, p, a)); }
    bool write2(long p, std::uint64_t a, std::uint16_t v) override { return write(2, p, a, v); }
    bool write1(long p, std::uint64_t a, std::uint8_t v) override { return write(1, p, a, v); }

private:
    std::uint32_t read(int width, long pid, std::uint64_t address) {
        log.push_back({'r', width, address, pid, 0});
        return memory.count(address) ? memory[address] : 0; // the caller keeps its width
    }
    bool write(int width, long pid, std::uint64_t address, std::uint32_t value) {
        log.push_back({'w', width, address, pid, value});
        if (writesSucceed)
            memory[address] = value;
        return writesSucceed;
    }
};

} // namespace kv::test
