#pragma once
// The one crossing between the system's byte texts and Qt's strings.
#include <QString>
#include <string>
#include <string_view>

namespace kv::ui {

QString toQt(std::string_view bytes);
std::string fromQt(const QString& text);

} // namespace kv::ui
