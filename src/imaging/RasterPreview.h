#pragma once

#include <QByteArray>
#include <QImage>

// The record as the printer prints it: one pixel a dot, black dots black, x x 8 by y x 8
// pixels from the record header. A null image when the record is malformed.
QImage rasterRecordToImage(const QByteArray &record);
