#pragma once
// A game the tests control: a window that is there or not, a memory of values by address,
// and a log of every read and write in the order the monitor made them.
#include "debugmon/game_access.h"

#include <cstdint>
#include <map>
#include <vector>

namespace kv::test {

struct MemoryAccess {
    char kind = 'r'; // 'r' read, 'w' write
    int width = 0;
    std::uint64_t address = 0;
    long processId = 0;
    std::uint32_t value = 0; // the value written
    bool operator==(const MemoryAccess&) const = default;
};

class RecordingGameAccess : public debugmon::GameAccess {
public:
    platform::WindowHandle window = 0; // < 1: no game
    long processId = 4242;
    bool writesSucceed = true;
    std::map<std::uint64_t, std::uint32_t> memory;
    std::vector<MemoryAccess> log;
    int processLookups = 0;

    platform::WindowSearch findGameWindow() override { return {window, true}; }
    long windowProcessId(platform::WindowHandle w) override {
        ++processLookups;
        return w == window ? processId : 0;
    }
    std::uint32_t read4(long pid, std::uint64_t a) override { return read(4, pid, a); }
    std::uint16_t read2(long pid, std::uint64_t a) override {
        return std::uint16_t(read(2, pid, a));
    }
    std::uint8_t read1(long pid, std::uint64_t a) override { return std::uint8_t(read(1, pid, a)); }
    bool write2(long pid, std::uint64_t a, std::uint16_t v) override { return write(2, pid, a, v); }
    bool write1(long pid, std::uint64_t a, std::uint8_t v) override { return write(1, pid, a, v); }

    std::vector<MemoryAccess> writes() const {
        std::vector<MemoryAccess> out;
        for (const MemoryAccess& m : log)
            if (m.kind == 'w')
                out.push_back(m);
        return out;
    }

private:
    std::uint32_t read(int width, long pid, std::uint64_t address) {
        log.push_back({'r', width, address, pid, 0});
        const auto it = memory.find(address);
        if (it == memory.end())
            return 0;
        return width == 4 ? it->second : it->second & ((1u << (8 * width)) - 1);
    }
    bool write(int width, long pid, std::uint64_t address, std::uint32_t value) {
        log.push_back({'w', width, address, pid, value});
        if (writesSucceed)
            memory[address] = value;
        return writesSucceed;
    }
};

} // namespace kv::test
