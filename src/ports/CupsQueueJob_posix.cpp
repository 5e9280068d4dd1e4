#include "CupsConnection.h"
#include "PrintQueueJob.h"

#include <cups/cups.h>

namespace {

constexpr std::chrono::seconds ConnectLimit(5);
// The longest the scheduler may leave one request or one write unanswered.
constexpr std::chrono::seconds AnswerLimit(10);

std::string textOf(ipp_t *response, const char *name)
{
    const char *text = ippGetString(ippFindAttribute(response, name, IPP_TAG_TEXT), 0, nullptr);
    return text ? text : "";
}

bool succeeded()
{
    return cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE;
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
        ipp_t *response = request(IPP_OP_GET_PRINTER_ATTRIBUTES, wanted, std::size(wanted));
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
        if (cupsCreateDestJob(m_http, m_dest, m_info, &m_jobId, "Orvane", 0, nullptr) >
            IPP_STATUS_OK_EVENTS_COMPLETE)
            return failed();
        return cupsStartDestDocument(m_http, m_dest, m_info, m_jobId, "Orvane", CUPS_FORMAT_RAW, 0,
                                     nullptr, 1) == HTTP_STATUS_CONTINUE ||
               failed();
    }

    bool write(const char *bytes, std::size_t size) override
    {
        return cupsWriteRequestData(m_http, bytes, size) == HTTP_STATUS_CONTINUE || failed();
    }

    bool finish() override
    {
        return cupsFinishDestDocument(m_http, m_dest, m_info) <= IPP_STATUS_OK_EVENTS_COMPLETE ||
               failed();
    }

    Phase phase(std::string &said) override
    {
        static const char *const wanted[] = {"job-state", "job-state-message",
                                             "job-printer-state-message"};
        ipp_t *job = request(IPP_OP_GET_JOB_ATTRIBUTES, wanted, std::size(wanted));
        const int state = ippGetInteger(ippFindAttribute(job, "job-state", IPP_TAG_ENUM), 0);
        said = textOf(job, "job-printer-state-message");
        if (said.empty())
            said = textOf(job, "job-state-message");
        ippDelete(job);
        if (!succeeded()) {
            said = cupsLastErrorString();
            return Phase::Aborted;
        }
        switch (state) {
        case IPP_JSTATE_COMPLETED:
            return Phase::Completed;
        case IPP_JSTATE_ABORTED:
            return Phase::Aborted;
        case IPP_JSTATE_CANCELED:
            return Phase::Cancelled;
        case IPP_JSTATE_STOPPED:
            return Phase::Stopped;
        default:
            break;
        }
        // A queue that stops on an error keeps the job pending: the job stops with it.
        std::string queueSaid;
        const Verdict queue = verdict(queueSaid);
        if (queue == Verdict::Paused || queue == Verdict::Unknown) {
            if (!queueSaid.empty())
                said = queueSaid;
            return Phase::Stopped;
        }
        return Phase::Waiting;
    }

    void cancel() override
    {
        if (m_jobId > 0)
            cupsCancelDestJob(m_http, m_dest, m_jobId);
    }

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

    ipp_t *request(ipp_op_t operation, const char *const *wanted, std::size_t count)
    {
        char uri[HTTP_MAX_URI];
        httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost",
                         ippPort(), "/printers/%s", m_name.c_str());
        ipp_t *request = ippNewRequest(operation);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
        if (operation == IPP_OP_GET_JOB_ATTRIBUTES)
            ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", m_jobId);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                     cupsUser());
        ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                      int(count), nullptr, wanted);
        return cupsDoRequest(m_http, request, "/");
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
    std::string m_error;
};

} // namespace

std::unique_ptr<PrintQueueJob> createPrintQueueJob(const std::string &queueName)
{
    return std::make_unique<CupsQueueJob>(queueName);
}
