#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Polls until condition holds, letting the test's own event loop run meanwhile; false once
// timeoutMs have passed. Generous by default: tests share a loaded machine.
bool waitFor(const std::function<bool()> &condition, int timeoutMs = 10000);

// The whole file; empty when it cannot be read.
QByteArray readFile(const QString &path);
