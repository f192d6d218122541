#pragma once
// The pages ask for a fresh environment on every action, so a change of installation or
// of the debug switch reaches them without being told.
#include "content/content_env.h"

#include <functional>

namespace kv::ui {

using ContentEnvSource = std::function<content::ContentEnv()>;

} // namespace kv::ui
