#pragma once
// Plans the install that runs before every start: what it deletes, writes, copies and
// renames in the game folder and what it says, without changing a file.
#include "content/content_env.h"
#include "content/content_state.h"
#include "content/start_plan.h"

#include <cstdint>
#include <optional>

namespace kv::content {

struct InstallOptions {
    // Seeds "<Random>"; by default the clock, so every install draws afresh.
    std::optional<std::uint32_t> randomSeed;
};

// The whole install: the files the last install left are removed, the requirements of
// the chosen content resolved, then the players' and the rules' scripts installed.
StartPlan planInstall(const ContentState& state, const ContentEnv& env,
                      const InstallOptions& options = {});

// The part after the requirements, planned against the game folder as `files` (the
// removals already planned or done) leaves it.
class PlannedFiles;
StartPlan planInstallBody(const ContentState& state, const ContentEnv& env,
                          const InstallOptions& options, PlannedFiles& files);

// The archives that player `owner` (or kRulesOwner) needs: copied in from the AI's or
// rules' `folder` and the required archives, or switched on again.
StartPlan planAdditionalFiles(const ContentState& state, const ContentEnv& env, int owner,
                              std::string_view folder, const std::string& ownerName);

// The player lists' texts and the rules choice, to see whether something changed them.
std::vector<std::string> choicesSeen(const ContentState& state);

// Carries the steps out in order. False when a step stops the install or a write fails
// (reported with the error box). Registry and command-line steps are left to the start.
bool executeInstallPlan(ContentState& state, const ContentEnv& env, StartPlan plan,
                        const InstallOptions& options = {});

} // namespace kv::content
