#pragma once

#include <QRectF>
#include <QSize>
#include <QString>
#include <vector>

// A PDF read back as poppler's pdftotext sees it. Texts are normalised for comparison: NFKC (Arabic comes
// back in presentation forms), without the bidirectional marks, runs of blanks as one blank.
namespace pdf {

QString normalised(const QString &text);

// The text of a page (0: every page) through `pdftotext -layout`, normalised line by line.
QString text(const QString &path, int page = 0);
// The first line of a text holding `part`; empty when none does.
QString lineWith(const QString &text, const QString &part);
int pageCount(const QString &path);
QSize pageSize(const QString &path); // of the first page, in whole points: 595 x 842 for A4 portrait

// The words with their boxes in points from the top left corner of their page (`pdftotext -bbox`).
struct Word {
    int page; // from 1
    QString text;
    QRectF box;
};
std::vector<Word> words(const QString &path);

} // namespace pdf
