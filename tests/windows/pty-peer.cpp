// The Linux side of the lines the Windows tests use under Wine. It makes four
// pseudo-terminals and links them into the prefix as COM9 (the control line), COM5, COM6 and
// LPT1,
// prints "ready", then answers one request per line on the control line until its standard
// input closes:
//   settings PORT   -> the line's termios, as "raw cs8 parity=none stop=1 rate=N crtscts=1"
//   expect PORT N   -> reads N bytes from PORT, then "ok" or "mismatch at I" or "ended at I"
//   hold PORT       -> stops output to PORT (tcflow), as a peer holding CTS low does; "ok"
//   release PORT    -> lets it flow again; "ok"
//   lock PORT       -> makes PORT exclusive (TIOCEXCL), as another program holding it does; "ok"
//   unlock PORT     -> opens it to others again; "ok"
//   drop PORT       -> closes both ends of PORT for good, as a pulled adapter ends a line; "ok"
// A port is read only while a request asks for it: otherwise its reader is stalled.
#include "TestPattern.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

struct Line
{
    int master = -1;
    int slave = -1; // held open, so the line never hangs up between the tests' opens
};

[[noreturn]] void fail(const std::string &what)
{
    std::fprintf(stderr, "pty-peer: %s: %s\n", what.c_str(), std::strerror(errno));
    std::exit(1);
}

Line openLine(const std::string &link, bool raw)
{
    Line line;
    line.master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (line.master < 0 || grantpt(line.master) != 0 || unlockpt(line.master) != 0)
        fail("posix_openpt");
    const std::string slave = ptsname(line.master);
    line.slave = open(slave.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (line.slave < 0)
        fail("open " + slave);
    if (raw) {
        termios mode{};
        tcgetattr(line.slave, &mode);
        cfmakeraw(&mode);
        tcsetattr(line.slave, TCSANOW, &mode);
    }
    unlink(link.c_str());
    if (symlink(slave.c_str(), link.c_str()) != 0)
        fail("symlink " + link);
    return line;
}

unsigned rateOf(const termios &mode)
{
    static const std::map<speed_t, unsigned> rates = {
        {B9600, 9600}, {B19200, 19200}, {B38400, 38400}, {B57600, 57600}, {B115200, 115200}};
    const auto found = rates.find(cfgetospeed(&mode));
    return found == rates.end() ? 0 : found->second;
}

std::string settingsOf(const Line &line)
{
    termios mode{};
    tcgetattr(line.slave, &mode);
    const bool raw = !(mode.c_lflag & (ICANON | ECHO | ISIG | IEXTEN)) && !(mode.c_oflag & OPOST) &&
                     !(mode.c_iflag & (ICRNL | IXON | ISTRIP));
    std::ostringstream text;
    text << (raw ? "raw" : "cooked") << ((mode.c_cflag & CSIZE) == CS8 ? " cs8" : " cs<8")
         << " parity=" << ((mode.c_cflag & PARENB) ? "on" : "none")
         << " stop=" << ((mode.c_cflag & CSTOPB) ? 2 : 1) << " rate=" << rateOf(mode)
         << " crtscts=" << ((mode.c_cflag & CRTSCTS) ? 1 : 0);
    return text.str();
}

// False once standard input has closed: the run is over, whatever a request still waits for.
bool waitReadable(int fd)
{
    pollfd entries[2] = {{fd, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    while (poll(entries, 2, -1) < 0)
        if (errno != EINTR)
            fail("poll");
    return !(entries[1].revents & (POLLIN | POLLHUP)) || (entries[0].revents & POLLIN);
}

std::string expect(const Line &line, std::size_t count)
{
    std::size_t mismatch = count;
    char chunk[4096];
    for (std::size_t got = 0; got < count;) {
        if (!waitReadable(line.master))
            return "ended at " + std::to_string(got);
        const ssize_t n = read(line.master, chunk, std::min(sizeof chunk, count - got));
        if (n <= 0)
            return "ended at " + std::to_string(got);
        for (ssize_t k = 0; k < n; ++k, ++got)
            if (mismatch == count && chunk[k] != testPatternByte(got))
                mismatch = got;
    }
    return mismatch == count ? "ok" : "mismatch at " + std::to_string(mismatch);
}

void reply(const Line &control, const std::string &text)
{
    const std::string lineText = text + "\n";
    if (write(control.master, lineText.data(), lineText.size()) != ssize_t(lineText.size()))
        fail("reply");
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: pty-peer DOSDEVICES\n");
        return 2;
    }
    const std::string dosdevices = argv[1];
    const Line control = openLine(dosdevices + "/com9", true);
    // COM5 keeps the kernel's cooked defaults, so that the test's settings must reach it.
    std::map<std::string, Line> ports = {{"com5", openLine(dosdevices + "/com5", false)},
                                         {"com6", openLine(dosdevices + "/com6", true)},
                                         {"lpt1", openLine(dosdevices + "/lpt1", true)}};
    std::printf("ready\n");
    std::fflush(stdout);

    std::string request;
    char c;
    while (waitReadable(control.master) && read(control.master, &c, 1) == 1) {
        if (c != '\n') {
            request += c;
            continue;
        }
        std::istringstream words(request);
        request.clear();
        std::string verb, port;
        std::size_t count = 0;
        words >> verb >> port >> count;
        const auto found = ports.find(port);
        if (found == ports.end())
            reply(control, "unknown port " + port);
        else if (verb == "settings")
            reply(control, settingsOf(found->second));
        else if (verb == "expect")
            reply(control, expect(found->second, count));
        else if (verb == "hold" || verb == "release")
            reply(control, tcflow(found->second.slave, verb == "hold" ? TCOOFF : TCOON) == 0
                               ? "ok"
                               : std::string("tcflow: ") + std::strerror(errno));
        else if (verb == "drop") {
            close(found->second.master);
            close(found->second.slave);
            ports.erase(found);
            reply(control, "ok");
        } else if (verb == "lock" || verb == "unlock")
            reply(control, ioctl(found->second.slave, verb == "lock" ? TIOCEXCL : TIOCNXCL) == 0
                               ? "ok"
                               : std::string("ioctl: ") + std::strerror(errno));
        else
            reply(control, "unknown request " + verb);
    }
    return 0;
}
