#include "common/error_box.h"

namespace kv {

std::string formatErrorBox(int number, std::string_view description, std::string_view operation) {
    std::string text = "Error:\n";
    text += std::to_string(number);
    text += ": ";
    text += description;
    text += "\nError in: ";
    text += operation;
    text += "()";
    return text;
}

void showErrorBox(Ui& ui, int number, std::string_view description, std::string_view operation) {
    ui.message(formatErrorBox(number, description, operation), Icon::Critical);
}

} // namespace kv
