#pragma once
// Snapshots of folders and the effect a plan's file steps would have on one: what the
// start-plan tests compare with what the real install left.
#include "content/start_plan.h"

#include <map>
#include <string>
#include <vector>

namespace kv::test {

// Every file below `folder` by its relative path ('/' separated, lower case) and bytes.
using FolderSnapshot = std::map<std::string, std::string>;
FolderSnapshot snapshot(const std::string& folder);

// `before` with the plan's deletes, writes, copies and renames in `folder` applied.
FolderSnapshot applyFileSteps(const content::StartPlan& plan, const std::string& folder,
                              FolderSnapshot before);

// The message texts the plan shows, in order, up to where it stops.
std::vector<std::string> plannedMessageTexts(const content::StartPlan& plan);

// The plan's steps of one kind.
std::vector<const content::PlanStep*> stepsOf(const content::StartPlan& plan,
                                              content::StepKind kind);

// The paths of the changed, added and removed files.
std::vector<std::string> differences(const FolderSnapshot& a, const FolderSnapshot& b);

} // namespace kv::test
