#include "tools/worldgen/kdg_project_resources.h"

#include "tools/worldgen/content_files.h"

namespace kv::worldgen {

void writeKdgProjectResources(const std::string& launcherFolder) {
    static const char* const kLists[] = {
        "PieStats.krf",     "Stats.krf",        "multiRes.krf",     "audio.krf",
        "frontend.krf",     "VidMem.krf",       "vidmem3.krf",      "skirmish2.krf",
        "skirmish4.krf",    "skirmish8.krf",    "t2-skirmish2.krf", "t2-skirmish4.krf",
        "t2-skirmish8.krf", "t3-skirmish2.krf", "t3-skirmish4.krf", "t3-skirmish8.krf"};
    const std::string resources = launcherFolder + "/resources/";
    writeContentFile(resources + "MakeKDG.exe", "MZ tool");
    for (const char* list : kLists)
        writeContentFile(resources + list, list);
}

} // namespace kv::worldgen
