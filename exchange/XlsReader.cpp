#include "exchange/XlsReader.h"

#include <QDataStream>
#include <QDateTime>
#include <QFile>
#include <cerrno>
#include <freexl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kProtected = -1000; // ours: FreeXL reads protected workbooks as garbage

QString freexlReason(int code) {
    switch (code) {
    case FREEXL_INSUFFICIENT_MEMORY: return QStringLiteral("mémoire insuffisante");
    case FREEXL_INVALID_CFBF_HEADER:
    case FREEXL_CFBF_INVALID_SIGNATURE: return QStringLiteral("ce n'est pas un classeur Excel 97-2003");
    case FREEXL_CFBF_READ_ERROR:
    case FREEXL_CFBF_SEEK_ERROR: return QStringLiteral("fichier tronqué ou endommagé");
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND: return QStringLiteral("aucun classeur Excel dans le fichier");
    case FREEXL_UNSUPPORTED_CHARSET:
    case FREEXL_INVALID_CHARACTER: return QStringLiteral("jeu de caractères non pris en charge");
    case kProtected: return QStringLiteral("classeur protégé par un mot de passe");
    default: return QStringLiteral("structure du classeur endommagée");
    }
}

struct Workbook {
    QStringList names;
    std::vector<std::vector<SheetRow>> rows;
};

QVariant cellValue(const FreeXL_CellValue &value) {
    const bool textual = value.type == FREEXL_CELL_TEXT || value.type == FREEXL_CELL_SST_TEXT ||
                         value.type == FREEXL_CELL_DATE || value.type == FREEXL_CELL_DATETIME ||
                         value.type == FREEXL_CELL_TIME;
    const QString text =
        textual && value.value.text_value ? QString::fromUtf8(value.value.text_value) : QString();
    switch (value.type) {
    case FREEXL_CELL_INT: return static_cast<double>(value.value.int_value);
    case FREEXL_CELL_DOUBLE: return value.value.double_value;
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT: return text.isEmpty() ? QVariant() : QVariant(text);
    case FREEXL_CELL_DATE: return QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    case FREEXL_CELL_DATETIME: {
        const QDateTime dt = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        return dt.time() == QTime(0, 0) ? QVariant(dt.date()) : QVariant(dt);
    }
    case FREEXL_CELL_TIME: return QTime::fromString(text, QStringLiteral("HH:mm:ss"));
    default: return {};
    }
}

// The whole workbook; throws the French text of the fault (without the file name).
Workbook readWorkbook(const QByteArray &path) {
    const void *handle = nullptr;
    struct Close {
        const void **h;
        ~Close() {
            if (*h)
                freexl_close(*h); // asked for even when the opening failed
        }
    } close{&handle};
    auto failed = [](const QString &what, int code) {
        return QStringLiteral("%1 (%2, code %3).").arg(what, freexlReason(code)).arg(code);
    };
    int rc = freexl_open(path.constData(), &handle);
    if (rc != FREEXL_OK)
        throw failed(QStringLiteral("impossible de le lire"), rc);
    unsigned int info = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK && info == FREEXL_BIFF_OBFUSCATED)
        throw failed(QStringLiteral("impossible de le lire"), kProtected);
    unsigned int count = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK || count == 0)
        throw QStringLiteral("le classeur n'a aucune feuille.");
    Workbook book;
    for (unsigned short s = 0; s < count && s < 0xFFFF; ++s) {
        const char *name = nullptr;
        if (freexl_get_worksheet_name(handle, s, &name) != FREEXL_OK || !name)
            throw failed(QStringLiteral("nom de la feuille n° %1 illisible").arg(s + 1),
                         FREEXL_BIFF_ILLEGAL_SHEET_INDEX);
        book.names.append(QString::fromUtf8(name));
        unsigned int rows = 0;
        unsigned short columns = 0;
        rc = freexl_select_active_worksheet(handle, s);
        if (rc == FREEXL_OK)
            rc = freexl_worksheet_dimensions(handle, &rows, &columns);
        if (rc != FREEXL_OK)
            throw failed(QStringLiteral("feuille « %1 » illisible").arg(book.names.last()), rc);
        std::vector<SheetRow> sheet;
        for (unsigned int r = 0; r < rows && r < static_cast<unsigned int>(kMaxRows); ++r) {
            SheetRow row;
            row.number = static_cast<int>(r) + 1;
            for (unsigned short c = 0; c < columns; ++c) {
                FreeXL_CellValue value;
                rc = freexl_get_cell_value(handle, r, c, &value);
                if (rc != FREEXL_OK)
                    throw failed(QStringLiteral("feuille « %1 », cellule %2%3 illisible")
                                     .arg(book.names.last(), columnLetters(c))
                                     .arg(r + 1),
                                 rc);
                const QVariant cell = cellValue(value);
                if (!cell.isNull()) {
                    while (row.cells.size() < c)
                        row.cells.append(QVariant());
                    row.cells.append(cell);
                }
            }
            if (!row.cells.isEmpty())
                sheet.push_back(std::move(row));
        }
        book.rows.push_back(std::move(sheet));
    }
    return book;
}

bool writeAll(int fd, const QByteArray &data) {
    const char *p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        left -= n;
    }
    return true;
}

// A workbook of the program's size is read in well under a second; a minute means the reader is stuck.
constexpr int kReadingTimeoutMs = 60000;

} // namespace

XlsReader::XlsReader(const QString &path) : SpreadsheetReader(path) {
    // FreeXL takes any file for a damaged workbook; one that is no compound file at all is told apart.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("impossible de l'ouvrir (%1).").arg(file.errorString()));
    if (file.read(8) != QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8))
        fail(QStringLiteral("ce n'est pas un classeur Excel 97-2003 (.xls)."));
    file.close();

    int fds[2];
    if (::pipe(fds) != 0)
        fail(QStringLiteral("lecture impossible (pas de tube : %1).")
                 .arg(QString::fromLocal8Bit(strerror(errno))));
    const QByteArray name = QFile::encodeName(path);
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        fail(QStringLiteral("lecture impossible (%1).").arg(QString::fromLocal8Bit(strerror(errno))));
    }
    if (child == 0) {
        ::close(fds[0]);
        QByteArray out;
        QDataStream stream(&out, QIODevice::WriteOnly);
        try {
            const Workbook book = readWorkbook(name);
            stream << true << book.names << static_cast<qint32>(book.rows.size());
            for (const std::vector<SheetRow> &sheet : book.rows) {
                stream << static_cast<qint32>(sheet.size());
                for (const SheetRow &row : sheet)
                    stream << static_cast<qint32>(row.number) << row.cells;
            }
        } catch (const QString &error) {
            stream << false << error;
        } catch (...) {
            stream << false << QStringLiteral("mémoire insuffisante pour le lire.");
        }
        _exit(writeAll(fds[1], out) ? 0 : 1);
    }
    ::close(fds[1]);
    QByteArray in;
    char buffer[65536];
    // A reading that neither ends nor fails (a loop on a damaged file) is stopped rather than waited for.
    bool stalled = false;
    for (;;) {
        pollfd ready{fds[0], POLLIN, 0};
        const int polled = ::poll(&ready, 1, kReadingTimeoutMs);
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled == 0) {
            stalled = true;
            ::kill(child, SIGKILL);
            break;
        }
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        in.append(buffer, n);
    }
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (stalled)
        fail(QStringLiteral("classeur endommagé : sa lecture ne se termine pas."));
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        fail(QStringLiteral("classeur endommagé : sa lecture a échoué (%1).")
                 .arg(WIFSIGNALED(status) ? QStringLiteral("signal %1").arg(WTERMSIG(status))
                                          : QStringLiteral("code %1").arg(WEXITSTATUS(status))));
    QDataStream stream(in);
    bool ok = false;
    stream >> ok;
    if (!ok) {
        QString error;
        stream >> error;
        fail(error);
    }
    qint32 sheets = 0;
    stream >> m_names >> sheets;
    for (qint32 s = 0; s < sheets && stream.status() == QDataStream::Ok; ++s) {
        qint32 rows = 0;
        stream >> rows;
        std::vector<SheetRow> sheet;
        for (qint32 r = 0; r < rows && stream.status() == QDataStream::Ok; ++r) {
            SheetRow row;
            qint32 number = 0;
            stream >> number >> row.cells;
            row.number = number;
            sheet.push_back(std::move(row));
        }
        m_rows.push_back(std::move(sheet));
    }
    if (stream.status() != QDataStream::Ok || static_cast<qsizetype>(m_rows.size()) != m_names.size())
        fail(QStringLiteral("classeur endommagé : sa lecture est incomplète."));
}

void XlsReader::readRows(int sheet, const RowHandler &handler) {
    checkSheet(sheet);
    for (const SheetRow &row : m_rows[static_cast<std::size_t>(sheet)])
        if (!handler(row))
            return;
}
