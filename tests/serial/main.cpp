#include "QtSerialControl.h"

#include <QCoreApplication>
#include <QStringList>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// Child mode: another program holding the port until the test closes our stdin.
int holdPort(const QString &path)
{
    QtSerialControl control;
    control.setDevicePath(path);
    control.setPortOpen(true);
    std::puts(control.PortOpen() ? "open" : "failed");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--hold-port"))
        return holdPort(args[2]);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
