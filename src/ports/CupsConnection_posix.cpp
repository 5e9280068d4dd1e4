#include "CupsConnection.h"

namespace {

int giveUpWaiting(http_t *, void *)
{
    return 0;
}

const char *noPassword(const char *, http_t *, const char *, const char *, void *)
{
    return nullptr;
}

} // namespace

http_t *connectToScheduler(const char *server, int port, std::chrono::milliseconds connectLimit,
                           std::chrono::milliseconds answerLimit)
{
    http_t *http = httpConnect2(server, port, nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                int(connectLimit.count()), nullptr);
    if (!http)
        return nullptr;
    httpSetTimeout(http, std::chrono::duration<double>(answerLimit).count(), giveUpWaiting,
                   nullptr);
    // The callback belongs to the calling thread.
    cupsSetPasswordCB2(noPassword, nullptr);
    return http;
}
