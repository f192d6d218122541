#pragma once
// Names that arrive in content files, command files and from peers are names, never
// paths: an AI is the base name of its ".kvai" file, a rules set the name of its folder,
// a required archive a file name of "Mods\Required KDGs". Every door a name comes through
// checks it here before a path is built from it.
#include <string>
#include <string_view>

namespace kv::content {

// A name that can only ever name an entry of the folder it is joined to: not empty, not
// ".", and no '/', '\', "..", ':' (a drive or stream), control character or NUL.
bool isPlainContentName(std::string_view name);

// `folder` joined with `fileName` when that path lies in `folder`; empty otherwise.
std::string pathInFolder(std::string_view folder, std::string_view fileName);

// Why `name` is no archive a description file may require, or empty when it is one: a
// plain name ending in ".kdg".
std::string requiredArchiveRefusal(std::string_view name);

// The name as a message shows it: control characters and NUL as '?'.
std::string shownName(std::string_view name);

// The message shown when a name from `source` (a file, a command or a peer) is refused.
std::string refusedNameMessage(std::string_view name, std::string_view source);

} // namespace kv::content
