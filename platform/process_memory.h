#pragma once
// Reading and writing another process's memory. Each call is complete in itself: the
// process is opened and closed around the one transfer.
#include <cstddef>
#include <cstdint>

namespace kv::platform {

// Copies `size` bytes; false when the process cannot be opened or the range is unmapped.
bool readProcessMemory(long processId, std::uint64_t address, void* buffer, std::size_t size);
bool writeProcessMemory(long processId, std::uint64_t address, const void* buffer,
                        std::size_t size);

// The fixed-width primitives: 0 when the address is 0, the process cannot be opened or
// the read fails.
std::uint32_t readMemory4(long processId, std::uint64_t address);
std::uint16_t readMemory2(long processId, std::uint64_t address);
std::uint8_t readMemory1(long processId, std::uint64_t address);
// False, and nothing written, when the address is 0, the process cannot be opened or the
// range is not wholly mapped.
bool writeMemory2(long processId, std::uint64_t address, std::uint16_t value);
bool writeMemory1(long processId, std::uint64_t address, std::uint8_t value);

} // namespace kv::platform
