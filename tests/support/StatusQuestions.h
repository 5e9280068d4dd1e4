#pragma once

#include <QByteArray>

// DLE EOT 1, 2 and 4: what every job on a link that can answer sends before its own bytes.
inline const QByteArray StatusQuestions = QByteArray::fromHex("100401100402100404");
