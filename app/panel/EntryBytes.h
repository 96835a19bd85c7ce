#pragma once

#include <QByteArray>
#include <QString>
#include <string>

namespace vistrel {

// Texts on the panel are bytes from a description file or the camera. Entries keep their bytes as
// item data, so what was inserted goes back unchanged even when it was not UTF-8.
inline QByteArray toByteArray(const std::string& bytes) {
    return {bytes.data(), static_cast<qsizetype>(bytes.size())};
}

inline std::string toBytes(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<size_t>(bytes.size())};
}

// Text the user typed goes to the camera as UTF-8.
inline std::string typedBytes(const QString& text) {
    return toBytes(text.toUtf8());
}

} // namespace vistrel
