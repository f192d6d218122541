#pragma once
// Script customizing inside the content area: the catalogue scans read the customizing
// fields, the install writes the picks.
namespace kv::content {

struct ContentState;

void wireScriptHooks(ContentState& state);

} // namespace kv::content
