#include "ui/qt_text.h"

#include "platform/text.h"

namespace kv::ui {

QString toQt(std::string_view bytes) {
    const std::string utf8 = platform::toDisplayText(bytes);
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

std::string fromQt(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return platform::fromDisplayText(std::string_view(utf8.constData(), size_t(utf8.size())));
}

} // namespace kv::ui
