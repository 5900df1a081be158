#include "tests/report/PdfReader.h"

#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace pdf {

namespace {

QString run(const QString &program, const QStringList &arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

QString normalised(const QString &text) {
    static const QRegularExpression marks(QStringLiteral("[\\x{200E}\\x{200F}\\x{202A}-\\x{202E}]"));
    static const QRegularExpression blanks(QStringLiteral("[ \\t]+"));
    QString s = text.normalized(QString::NormalizationForm_KC);
    s.remove(marks);
    s.replace(blanks, QStringLiteral(" "));
    return s;
}

QString text(const QString &path, int page) {
    QStringList arguments{QStringLiteral("-layout")};
    if (page > 0)
        arguments << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
                  << QString::number(page);
    QStringList lines =
        run(QStringLiteral("pdftotext"), arguments << path << QStringLiteral("-")).split(QLatin1Char('\n'));
    for (QString &line : lines)
        line = normalised(line).trimmed();
    return lines.join(QLatin1Char('\n'));
}

QString lineWith(const QString &text, const QString &part) {
    for (const QString &line : text.split(QLatin1Char('\n')))
        if (line.contains(part))
            return line;
    return {};
}

int pageCount(const QString &path) {
    const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption);
    return pages.match(run(QStringLiteral("pdfinfo"), {path})).captured(1).toInt();
}

QSize pageSize(const QString &path) {
    const QRegularExpression size(QStringLiteral("^Page size:\\s+([\\d.]+) x ([\\d.]+)"),
                                  QRegularExpression::MultilineOption);
    const auto match = size.match(run(QStringLiteral("pdfinfo"), {path}));
    return QSize(qRound(match.captured(1).toDouble()), qRound(match.captured(2).toDouble()));
}

std::vector<Word> words(const QString &path) {
    std::vector<Word> result;
    QXmlStreamReader xml(
        run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")}));
    int page = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("page")) {
            ++page;
        } else if (xml.name() == QLatin1String("word")) {
            const auto a = xml.attributes();
            auto at = [&](const char *name) { return a.value(QLatin1String(name)).toDouble(); };
            const QRectF box(QPointF(at("xMin"), at("yMin")), QPointF(at("xMax"), at("yMax")));
            result.push_back({page, normalised(xml.readElementText()), box});
        }
    }
    return result;
}

} // namespace pdf
