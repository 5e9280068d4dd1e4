#pragma once

#include <QCommandLineParser>
#include <QTextStream>

#include <optional>

QTextStream &errorStream();

// Adds --help and parses; when the command must stop here (help, wrong usage) gives its exit
// code. The number of positional arguments must lie within [minArguments, maxArguments].
std::optional<int> parseArguments(QCommandLineParser &parser, const QStringList &arguments,
                                  qsizetype minArguments, qsizetype maxArguments);
