#pragma once
// The common error box: operations that fail with an error show it and go on.
#include "common/ui_port.h"

#include <string>
#include <string_view>

namespace kv {

// "Error:" \n number ": " description \n "Error in: " operation "()"
std::string formatErrorBox(int number, std::string_view description, std::string_view operation);

void showErrorBox(Ui& ui, int number, std::string_view description, std::string_view operation);

} // namespace kv
