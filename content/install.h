#pragma once
// Installing the chosen AIs and rules into the game's "multiplay\skirmish" folder, and
// putting the game's default scripts back afterwards.
#include "content/content_env.h"
#include "content/content_state.h"
#include "content/install_plan.h"

#include <string>

namespace kv::content {

// More copies of this AI than the game can load make the install refuse.
inline constexpr int kMaxWaterAIs = 3;

// Writes each chosen AI as its player's script pair and copies the chosen rules over the
// game's rules scripts, by planning the install and carrying the plan out. False when
// refused or stopped by an error (already reported); scripts are written whole or not at
// all.
bool makeSloVlo(ContentState& state, const ContentEnv& env, const InstallOptions& options = {});

// The catalogue AI that "<Random>" stands for with draw `r` in [0, 1); empty when the
// catalogue has none.
std::string resolveRandom(const PlayerChoices& choices, double r);

// Copies the launcher's "resources\backup" files over the game's skirmish scripts.
void CopyDefaultFiles(const ContentState& state, const ContentEnv& env);

// On close: deletes what the last install put into the game, then restores the defaults.
void removeInstalledFiles(ContentState& state, const ContentEnv& env);

} // namespace kv::content
