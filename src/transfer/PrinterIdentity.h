#pragma once

#include <QString>

// Who the printer says it is (GS I); empty where it did not tell. Every text is printable
// ASCII of at most MaxIdentityText characters.
struct PrinterIdentity
{
    QString maker;
    QString model;
    QString firmware;
    QString serialNumber;

    bool isEmpty() const
    {
        return maker.isEmpty() && model.isEmpty() && firmware.isEmpty() && serialNumber.isEmpty();
    }
};

inline constexpr int MaxIdentityText = 80;
