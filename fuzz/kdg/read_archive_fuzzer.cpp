// Feeds arbitrary bytes to the archive reader, with name tables that make every naming
// rule reachable, and lists whatever it accepts; the directory-only read runs beside it.
#include "kdg/archive_reader.h"
#include "kdg/extraction.h"
#include "kdg/file_list.h"

#include <cstddef>
#include <cstdint>

namespace {

const kv::kdg::NameTables& tables() {
    static const kv::kdg::NameTables t = kv::kdg::NameTables::fromText(
        "0,Zero.txt,TEXT,\\texpages\n1,Names.txt,TEXT,Map1\n41414141,..\\up.txt,,\\..\\x\n"
        "10,Section.krf,KRF,\n",
        "TEXT,1,txt\nPIE,2,pie\nMISC,e778391,dat\n");
    return t;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kv::kdg::KdgArchiveInfo info;
    std::string reason;
    // The directory-only read accepts exactly what the full read accepts, with the same
    // rows, and never names a file by its contents.
    kv::kdg::KdgArchiveInfo directory;
    std::string directoryReason;
    const bool directoryRead =
        kv::kdg::readArchiveDirectoryImage(data, size, tables(), directory, &directoryReason);
    for (const kv::kdg::KdgEntry& e : directory.Entries)
        if (e.NamedByContent)
            __builtin_trap();
    const bool fullRead = kv::kdg::readArchiveImage(data, size, tables(), info, &reason);
    if (directoryRead != fullRead || directory.Entries.size() != info.Entries.size() ||
        (!directoryRead && directoryReason.empty()))
        __builtin_trap();
    if (fullRead) {
        // Whatever is accepted must be safe to list and to describe.
        std::size_t total = 0;
        for (const std::string& line : kv::kdg::fileListLines(info))
            total += line.size();
        std::uint64_t stored = 0;
        for (const kv::kdg::KdgEntry& e : info.Entries) {
            if (!e.IsEmpty && e.DataOffset + e.Size > size)
                __builtin_trap();
            stored += e.IsEmpty ? 0 : e.Size;
            total += kv::kdg::unsafeOutputName(e).has_value();
        }
        // No two entries share data, so extraction never writes more than the archive holds.
        if (stored > size)
            __builtin_trap();
        return total == 0 ? 0 : 0;
    }
    if (reason.empty())
        __builtin_trap();
    return 0;
}
