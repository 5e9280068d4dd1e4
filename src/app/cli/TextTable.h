#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Rows under a heading, each column as wide as its widest cell, two spaces apart.
QString textTable(const QStringList &heading, const QList<QStringList> &rows);
