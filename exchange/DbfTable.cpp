#include "exchange/DbfTable.h"

#include "data/Win1252.h"
#include "exchange/SpreadsheetReader.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <limits>

namespace {

constexpr qsizetype kHeaderSize = 32;
constexpr qsizetype kDescriptorSize = 32;
constexpr char kDescriptorsEnd = 0x0D;

unsigned byteAt(const QByteArray &data, qsizetype at) {
    return static_cast<unsigned char>(data[at]);
}

quint32 littleEndian(const QByteArray &data, qsizetype at, int size) {
    quint32 v = 0;
    for (int i = size - 1; i >= 0; --i)
        v = v << 8 | byteAt(data, at + i);
    return v;
}

// The version bytes of the dBase family: dBase II to V, FoxBase, FoxPro and Visual FoxPro, with or
// without memo files.
bool isDbaseVersion(unsigned version) {
    switch (version) {
    case 0x02:
    case 0x03:
    case 0x04:
    case 0x05:
    case 0x30:
    case 0x31:
    case 0x32:
    case 0x43:
    case 0x63:
    case 0x7B:
    case 0x83:
    case 0x8B:
    case 0x8E:
    case 0xCB:
    case 0xF5:
    case 0xFB: return true;
    default: return false;
    }
}

QByteArray trimmedRight(QByteArray bytes) {
    while (!bytes.isEmpty() && (bytes.back() == ' ' || bytes.back() == '\0'))
        bytes.chop(1);
    return bytes;
}

} // namespace

DbfTable::DbfTable(const QString &path) : m_path(path) {
    if (QFileInfo(path).suffix().compare(QLatin1String("db"), Qt::CaseInsensitive) == 0)
        fail(QStringLiteral("les tables Paradox (.DB) ne peuvent pas être lues : enregistrez la table au "
                            "format dBase (.DBF)."));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("impossible de l'ouvrir (%1).").arg(file.errorString()));
    m_data = file.readAll();
    readHeader();
}

void DbfTable::fail(const QString &what) const {
    throw SpreadsheetError(QStringLiteral("Fichier « %1 » : %2").arg(QFileInfo(m_path).fileName(), what));
}

void DbfTable::readHeader() {
    const qsizetype size = m_data.size();
    if (size < kHeaderSize + 1)
        fail(QStringLiteral("trop court pour une table dBase (%1 octet(s)).").arg(size));
    if (!isDbaseVersion(byteAt(m_data, 0)))
        fail(QStringLiteral("ce n'est pas une table dBase (.DBF) : octet de version 0x%1 inconnu.")
                 .arg(byteAt(m_data, 0), 2, 16, QLatin1Char('0')));
    const quint32 declared = littleEndian(m_data, 4, 4);
    const qsizetype headerLength = littleEndian(m_data, 8, 2);
    const qsizetype recordLength = littleEndian(m_data, 10, 2);
    if (headerLength < kHeaderSize + 1 || headerLength > size)
        fail(QStringLiteral("en-tête endommagé : sa longueur (%1 octets) ne convient pas à un fichier de %2 "
                            "octets.")
                 .arg(headerLength)
                 .arg(size));

    int offset = 0; // fields follow one another after the deletion flag
    qsizetype at = kHeaderSize;
    for (; at < headerLength && m_data[at] != kDescriptorsEnd; at += kDescriptorSize) {
        if (at + kDescriptorSize >= headerLength)
            break;
        Field f;
        const QByteArray name = m_data.mid(at, 11);
        f.name = win1252::decode(name.left(name.indexOf('\0'))).trimmed();
        f.type = static_cast<char>(QChar::toUpper(byteAt(m_data, at + 11)));
        f.length = static_cast<int>(byteAt(m_data, at + 16));
        f.decimals = static_cast<int>(byteAt(m_data, at + 17));
        if (f.type == 'C') // texts longer than 255 keep the high byte of their length in the decimals
            f.length += f.decimals << 8;
        if (f.length == 0)
            fail(QStringLiteral("en-tête endommagé : le champ n° %1 (« %2 ») a une longueur nulle.")
                     .arg(m_fields.size() + 1)
                     .arg(f.name));
        f.offset = offset + 1;
        offset += f.length;
        m_fields.push_back(f);
    }
    if (at >= headerLength || m_data[at] != kDescriptorsEnd)
        fail(QStringLiteral("en-tête endommagé : la liste des champs n'est pas terminée."));
    if (m_fields.empty())
        fail(QStringLiteral("en-tête endommagé : la table n'a aucun champ."));
    if (offset + 1 > recordLength)
        fail(QStringLiteral("en-tête endommagé : les champs occupent %1 octets, plus que l'enregistrement "
                            "(%2 octets).")
                 .arg(offset + 1)
                 .arg(recordLength));

    const qsizetype available = size - headerLength;
    if (static_cast<qint64>(declared) * recordLength > available)
        fail(QStringLiteral("tronqué : %1 enregistrement(s) de %2 octets annoncé(s), mais %3 octet(s) "
                            "seulement après l'en-tête.")
                 .arg(declared)
                 .arg(recordLength)
                 .arg(available));
    if (declared > static_cast<quint32>(std::numeric_limits<int>::max()))
        fail(QStringLiteral("trop d'enregistrements (%1).").arg(declared));
    m_records.reserve(declared);
    for (quint32 r = 0; r < declared; ++r) {
        const qsizetype record = headerLength + static_cast<qsizetype>(r) * recordLength;
        if (m_data[record] != '*')
            m_records.push_back(record);
    }
}

QString DbfTable::fieldName(int field) const {
    return m_fields[static_cast<std::size_t>(field)].name;
}

ExportSource::FieldType DbfTable::fieldType(int field) const {
    switch (m_fields[static_cast<std::size_t>(field)].type) {
    case 'N':
    case 'F': return FieldType::Number;
    case 'D': return FieldType::Date;
    case 'L': return FieldType::Other;
    default: return FieldType::Text;
    }
}

int DbfTable::displayWidth(int field) const {
    const Field &f = m_fields[static_cast<std::size_t>(field)];
    return f.type == 'D' ? 10 : f.length; // dates are shown as dd/mm/yyyy
}

QVariant DbfTable::value(int row, int field) const {
    const Field &f = m_fields[static_cast<std::size_t>(field)];
    const QByteArray raw =
        trimmedRight(m_data.mid(m_records[static_cast<std::size_t>(row)] + f.offset, f.length));
    const QByteArray bytes = raw.trimmed();
    if (bytes.isEmpty())
        return {};
    switch (f.type) {
    case 'N':
    case 'F': {
        bool ok = false;
        const double d = bytes.toDouble(&ok);
        if (ok && std::isfinite(d))
            return d;
        break;
    }
    case 'D': {
        const QDate d = QDate::fromString(QString::fromLatin1(bytes), QStringLiteral("yyyyMMdd"));
        if (d.isValid())
            return d;
        if (bytes == "00000000") // what some writers leave for no date
            return {};
        break;
    }
    case 'L':
        switch (bytes.size() == 1 ? bytes[0] : '\0') {
        case 'T':
        case 't':
        case 'Y':
        case 'y': return true;
        case 'F':
        case 'f':
        case 'N':
        case 'n': return false;
        case '?': return {};
        default: break;
        }
        break;
    default: return win1252::decode(raw); // a text keeps its leading blanks
    }
    return win1252::decode(bytes);
}
