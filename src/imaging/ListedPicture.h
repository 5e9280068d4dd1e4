#pragma once

#include "ConversionChoices.h"

#include <QString>

// One entry of the image list: the file, and how it is to be converted.
struct ListedPicture
{
    // A path alone is listed with the default choices, as every picture was before there
    // were choices.
    ListedPicture(QString path, modBitmap::ConversionChoices choices = {})
        : path(std::move(path))
        , choices(choices)
    {}

    QString path;
    modBitmap::ConversionChoices choices;
};
