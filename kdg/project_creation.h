#pragma once
// Creating a KDG project: the user picks how (empty folder, folder structure, existing
// folder) and where, and the folder is prepared.
#include "common/ui_port.h"
#include "kdg/project_builder.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kv::kdg {

// Several of the aspects at once: the chosen indices, or nothing when cancelled.
using AspectPicker = std::function<std::optional<std::vector<int>>(
    const std::string& prompt, const std::vector<std::string>& choices)>;

inline constexpr const char* kAspectPrompt =
    "Select what aspects of the game you are going to modify with your KDG file.";

// Runs the whole creation; true when a folder was created or chosen, which is then the
// project's folder (with empty level-file slots and an empty file list). `complete`, when
// given, tells whether every part of the project was prepared: a folder made before a
// resource list failed is still the project, but not one to open for the user.
bool CreateKdgProject(KdgProject& project, const std::string& launcherFolder, Ui& ui,
                      const AspectPicker& pickAspects, bool* complete = nullptr);

} // namespace kv::kdg
