#pragma once
// Script customizing inside the content area: the catalogue scans read the customizing
// fields, the install writes the picks.
namespace kv {

namespace content {
struct ContentState;
}

void wireScriptHooks(content::ContentState& state);

} // namespace kv
