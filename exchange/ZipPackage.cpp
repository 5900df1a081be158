#include "exchange/ZipPackage.h"

#include <quazip.h>
#include <quazipfile.h>

namespace {
// No part of an honest workbook comes near this; a larger one is a damaged or hostile archive.
constexpr qint64 kMaxPart = 1024LL * 1024 * 1024;
} // namespace

ZipPackage::ZipPackage(const QString &path, Fail fail) : m_zip(std::make_unique<QuaZip>(path)), m_fail(fail) {
    if (!m_zip->open(QuaZip::mdUnzip))
        m_fail(
            QStringLiteral("archive zip illisible ou tronquée (code %1) ; le fichier n'est pas un classeur "
                           "valide.")
                .arg(m_zip->getZipError()));
}

ZipPackage::~ZipPackage() {
    m_zip->close();
}

bool ZipPackage::contains(const QString &name) const {
    return m_zip->setCurrentFile(name);
}

QByteArray ZipPackage::read(const QString &name, bool optional) const {
    if (!m_zip->setCurrentFile(name)) {
        if (optional)
            return {};
        m_fail(QStringLiteral("la partie « %1 » manque dans l'archive.").arg(name));
    }
    QuaZipFile file(m_zip.get());
    if (!file.open(QIODevice::ReadOnly))
        m_fail(QStringLiteral("la partie « %1 » est illisible (code %2).").arg(name).arg(file.getZipError()));
    QByteArray out;
    char buffer[64 * 1024];
    for (;;) {
        const qint64 n = file.read(buffer, sizeof buffer);
        if (n < 0)
            m_fail(QStringLiteral("la partie « %1 » est endommagée (code %2).")
                       .arg(name)
                       .arg(file.getZipError()));
        if (n == 0)
            break;
        if (out.size() + n > kMaxPart)
            m_fail(QStringLiteral("la partie « %1 » dépasse %2 octets une fois décompressée.")
                       .arg(name)
                       .arg(kMaxPart));
        out.append(buffer, n);
    }
    file.close();
    if (file.getZipError() != UNZ_OK)
        m_fail(
            QStringLiteral("la partie « %1 » est endommagée (somme de contrôle fausse ou archive tronquée).")
                .arg(name));
    return out;
}
