#pragma once

#include <QString>

#include <cmath>
#include <limits>
#include <optional>

// An optional sign, decimal digits and at most one decimal point, with at least one digit.
bool IsNumber(const QString &text);
// Leading and trailing spaces removed; other white space stays.
QString trimSpaces(const QString &text);

// A number text as a whole number of type Whole, an exact half going to the even neighbour;
// nothing when the text is not a number or the value does not fit.
template <typename Whole> std::optional<Whole> wholeNumberOf(const QString &text)
{
    if (!IsNumber(text))
        return std::nullopt;
    // nearbyint rounds halves to even under the default rounding mode.
    const double number = std::nearbyint(text.toDouble());
    if (number < std::numeric_limits<Whole>::min() || number > std::numeric_limits<Whole>::max())
        return std::nullopt;
    return static_cast<Whole>(number);
}
