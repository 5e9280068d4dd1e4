#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Rows under a heading, each column as wide as its widest cell, two spaces apart. With a width
// (0: none), the wrapped column is narrowed so the lines fit it, its cells wrapped at spaces
// onto lines of their own; it never becomes narrower than a readable minimum.
QString textTable(const QStringList &heading, const QList<QStringList> &rows, qsizetype width = 0,
                  qsizetype wrapped = -1);
