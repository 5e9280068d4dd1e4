#pragma once

#include "ConversionChoices.h"

#include <QString>

#include <array>
#include <utility>

// Every text the window shows of its own.
namespace AppTexts {
inline const QString Caption = QStringLiteral("Orvane Ver.0.9");
inline const QString SelectPort = QStringLiteral("Select the Port\uFF1A");
inline const QString SetBaudRate = QStringLiteral("Set BaudRate\uFF1A");
inline const QString UnSelected = QStringLiteral("UnSelected");
inline const QString Combo1 = QStringLiteral("Combo1");
inline const QString AddImage = QStringLiteral("Add Image");
inline const QString RemoveImage = QStringLiteral("Remove Image");
inline const QString UploadImage = QStringLiteral("Upload Image");
inline const QString EraseImage = QStringLiteral("Erase Uploaded Image");
inline const QString PrintImage = QStringLiteral("Print Uploaded Image");
inline const QString NvGraphics = QStringLiteral("NV graphics (GS ( L)");
inline const QString Processing = QStringLiteral("PROCESSING");
inline const QString Ready = QStringLiteral("Ready.");
inline const QString Checking = QStringLiteral("Checking...");
inline const QString DriverName = QStringLiteral("DriverName : ");
inline const QString OpenDialogTitle = QStringLiteral("\u8B80\u53D6\u5716\u6A94");
inline const QString OpenDialogFilter = QStringLiteral("*.*");
inline const QString UnreadableTitle = QStringLiteral("Picture not readable");
inline const QString UnreadableText =
    QStringLiteral("These listed pictures can no longer be read and count as 0 bytes:\n%1");
inline const QString Converting = QStringLiteral("Converting %1 of %2");
inline const QString PortBoxTip = QStringLiteral(
    "The printer's port: a serial port such as COM1: or /dev/ttyUSB0, a parallel port such as "
    "LPT1: or /dev/usb/lp0, or a network printer as tcp://HOST[:9100] or HOST:PORT.");
inline const QString RateBoxTip = QStringLiteral(
    "The line's rate in bits per second, such as 9600, 19200, 38400 or 115200. Used for serial "
    "ports only.");
inline const QString PreviewAction = QStringLiteral("Preview...");
inline const QString MoveUpAction = QStringLiteral("Move Up");
inline const QString MoveDownAction = QStringLiteral("Move Down");
inline const QString RemoveAction = QStringLiteral("Remove");
inline const QString ImageTip = QStringLiteral("The next upload stores it as NV image %1");
inline const QString GraphicTip =
    QStringLiteral("The next upload stores it as the NV graphic with key %1");
inline const QString NotStoredTip =
    QStringLiteral("The next upload leaves it out: one upload stores at most %1");

inline const QString PreviewTitle = QStringLiteral("Preview of %1");
inline const std::array<std::pair<modBitmap::Reduction, QString>, 4> Reductions{{
    {modBitmap::Reduction::Threshold, QStringLiteral("Threshold")},
    {modBitmap::Reduction::FloydSteinberg, QStringLiteral("Floyd\u2013Steinberg diffusion")},
    {modBitmap::Reduction::Atkinson, QStringLiteral("Atkinson diffusion")},
    {modBitmap::Reduction::Ordered, QStringLiteral("Ordered (Bayer 8\u00D78)")},
}};
inline const QString ReductionLabel = QStringLiteral("Reduction:");
inline const QString ThresholdLabel = QStringLiteral("Threshold:");
inline const QString WidthLabel = QStringLiteral("Printer width:");
inline const QString DotsSuffix = QStringLiteral(" dots");
inline const QString Enlarge = QStringLiteral("Enlarge 2\u00D7");
inline const QString InvertLabel = QStringLiteral("Invert:");
inline const QString InvertBox = QStringLiteral("Swap black and white");
inline const QString RotationLabel = QStringLiteral("Rotate:");
inline const std::array<std::pair<int, QString>, 4> Rotations{{
    {0, QStringLiteral("None")},
    {90, QStringLiteral("90\u00B0 clockwise")},
    {180, QStringLiteral("180\u00B0")},
    {270, QStringLiteral("270\u00B0 clockwise")},
}};
inline const QString SizeLabel = QStringLiteral("Stored:");
inline const QString RecordSize = QStringLiteral("%1 \u00D7 %2 dots, %3 bytes");
} // namespace AppTexts
