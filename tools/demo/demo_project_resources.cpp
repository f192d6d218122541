#include "tools/demo/demo_project_resources.h"

#include "common/paths.h"
#include "kdg/project_builder.h"
#include "platform/files.h"
#include "platform/text.h"

#include <algorithm>
#include <vector>

namespace kv::demo {

namespace {

// The archive tool stand-in notes its command line in the result file, as the real one
// reports there what it packed.
constexpr const char* kToolStandin = "#!/bin/sh\n"
                                     "echo \"MakeKDG stand-in: $*\"\n";

} // namespace

bool writeProjectResources(const std::string& launcher, bool fresh, std::string& error) {
    const auto put = [&](const std::string& path, const std::string& contents) {
        if (!fresh && platform::fileExists(path))
            return true;
        if (platform::writeFileAtomic(path, contents))
            return true;
        error = "cannot write " + path;
        return false;
    };
    if (!put(joinPath(launcher, "resources\\MakeKDG.exe"), kToolStandin))
        return false;
    std::vector<std::string> lists;
    for (const kdg::ProjectAspect& aspect : kdg::projectAspects())
        for (const char* list : aspect.resourceLists)
            if (std::find(lists.begin(), lists.end(), list) == lists.end())
                lists.emplace_back(list);
    for (const std::string& list : lists) {
        const std::string text =
            platform::joinLinesCrLf({"// " + list + ": demo resource list", "", "[directory]"});
        if (!put(joinPath(launcher, "resources\\" + list), text) ||
            !put(joinPath(launcher, "Mods\\KRFs\\" + list), text))
            return false;
    }
    return put(joinPath(launcher, "Settings\\KVS\\KVSLinks.ini"),
               platform::joinLinesCrLf({"// The demo's own link colours",
                                        "MainLinkTextExpanded = \"    Korvane Starter demo\"",
                                        "MainLinkTextCollapsed = \"  Demo\"",
                                        "MainLinkURL = \"https://demo.korvane.example/forum/\"",
                                        "MainLinkBackground = \"3381555\"",
                                        "MainLinkTextColor = \"16777215\"",
                                        "MainLinkBackgroundFlashColor = \"16777215\"",
                                        "MainLinkTextFlashColor = \"3381555\"",
                                        "StartButtonBackColor = \"10079232\""}));
}

} // namespace kv::demo
