#include "modBitmap.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace modBitmap;

namespace {

// Opening a FIFO for reading waits for a writer: the window would hang for good.
TEST(SpecialFiles, AFifoIsNoPictureAndIsNotOpened)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe.bmp"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_FALSE(IsPictureFile(fifo));
    EXPECT_FALSE(RasterSize(fifo).ok());
    EXPECT_FALSE(BitmapToRaster(fifo).ok());
}

} // namespace
