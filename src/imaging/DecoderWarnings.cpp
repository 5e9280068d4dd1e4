#include "DecoderWarnings.h"

#include <QtGlobal>

#include <atomic>
#include <cstring>
#include <mutex>

namespace {

thread_local QStringList *collected = nullptr;
std::atomic<QtMessageHandler> passOn{nullptr};

// Qt's image readers log under qt.gui.imageio and its subcategories (qt.gui.imageio.jpeg);
// libpng's harmless remarks come as info messages and stay in the log.
bool isDecoderWarning(QtMsgType type, const QMessageLogContext &context)
{
    constexpr char category[] = "qt.gui.imageio";
    return (type == QtWarningMsg || type == QtCriticalMsg) && context.category &&
           std::strncmp(context.category, category, sizeof(category) - 1) == 0;
}

void collect(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (collected && isDecoderWarning(type, context)) {
        collected->append(message);
        return;
    }
    passOn.load()(type, context, message);
}

} // namespace

DecoderWarnings::DecoderWarnings()
    : m_outer(collected)
{
    static std::once_flag installed;
    std::call_once(installed, [] {
        // The handler in place is known before collect can run, so collect always has one.
        passOn.store(qInstallMessageHandler(nullptr));
        qInstallMessageHandler(collect);
    });
    collected = &m_messages;
}

DecoderWarnings::~DecoderWarnings()
{
    collected = m_outer;
}
