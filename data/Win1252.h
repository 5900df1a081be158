#pragma once

#include <QByteArray>
#include <QString>

// The database speaks WIN1252 and the declaration files are written from its bytes. These two functions
// are a bijection between the 256 byte values and 256 code points (the five bytes that Windows-1252 leaves
// undefined map to the C1 control code points of the same value), so a text read and written back is
// unchanged byte for byte.
namespace win1252 {

QString decode(const char *data, qsizetype size);
inline QString decode(const QByteArray &bytes) {
    return decode(bytes.constData(), bytes.size());
}

// Characters that Windows-1252 cannot hold become '?'; `ok` (when given) tells whether that happened.
QByteArray encode(const QString &text, bool *ok = nullptr);

} // namespace win1252
