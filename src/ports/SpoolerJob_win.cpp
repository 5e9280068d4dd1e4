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
        DWORD needed = 0;
        GetPrinterW(m_printer, 2, nullptr, 0, &needed);
        std::vector<BYTE> buffer(needed);
        if (!GetPrinterW(m_printer, 2, buffer.data(), needed, &needed))
            return Verdict::Takes;
        const DWORD status = reinterpret_cast<const PRINTER_INFO_2W *>(buffer.data())->Status;
        if (status & PRINTER_STATUS_PAUSED)
            return Verdict::Paused;
        if (status & PRINTER_STATUS_PENDING_DELETION)
            return Verdict::Rejecting;
        return Verdict::Takes;
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
        DWORD needed = 0;
        GetJobW(m_printer, m_jobId, 1, nullptr, 0, &needed);
        // The spooler forgets a job once the printer has it, unless told to keep printed jobs:
        // a job it can no longer size is gone.
        if (needed == 0)
            return Phase::Completed;
        std::vector<BYTE> buffer(needed);
        if (!GetJobW(m_printer, m_jobId, 1, buffer.data(), needed, &needed)) {
            said = messageOf(GetLastError());
            return Phase::Waiting;
        }
        const auto *job = reinterpret_cast<const JOB_INFO_1W *>(buffer.data());
        said = utf8Of(job->pStatus);
        if (job->Status & (JOB_STATUS_DELETING | JOB_STATUS_DELETED))
            return Phase::Cancelled;
        if (job->Status & JOB_STATUS_ERROR)
            return Phase::Stopped;
        if (job->Status & (JOB_STATUS_PRINTED | JOB_STATUS_COMPLETE))
            return Phase::Completed;
        return Phase::Waiting;
    }

    void cancel() override
    {
        // A document still open is dropped whole; a job handed over is deleted in the queue.
        if (m_documentOpen)
            AbortPrinter(m_printer);
        else if (m_jobId != 0)
            SetJobW(m_printer, m_jobId, 0, nullptr, JOB_CONTROL_DELETE);
    }

    std::string error() const override { return m_error; }

private:
    bool failed()
    {
        m_error = messageOf(GetLastError());
        return false;
    }

    std::wstring m_name;
    HANDLE m_printer = nullptr;
    DWORD m_jobId = 0;
    bool m_documentOpen = false;
    std::string m_error;
};

} // namespace

std::unique_ptr<PrintQueueJob> createPrintQueueJob(const std::string &queueName)
{
    return std::make_unique<SpoolerJob>(queueName);
}
