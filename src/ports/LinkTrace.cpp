#include "LinkTrace.h"

Q_LOGGING_CATEGORY(lcLink, "orvane.link", QtWarningMsg)

void TraceMessage(QString text)
{
    qCInfo(lcLink).noquote() << text;
}
