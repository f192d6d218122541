#include "tools/standin-game/memory_table.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/mman.h>
#include <unistd.h>

namespace kv::standin {

namespace {

std::vector<std::uintptr_t> addresses() {
    std::vector<std::uintptr_t> out{kDebugFlagAddress};
    for (int i = 0; i < kPlayers; ++i)
        for (std::uintptr_t a : {powerAddress(i), colourAddress(i), trucksAddress(i),
                                 unitsAddress(i), derricksAddress(i)})
            out.insert(out.end(), {a, a + 3});
    return out;
}

} // namespace

MemoryTable::~MemoryTable() {
    for (std::uintptr_t page : pages_)
        ::munmap(reinterpret_cast<void*>(page), pageSize_);
}

bool MemoryTable::map(std::string& error) {
    pageSize_ = std::size_t(::sysconf(_SC_PAGESIZE));
    std::vector<std::uintptr_t> wanted;
    for (std::uintptr_t a : addresses())
        wanted.push_back(a & ~std::uintptr_t(pageSize_ - 1));
    std::sort(wanted.begin(), wanted.end());
    wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());

    for (std::uintptr_t page : wanted) {
        void* at = reinterpret_cast<void*>(page);
        // Never take over memory that is already in use at that address.
        void* got = ::mmap(at, pageSize_, PROT_READ | PROT_WRITE,
                           MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED_NOREPLACE, -1, 0);
        if (got != at) {
            const int e = errno;
            if (got != MAP_FAILED)
                ::munmap(got, pageSize_); // an old kernel took the address as a hint
            char text[96];
            std::snprintf(text, sizeof text, "page 0x%08lx: ", static_cast<unsigned long>(page));
            error = text + std::string(got == MAP_FAILED ? std::strerror(e) : "address taken");
            for (std::uintptr_t done : pages_)
                ::munmap(reinterpret_cast<void*>(done), pageSize_);
            pages_.clear();
            return false;
        }
        pages_.push_back(page);
    }
    return true;
}

void MemoryTable::tick(unsigned second) {
    if (!mapped())
        return;
    in_place::storeFigures(second);
}

PlayerFigures MemoryTable::player(int i) const {
    if (!mapped() || i < 0 || i >= kPlayers)
        return {};
    return in_place::loadFigures(i);
}

std::uint16_t MemoryTable::debugFlag() const {
    return mapped() ? in_place::load<std::uint16_t>(kDebugFlagAddress) : 0;
}

} // namespace kv::standin
