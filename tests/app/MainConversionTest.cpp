#include "MainFixture.h"
#include "PictureConversion.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QSemaphore>
#include <QTest>
#include <QThreadPool>
#include <QTimer>
#include <QWindow>

namespace {

// The texts a label showed whenever it was painted.
class PaintedTexts : public QObject
{
public:
    explicit PaintedTexts(QLabel *label)
        : m_label(label)
    {
        label->installEventFilter(this);
    }
    QStringList texts;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_label && event->type() == QEvent::Paint)
            texts << m_label->text();
        return false;
    }

private:
    QLabel *m_label;
};

// Holds every picture conversion worker until released, so that a conversion waits.
class BusyPool
{
public:
    BusyPool()
    {
        for (int i = 0; i < m_workers; ++i)
            pictureConversionWorkers().start([this] {
                m_started.release();
                m_release.acquire();
            });
        m_started.acquire(m_workers);
    }
    ~BusyPool() { release(); }
    void release()
    {
        m_release.release(m_workers - m_released);
        m_released = m_workers;
        pictureConversionWorkers().waitForDone();
    }

private:
    const int m_workers = pictureConversionWorkers().maxThreadCount();
    int m_released = 0;
    QSemaphore m_started;
    QSemaphore m_release;
};

} // namespace

using WindowConversion = MainFixture;

TEST_F(WindowConversion, TheWindowStaysLiveAndClosingItEndsTheConversionWithoutALink)
{
    addPicture(picture(QStringLiteral("a.png"), {600, 400}, "PNG"));
    addPicture(picture(QStringLiteral("b.png"), {600, 400}, "PNG"));
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    PaintedTexts status(window->LabAction);

    // The conversion cannot finish while the workers are held: whatever the window does
    // meanwhile, it does during the conversion.
    BusyPool busy;
    QTimer watcher;
    bool closeAnswered = false;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (!closeAnswered && status.texts.contains(QStringLiteral("Converting 1 of 2"))) {
            closeAnswered = true;
            // The window's close box, through the window system.
            window->windowHandle()->close();
        }
    });
    watcher.start(10);
    // Should the close not end the conversion, the workers go on and the link opens.
    QTimer::singleShot(20000, [&] { busy.release(); });

    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(window->Command7, Qt::LeftButton);
    const qint64 elapsedMs = clock.elapsed();
    busy.release();

    EXPECT_TRUE(closeAnswered);
    EXPECT_LT(elapsedMs, 15000) << "the close did not end the conversion";
    EXPECT_TRUE(serial->writes().isEmpty());
    EXPECT_TRUE(dialogs->messages.isEmpty());
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->isVisible());
}
