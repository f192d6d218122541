#include "platform/process_memory.h"

#include <windows.h>

namespace kv::platform {

namespace {

// Full access, as the launcher has always asked for (PROCESS_ALL_ACCESS of its day).
constexpr DWORD kAllAccess = 0x1F0FFF;

// Opens the process for one transfer and closes it in every case.
template <typename Transfer>
bool withProcess(long processId, std::uint64_t address, Transfer transfer) {
    if (processId <= 0)
        return false;
    HANDLE process = ::OpenProcess(kAllAccess, FALSE, DWORD(processId));
    bool ok = false;
    if (process && address != 0)
        ok = transfer(process, reinterpret_cast<LPVOID>(static_cast<ULONG_PTR>(address)));
    if (process)
        ::CloseHandle(process);
    return ok;
}

} // namespace

bool readProcessMemory(long processId, std::uint64_t address, void* buffer, std::size_t size) {
    return withProcess(processId, address, [&](HANDLE process, LPVOID at) {
        SIZE_T done = 0;
        return ::ReadProcessMemory(process, at, buffer, size, &done) && done == size;
    });
}

bool writeProcessMemory(long processId, std::uint64_t address, const void* buffer,
                        std::size_t size) {
    return withProcess(processId, address, [&](HANDLE process, LPVOID at) {
        SIZE_T done = 0;
        return ::WriteProcessMemory(process, at, buffer, size, &done) && done == size;
    });
}

} // namespace kv::platform
