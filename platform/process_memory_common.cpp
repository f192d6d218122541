#include "platform/process_memory.h"

#include <cstring>

namespace kv::platform {

namespace {

// Fixed-width reads yield 0 for a null address or any failure, as the debug monitor
// expects; the value is taken in the machine's byte order, as the game stored it.
template <typename T> T readValue(long processId, std::uint64_t address) {
    T value = 0;
    if (address == 0 || !readProcessMemory(processId, address, &value, sizeof value))
        return 0;
    return value;
}

// The whole range is read first: a write running off the mapped memory would otherwise
// change the bytes before the gap and still report a failure.
template <typename T> bool writeValue(long processId, std::uint64_t address, T value) {
    T before;
    return address != 0 && readProcessMemory(processId, address, &before, sizeof before) &&
           writeProcessMemory(processId, address, &value, sizeof value);
}

} // namespace

std::uint32_t readMemory4(long processId, std::uint64_t address) {
    return readValue<std::uint32_t>(processId, address);
}
std::uint16_t readMemory2(long processId, std::uint64_t address) {
    return readValue<std::uint16_t>(processId, address);
}
std::uint8_t readMemory1(long processId, std::uint64_t address) {
    return readValue<std::uint8_t>(processId, address);
}
bool writeMemory2(long processId, std::uint64_t address, std::uint16_t value) {
    return writeValue(processId, address, value);
}
bool writeMemory1(long processId, std::uint64_t address, std::uint8_t value) {
    return writeValue(processId, address, value);
}

} // namespace kv::platform
