#include "ConversionOptions.h"
#include "CliParsing.h"
#include "CliTexts.h"

#include <array>

using modBitmap::Reduction;

namespace {

const QCommandLineOption ditherOption(
    QStringLiteral("dither"),
    QStringLiteral("How grey becomes dots: none (black below the threshold; the default), "
                   "floyd-steinberg, atkinson or ordered."),
    QStringLiteral("MODE"), QStringLiteral("none"));
const QCommandLineOption thresholdOption(
    QStringLiteral("threshold"),
    QStringLiteral("With --dither none: dots darker than N (0 to 255, default 128) print black."),
    QStringLiteral("N"), QString::number(modBitmap::DefaultThresholdLevel));
const QCommandLineOption widthOption(
    QStringLiteral("width"),
    QStringLiteral("The printer's width in dots, a multiple of 8 from 8 to 576 (default 512; "
                   "384 for 58 mm paper, 576 for 80 mm)."),
    QStringLiteral("DOTS"), QString::number(modBitmap::DefaultWidthDots));

const QCommandLineOption invertOption(
    QStringLiteral("invert"),
    QStringLiteral("Swap light and dark before scaling (a logo drawn white on black)."));
const QCommandLineOption rotateOption(
    QStringLiteral("rotate"),
    QStringLiteral("Turn the picture clockwise by 90, 180 or 270 degrees before scaling "
                   "(default 0)."),
    QStringLiteral("DEGREES"), QStringLiteral("0"));

struct NamedReduction
{
    QLatin1StringView name;
    Reduction reduction;
};

constexpr std::array<NamedReduction, 4> Reductions{{
    {QLatin1StringView("none"), Reduction::Threshold},
    {QLatin1StringView("floyd-steinberg"), Reduction::FloydSteinberg},
    {QLatin1StringView("atkinson"), Reduction::Atkinson},
    {QLatin1StringView("ordered"), Reduction::Ordered},
}};

std::optional<Reduction> reductionNamed(const QString &name)
{
    for (const NamedReduction &named : Reductions) {
        if (name == named.name)
            return named.reduction;
    }
    return std::nullopt;
}

std::optional<qint64> wholeNumber(const QString &text)
{
    bool ok = false;
    const qint64 number = text.toLongLong(&ok);
    return ok ? std::optional<qint64>(number) : std::nullopt;
}

std::nullopt_t usageError(const QString &message)
{
    usageFault(message);
    return std::nullopt;
}

} // namespace

void addConversionOptions(QCommandLineParser &parser)
{
    parser.addOptions({ditherOption, thresholdOption, widthOption, invertOption, rotateOption});
}

std::optional<modBitmap::ConversionChoices> conversionChoices(const QCommandLineParser &parser)
{
    modBitmap::ConversionChoices choices;
    const QString dither = parser.value(ditherOption);
    const auto reduction = reductionNamed(dither);
    if (!reduction)
        return usageError(CliTexts::BadDither.arg(dither));
    choices.reduction = *reduction;

    const QString threshold = parser.value(thresholdOption);
    const auto level = wholeNumber(threshold);
    if (!level || !modBitmap::isThresholdLevel(*level))
        return usageError(CliTexts::BadThreshold.arg(threshold));
    if (parser.isSet(thresholdOption) && choices.reduction != Reduction::Threshold)
        return usageError(CliTexts::ThresholdWithoutNone);
    choices.thresholdLevel = int(*level);

    const QString width = parser.value(widthOption);
    const auto dots = wholeNumber(width);
    if (!dots || !modBitmap::isWidthDots(*dots))
        return usageError(CliTexts::BadWidth.arg(width));
    choices.widthDots = qint32(*dots);

    const QString rotate = parser.value(rotateOption);
    const auto degrees = wholeNumber(rotate);
    if (!degrees || !modBitmap::isRotation(*degrees))
        return usageError(CliTexts::BadRotate.arg(rotate));
    choices.rotationDegrees = int(*degrees);
    choices.invert = parser.isSet(invertOption);
    return choices;
}
