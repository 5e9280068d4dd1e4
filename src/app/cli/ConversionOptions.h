#pragma once

#include "ConversionChoices.h"

#include <QCommandLineParser>

#include <optional>

// The options of raster, preview and upload that say how every picture is converted.
void addConversionOptions(QCommandLineParser &parser);

// The choices the parsed options name; nullopt once a wrong value has been reported, which
// is a usage error.
std::optional<modBitmap::ConversionChoices> conversionChoices(const QCommandLineParser &parser);
