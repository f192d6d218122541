#pragma once
// "Extract to..." from the MODs page and the manager: the folder dialog starts where the
// user last extracted to (else the home folder), and afterwards the user is told where
// the files went, or after a stop how many were written and where.
#include "content/content_env.h"
#include "content/content_state.h"

#include <functional>
#include <string>

class QWidget;

namespace kv::ui {

// `openFolder` opens a folder in the desktop's file manager.
void extractSelectedModWithReport(QWidget* parent, content::ContentState& state,
                                  const content::ContentEnv& env,
                                  const std::function<bool(const std::string&)>& openFolder);

} // namespace kv::ui
