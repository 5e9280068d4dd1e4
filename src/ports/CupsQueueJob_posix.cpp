#include "CupsConnection.h"
#include "PrintQueueJob.h"

#include <cups/cups.h>

#include <string_view>

namespace {

constexpr std::chrono::seconds ConnectLimit(5);
// The longest the scheduler may leave one request or one write unanswered.
constexpr std::chrono::seconds AnswerLimit(10);
// How long the scheduler keeps the notices of ended jobs for Orvane, should it never say
// that it is done with them.
constexpr int NoticeLease = 24 * 60 * 60;

std::string textOf(ipp_t *response, const char *name)
{
    const char *text = ippGetString(ippFindAttribute(response, name, IPP_TAG_TEXT), 0, nullptr);
    return text ? text : "";
}

bool succeeded()
{
    return cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE;
}

PrintQueueJob::Phase phaseOf(int state)
{
    switch (state) {
    case IPP_JSTATE_COMPLETED:
        return PrintQueueJob::Phase::Completed;
    case IPP_JSTATE_ABORTED:
        return PrintQueueJob::Phase::Aborted;
    case IPP_JSTATE_CANCELED:
        return PrintQueueJob::Phase::Cancelled;
    case IPP_JSTATE_STOPPED:
    case IPP_JSTATE_HELD:
        return PrintQueueJob::Phase::Stopped;
    case IPP_JSTATE_PROCESSING:
        return PrintQueueJob::Phase::Printing;
    default:
        break;
    }
    return PrintQueueJob::Phase::Pending;
}

// A job through the scheduler the user's CUPS settings name (CUPS_SERVER included).
class CupsQueueJob : public PrintQueueJob
{
public:
    explicit CupsQueueJob(std::string name)
        : m_name(std::move(name))
    {}

    ~CupsQueueJob() override
    {
        if (m_subscription > 0 && m_http) {
            ipp_t *ask = newRequest(IPP_OP_CANCEL_SUBSCRIPTION);
            ippAddInteger(ask, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "notify-subscription-id",
                          m_subscription);
            ippDelete(cupsDoRequest(m_http, ask, "/"));
        }
        cupsFreeDestInfo(m_info);
        cupsFreeDests(m_dest ? 1 : 0, m_dest);
        httpClose(m_http);
    }

    Verdict verdict(std::string &said) override
    {
        if (!connect()) {
            said = m_error;
            return Verdict::Unreachable;
        }
        static const char *const wanted[] = {"printer-state", "printer-state-message",
                                             "printer-is-accepting-jobs"};
        ipp_t *response = request(newRequest(IPP_OP_GET_PRINTER_ATTRIBUTES), wanted);
        Verdict verdict = Verdict::Takes;
        said = textOf(response, "printer-state-message");
        if (!succeeded()) {
            said = cupsLastErrorString();
            verdict = cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND ? Verdict::Unknown
                                                                    : Verdict::Unreachable;
        } else if (ippGetInteger(ippFindAttribute(response, "printer-state", IPP_TAG_ENUM), 0) ==
                   IPP_PSTATE_STOPPED) {
            verdict = Verdict::Paused;
        } else if (!ippGetBoolean(
                       ippFindAttribute(response, "printer-is-accepting-jobs", IPP_TAG_BOOLEAN),
                       0)) {
            verdict = Verdict::Rejecting;
        }
        ippDelete(response);
        return verdict;
    }

    bool start() override
    {
        if (!connect())
            return false;
        m_dest = cupsGetNamedDest(m_http, m_name.c_str(), nullptr);
        if (m_dest)
            m_info = cupsCopyDestInfo(m_http, m_dest);
        if (!m_info)
            return failed();
        subscribe();
        if (cupsCreateDestJob(m_http, m_dest, m_info, &m_jobId, "Orvane", 0, nullptr) >
            IPP_STATUS_OK_EVENTS_COMPLETE)
            return failed();
        m_documentOpen =
            cupsStartDestDocument(m_http, m_dest, m_info, m_jobId, "Orvane", CUPS_FORMAT_RAW, 0,
                                  nullptr, 1) == HTTP_STATUS_CONTINUE;
        return m_documentOpen || failed();
    }

    bool write(const char *bytes, std::size_t size) override
    {
        return cupsWriteRequestData(m_http, bytes, size) == HTTP_STATUS_CONTINUE || failed();
    }

    bool finish() override
    {
        m_documentOpen = false;
        return cupsFinishDestDocument(m_http, m_dest, m_info) <= IPP_STATUS_OK_EVENTS_COMPLETE ||
               failed();
    }

    Phase phase(std::string &said) override
    {
        static const char *const wanted[] = {"job-state", "job-state-message",
                                             "job-printer-state-message"};
        ipp_t *ask = newRequest(IPP_OP_GET_JOB_ATTRIBUTES);
        ippAddInteger(ask, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", m_jobId);
        ipp_t *job = request(ask, wanted);
        const int state = ippGetInteger(ippFindAttribute(job, "job-state", IPP_TAG_ENUM), 0);
        said = textOf(job, "job-printer-state-message");
        if (said.empty())
            said = textOf(job, "job-state-message");
        ippDelete(job);
        // Only the scheduler's own "no such job" means the job is gone; anything else is a
        // question to ask again.
        if (cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND) {
            said.clear();
            return endNoticed();
        }
        if (!succeeded()) {
            said = cupsLastErrorString();
            return Phase::Unanswered;
        }
        const Phase phase = phaseOf(state);
        if (phase != Phase::Pending && phase != Phase::Printing)
            return phase;
        // The printer's state message says why a job waits (a printer switched off). A queue
        // that stops on an error keeps the job pending: the job stops with it.
        std::string queueSaid;
        const Verdict queue = verdict(queueSaid);
        if (!queueSaid.empty())
            said = queueSaid;
        if (queue == Verdict::Paused || queue == Verdict::Unknown)
            return Phase::Stopped;
        return phase;
    }

    void abandon() override
    {
        // The connection is in the middle of the document: it ends, and a new one cancels.
        if (m_documentOpen) {
            httpClose(m_http);
            m_http = nullptr;
            m_documentOpen = false;
        }
        if (m_jobId > 0 && connect())
            cupsCancelDestJob(m_http, m_dest, m_jobId);
    }

    std::string name() const override { return m_name + "-" + std::to_string(m_jobId); }
    std::string error() const override { return m_error; }

private:
    bool connect()
    {
        if (m_http)
            return true;
        m_http = connectToScheduler(cupsServer(), ippPort(), ConnectLimit, AnswerLimit);
        if (!m_http) {
            m_error = std::string("no scheduler answers at ") + cupsServer();
            return false;
        }
        return true;
    }

    // A request about the queue, its operation attributes still open for more.
    ipp_t *newRequest(ipp_op_t operation) const
    {
        char uri[HTTP_MAX_URI];
        httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost",
                         ippPort(), "/printers/%s", m_name.c_str());
        ipp_t *request = ippNewRequest(operation);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                     cupsUser());
        return request;
    }

    template <std::size_t Count> ipp_t *request(ipp_t *ask, const char *const (&wanted)[Count])
    {
        ippAddStrings(ask, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", int(Count),
                      nullptr, wanted);
        return cupsDoRequest(m_http, ask, "/");
    }

    // A scheduler that keeps no job history forgets a job the moment it ends; a notice of
    // each ended job on the queue keeps its outcome. Without one a vanished job stays unknown.
    void subscribe()
    {
        ipp_t *ask = newRequest(IPP_OP_CREATE_PRINTER_SUBSCRIPTIONS);
        ippAddString(ask, IPP_TAG_SUBSCRIPTION, IPP_TAG_KEYWORD, "notify-pull-method", nullptr,
                     "ippget");
        ippAddString(ask, IPP_TAG_SUBSCRIPTION, IPP_TAG_KEYWORD, "notify-events", nullptr,
                     "job-completed");
        ippAddInteger(ask, IPP_TAG_SUBSCRIPTION, IPP_TAG_INTEGER, "notify-lease-duration",
                      NoticeLease);
        ipp_t *answer = cupsDoRequest(m_http, ask, "/");
        m_subscription =
            ippGetInteger(ippFindAttribute(answer, "notify-subscription-id", IPP_TAG_INTEGER), 0);
        ippDelete(answer);
    }

    // How the job ended, as the scheduler's notice of it says; Gone without one.
    Phase endNoticed()
    {
        if (m_subscription <= 0)
            return Phase::Gone;
        ipp_t *ask = newRequest(IPP_OP_GET_NOTIFICATIONS);
        ippAddInteger(ask, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "notify-subscription-ids",
                      m_subscription);
        ipp_t *notices = cupsDoRequest(m_http, ask, "/");
        if (!succeeded()) {
            ippDelete(notices);
            return cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND ? Phase::Gone : Phase::Unanswered;
        }
        // Each notice is a group of its own, its notify-job-id before its job-state.
        Phase phase = Phase::Gone;
        bool ours = false;
        for (ipp_attribute_t *item = ippFirstAttribute(notices); item;
             item = ippNextAttribute(notices)) {
            const std::string_view name = ippGetName(item) ? ippGetName(item) : "";
            if (name == "notify-job-id")
                ours = ippGetInteger(item, 0) == m_jobId;
            else if (name == "job-state" && ours)
                phase = phaseOf(ippGetInteger(item, 0));
        }
        ippDelete(notices);
        return phase == Phase::Completed || phase == Phase::Aborted || phase == Phase::Cancelled
                   ? phase
                   : Phase::Gone;
    }

    bool failed()
    {
        m_error = cupsLastErrorString();
        return false;
    }

    std::string m_name;
    http_t *m_http = nullptr;
    cups_dest_t *m_dest = nullptr;
    cups_dinfo_t *m_info = nullptr;
    int m_jobId = 0;
    int m_subscription = 0;
    bool m_documentOpen = false;
    std::string m_error;
};

} // namespace

std::unique_ptr<PrintQueueJob> createPrintQueueJob(const std::string &queueName)
{
    return std::make_unique<CupsQueueJob>(queueName);
}
