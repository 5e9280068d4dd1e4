#include "TextTable.h"

#include <algorithm>

namespace {

constexpr qsizetype Gap = 2;
// Narrower, a reason would read a word or two a line.
constexpr qsizetype MinWrappedWidth = 24;

// The text in lines of at most width characters, broken at spaces; a longer word is cut.
QStringList wrapText(const QString &text, qsizetype width)
{
    QStringList lines;
    QString line;
    for (QString word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() <= width) {
            line += QLatin1Char(' ') + word;
            continue;
        }
        if (!line.isEmpty())
            lines << line;
        while (word.size() > width) {
            lines << word.left(width);
            word.remove(0, width);
        }
        line = word;
    }
    if (!line.isEmpty() || lines.isEmpty())
        lines << line;
    return lines;
}

} // namespace

QString textTable(const QStringList &heading, const QList<QStringList> &rows, qsizetype width,
                  qsizetype wrapped)
{
    QList<qsizetype> widths;
    for (const QString &cell : heading)
        widths.append(cell.size());
    for (const QStringList &row : rows) {
        for (qsizetype column = 0; column < row.size() && column < widths.size(); ++column)
            widths[column] = std::max(widths[column], row[column].size());
    }
    qsizetype total = Gap * (widths.size() - 1);
    for (const qsizetype columnWidth : widths)
        total += columnWidth;
    if (width > 0 && wrapped >= 0 && wrapped < widths.size() && total > width) {
        widths[wrapped] =
            std::max(std::min(widths[wrapped], MinWrappedWidth), widths[wrapped] - (total - width));
    }

    QString text;
    for (const QStringList &row : QList<QStringList>{heading} + rows) {
        QList<QStringList> cells;
        qsizetype height = 1;
        for (qsizetype column = 0; column < row.size(); ++column) {
            cells.append(column == wrapped ? wrapText(row[column], widths[column])
                                           : QStringList{row[column]});
            height = std::max(height, cells.back().size());
        }
        for (qsizetype line = 0; line < height; ++line) {
            QString out;
            for (qsizetype column = 0; column < cells.size(); ++column) {
                const QString cell = cells[column].value(line);
                const bool last = column + 1 == cells.size();
                out += last ? cell : cell.leftJustified(widths[column] + Gap);
            }
            while (out.endsWith(QLatin1Char(' ')))
                out.chop(1);
            text += out + QLatin1Char('\n');
        }
    }
    return text;
}
