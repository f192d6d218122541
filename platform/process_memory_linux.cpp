#include "platform/process_memory.h"

#include <sys/uio.h>

namespace kv::platform {

// process_vm_readv/writev need ptrace access to the target: a descendant of ours, or a
// process that allowed us (the stand-in game does, through PR_SET_PTRACER).
bool readProcessMemory(long processId, std::uint64_t address, void* buffer, std::size_t size) {
    if (processId <= 0 || address == 0 || size == 0)
        return false;
    iovec local{buffer, size};
    iovec remote{reinterpret_cast<void*>(static_cast<std::uintptr_t>(address)), size};
    return ::process_vm_readv(pid_t(processId), &local, 1, &remote, 1, 0) == ssize_t(size);
}

bool writeProcessMemory(long processId, std::uint64_t address, const void* buffer,
                        std::size_t size) {
    if (processId <= 0 || address == 0 || size == 0)
        return false;
    iovec local{const_cast<void*>(buffer), size};
    iovec remote{reinterpret_cast<void*>(static_cast<std::uintptr_t>(address)), size};
    return ::process_vm_writev(pid_t(processId), &local, 1, &remote, 1, 0) == ssize_t(size);
}

} // namespace kv::platform
