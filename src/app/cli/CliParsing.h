#pragma once

#include <QCommandLineParser>
#include <QTextStream>

#include <optional>

QTextStream &errorStream();

// The parser's help with the usage line as it must be typed: orvane SUBCOMMAND [options] ...
QString helpText(const QCommandLineParser &parser);

// Tells the mistake in one line, with where help is; returns ExitUsage.
int usageFault(const QString &mistake);

// Adds --help and parses; when the command must stop here (help, wrong usage) gives its exit
// code. The number of positional arguments must lie within [minArguments, maxArguments].
std::optional<int> parseArguments(QCommandLineParser &parser, const QStringList &arguments,
                                  qsizetype minArguments, qsizetype maxArguments);
