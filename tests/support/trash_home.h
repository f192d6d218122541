#pragma once
// The desktop trash of the test process (a temporary XDG_DATA_HOME, see trash_home.cpp).
#include <string>
#include <string_view>

namespace kv::test {

// Where the trash keeps an entry moved there under `name`.
std::string trashed(std::string_view name);

} // namespace kv::test
