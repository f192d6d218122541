#include "tools/worldgen/digest.h"

#include <QCryptographicHash>

namespace kv::worldgen {

std::string sha256Hex(const std::string& bytes) {
    return QCryptographicHash::hash(QByteArray::fromStdString(bytes), QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

} // namespace kv::worldgen
