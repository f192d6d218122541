#pragma once
// Switching MODs on and off by renaming their archives between ".kdg" and ".kvw", and the
// list operations built on it.
#include "content/content_env.h"
#include "content/content_state.h"
#include "kdg/name_tables.h"

#include <string>

namespace kv::content {

// Rebuilds the list from the game folder: active archives first, then inactive ones;
// the game's own archives are never listed.
void refreshModList(ContentState& state, const ContentEnv& env);

// The user ticked or unticked entry `index`; `checked` is the new state. Ignored while
// the list is rebuilt and for blank entries.
void setModChecked(ContentState& state, const ContentEnv& env, int index, bool checked);

// Selecting an entry: updates the delete button (and the selection log under "debug").
void selectMod(ContentState& state, const ContentEnv& env, int index);

// Renames when `oldPath` exists (deleting an existing target first when `overwrite`);
// otherwise says the old file does not exist.
bool RenameFile(const ContentEnv& env, const std::string& oldPath, const std::string& newPath,
                bool overwrite);

// On exit: every unticked entry whose ".kdg" still exists becomes ".kvw".
void RenameKDGs(ContentState& state, const ContentEnv& env);

// Every active non-original archive becomes inactive. When an inactive one of the same
// name exists the user is asked, as for a single untick; nothing is overwritten silently.
void DisableAllMODs(ContentState& state, const ContentEnv& env);

// Every active MOD that carries custom content (a names list) is switched off; archives
// not read yet are read first.
void DisableUnsafeMODs(ContentState& state, const ContentEnv& env, const kdg::NameTables& tables);

// The delete button and the "Delete" menu entry.
void deleteMod(ContentState& state, const ContentEnv& env);

// The "Compatibility" menu entry.
void showCompatibilityNote(Ui& ui);

} // namespace kv::content
