#include "CliHarness.h"

#include "OrvaneProject.h"

namespace {

// With no display to open, a window that started would make the program fail.
TEST(Version, BothProgramsPrintNameAndProjectVersionWithoutAWindow)
{
    QProcessEnvironment headless = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        headless.remove(QLatin1String(name));

    const ProgramRun orvane =
        runProgram(QStringLiteral(ORVANE_EXE), {QStringLiteral("--version")}, headless, 30000);
    EXPECT_EQ(orvane.exitCode, 0) << orvane.err.toStdString();
    EXPECT_EQ(orvane.out, QStringLiteral("orvane " ORVANE_VERSION "\n"));

    const ProgramRun printer = runProgram(QStringLiteral(VIRTUAL_PRINTER_EXE),
                                          {QStringLiteral("--version")}, headless, 30000);
    EXPECT_EQ(printer.exitCode, 0) << printer.err.toStdString();
    EXPECT_EQ(printer.out, QStringLiteral("orvane-virtual-printer " ORVANE_VERSION "\n"));
}

} // namespace
