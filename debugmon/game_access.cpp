#include "debugmon/game_access.h"

#include "platform/process_memory.h"

namespace kv::debugmon {

platform::WindowSearch PlatformGameAccess::findGameWindow() {
    return platform::findWindowByTitle(kGameWindowTitle);
}

long PlatformGameAccess::windowProcessId(platform::WindowHandle window) {
    return platform::windowProcessId(window);
}

std::uint32_t PlatformGameAccess::read4(long processId, std::uint64_t address) {
    return platform::readMemory4(processId, address);
}

std::uint16_t PlatformGameAccess::read2(long processId, std::uint64_t address) {
    return platform::readMemory2(processId, address);
}

std::uint8_t PlatformGameAccess::read1(long processId, std::uint64_t address) {
    return platform::readMemory1(processId, address);
}

bool PlatformGameAccess::write2(long processId, std::uint64_t address, std::uint16_t value) {
    return platform::writeMemory2(processId, address, value);
}

bool PlatformGameAccess::write1(long processId, std::uint64_t address, std::uint8_t value) {
    return platform::writeMemory1(processId, address, value);
}

} // namespace kv::debugmon
