#pragma once
// How the monitor reaches the game: the window search and the process-memory primitives.
// The real one goes through the platform layer; tests substitute one that records.
#include "platform/windows.h"

#include <cstdint>

namespace kv::debugmon {

inline constexpr const char* kGameWindowTitle = "Korvane Tactics";

class GameAccess {
public:
    virtual ~GameAccess() = default;
    virtual platform::WindowSearch findGameWindow() = 0;
    virtual long windowProcessId(platform::WindowHandle window) = 0;
    // 0 when the process cannot be opened or the address is unreadable.
    virtual std::uint32_t read4(long processId, std::uint64_t address) = 0;
    virtual std::uint16_t read2(long processId, std::uint64_t address) = 0;
    virtual std::uint8_t read1(long processId, std::uint64_t address) = 0;
    virtual bool write2(long processId, std::uint64_t address, std::uint16_t value) = 0;
    virtual bool write1(long processId, std::uint64_t address, std::uint8_t value) = 0;
};

// The window found by title through the window system, the memory through the platform's
// per-call open/transfer/close primitives.
class PlatformGameAccess : public GameAccess {
public:
    platform::WindowSearch findGameWindow() override;
    long windowProcessId(platform::WindowHandle window) override;
    std::uint32_t read4(long processId, std::uint64_t address) override;
    std::uint16_t read2(long processId, std::uint64_t address) override;
    std::uint8_t read1(long processId, std::uint64_t address) override;
    bool write2(long processId, std::uint64_t address, std::uint16_t value) override;
    bool write1(long processId, std::uint64_t address, std::uint8_t value) override;
};

} // namespace kv::debugmon
