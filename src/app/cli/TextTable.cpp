#include "TextTable.h"

QString textTable(const QStringList &heading, const QList<QStringList> &rows)
{
    QList<qsizetype> widths;
    for (const QString &cell : heading)
        widths.append(cell.size());
    for (const QStringList &row : rows) {
        for (qsizetype column = 0; column < row.size() && column < widths.size(); ++column)
            widths[column] = std::max(widths[column], row[column].size());
    }
    QString text;
    for (const QStringList &row : QList<QStringList>{heading} + rows) {
        QString line;
        for (qsizetype column = 0; column < row.size(); ++column) {
            const bool last = column + 1 == row.size();
            line += last ? row[column] : row[column].leftJustified(widths[column] + 2);
        }
        text += line + QLatin1Char('\n');
    }
    return text;
}
