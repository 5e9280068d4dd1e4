#include "PrintQueueJob.h"

#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::wstring wideOf(const std::string &text)
{
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(size_t(size), L' ');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), wide.data(), size);
    return wide;
}

std::string utf8Of(const wchar_t *text)
{
    if (!text)
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::string narrow(size_t(size), ' ');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow.data(), size, nullptr, nullptr);
    narrow.resize(size_t(size) - 1);
    return narrow;
}

// The system's own sentence for an error code, without its line end.
std::string messageOf(DWORD error)
{
    wchar_t *text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    std::string message = text ? utf8Of(text) : "error " + std::to_string(error);
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
        message.pop_back();
    return message;
}

// What the spooler's state bits say, where its port monitor left no words of its own.
std::string wordsFor(DWORD status)
{
    if (status & JOB_STATUS_OFFLINE)
        return "The printer is offline.";
    if (status & JOB_STATUS_PAPEROUT)
        return "The printer is out of paper.";
    if (status & (JOB_STATUS_ERROR | JOB_STATUS_BLOCKED_DEVQ))
        return "The printer is in an error state.";
    if (status & JOB_STATUS_USER_INTERVENTION)
        return "The printer needs attention.";
    return {};
}

// A job for an installed printer through the spooler, as one RAW document.
class SpoolerJob : public PrintQueueJob
{
public:
    explicit SpoolerJob(const std::string &name)
        : m_name(wideOf(name))
    {}

    ~SpoolerJob() override
    {
        if (m_printer)
            ClosePrinter(m_printer);
    }

    Verdict verdict(std::string &said) override
    {
        PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ACCESS_USE};
        if (!OpenPrinterW(m_name.data(), &m_printer, &defaults)) {
            const DWORD error = GetLastError();
            m_printer = nullptr;
            said = messageOf(error);
            return error == ERROR_INVALID_PRINTER_NAME ? Verdict::Unknown : Verdict::Unreachable;
        }
        if (queuePaused())
            return Verdict::Paused;
        return m_pendingDeletion ? Verdict::Rejecting : Verdict::Takes;
    }

    bool start() override
    {
        DOC_INFO_1W document = {const_cast<wchar_t *>(L"Orvane"), nullptr,
                                const_cast<wchar_t *>(L"RAW")};
        m_jobId = StartDocPrinterW(m_printer, 1, reinterpret_cast<BYTE *>(&document));
        m_documentOpen = m_jobId != 0;
        return m_documentOpen || failed();
    }

    bool write(const char *bytes, std::size_t size) override
    {
        while (size > 0) {
            const DWORD piece = DWORD(std::min<std::size_t>(size, 1 << 20));
            DWORD written = 0;
            if (!WritePrinter(m_printer, const_cast<char *>(bytes), piece, &written) ||
                written == 0)
                return failed();
            bytes += written;
            size -= written;
        }
        return true;
    }

    bool finish() override
    {
        m_documentOpen = false;
        return EndDocPrinter(m_printer) || failed();
    }

    Phase phase(std::string &said) override
    {
        if (!m_printer && !reopen(said))
            return Phase::Unanswered;
        DWORD needed = 0;
        GetJobW(m_printer, m_jobId, 1, nullptr, 0, &needed);
        std::vector<BYTE> buffer(needed);
        if (needed == 0 || !GetJobW(m_printer, m_jobId, 1, buffer.data(), needed, &needed)) {
            const DWORD error = GetLastError();
            // A spooler that answers for the printer but not for the job has forgotten the
            // job (it does once the printer has it, unless told to keep printed jobs, and
            // when someone deletes it). One that does not answer at all, restarted perhaps,
            // is asked again on a new handle.
            if (error == ERROR_INVALID_PARAMETER || printerAnswers())
                return Phase::Gone;
            said = messageOf(error);
            ClosePrinter(m_printer);
            m_printer = nullptr;
            return Phase::Unanswered;
        }
        const auto *job = reinterpret_cast<const JOB_INFO_1W *>(buffer.data());
        said = utf8Of(job->pStatus);
        if (said.empty())
            said = wordsFor(job->Status);
        if (job->Status & (JOB_STATUS_DELETING | JOB_STATUS_DELETED))
            return Phase::Cancelled;
        if (job->Status & (JOB_STATUS_PRINTED | JOB_STATUS_COMPLETE))
            return Phase::Completed;
        if ((job->Status & JOB_STATUS_PAUSED) || queuePaused())
            return Phase::Stopped;
        // A printer that is off or out of paper keeps the job: the spooler tries again.
        return job->Status & JOB_STATUS_PRINTING ? Phase::Printing : Phase::Pending;
    }

    void abandon() override
    {
        if (m_documentOpen)
            AbortPrinter(m_printer);
    }

    std::string name() const override { return "job " + std::to_string(m_jobId); }

    std::string error() const override { return m_error; }

private:
    // Reads the printer's state; a printer whose state cannot be read is taken as running.
    bool queuePaused()
    {
        DWORD needed = 0;
        GetPrinterW(m_printer, 2, nullptr, 0, &needed);
        std::vector<BYTE> buffer(needed);
        if (needed == 0 || !GetPrinterW(m_printer, 2, buffer.data(), needed, &needed))
            return false;
        const DWORD status = reinterpret_cast<const PRINTER_INFO_2W *>(buffer.data())->Status;
        m_pendingDeletion = status & PRINTER_STATUS_PENDING_DELETION;
        return status & PRINTER_STATUS_PAUSED;
    }

    bool printerAnswers()
    {
        DWORD needed = 0;
        GetPrinterW(m_printer, 2, nullptr, 0, &needed);
        return needed > 0;
    }

    bool reopen(std::string &said)
    {
        PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ACCESS_USE};
        if (OpenPrinterW(m_name.data(), &m_printer, &defaults))
            return true;
        m_printer = nullptr;
        said = messageOf(GetLastError());
        return false;
    }

    bool failed()
    {
        m_error = messageOf(GetLastError());
        return false;
    }

    std::wstring m_name;
    HANDLE m_printer = nullptr;
    DWORD m_jobId = 0;
    bool m_documentOpen = false;
    bool m_pendingDeletion = false;
    std::string m_error;
};

} // namespace

std::unique_ptr<PrintQueueJob> createPrintQueueJob(const std::string &queueName)
{
    return std::make_unique<SpoolerJob>(queueName);
}
