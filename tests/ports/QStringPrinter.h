#pragma once

#include <QString>

#include <ostream>

// Lets gtest show texts instead of their bytes when a comparison fails.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
