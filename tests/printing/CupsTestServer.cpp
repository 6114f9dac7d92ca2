#include "printing/CupsTestServer.h"

#include <cups/cups.h>

#include <QDir>
#include <QFile>

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace rpt::test {

namespace {

using Clock = std::chrono::steady_clock;

std::optional<std::string> FindProgram(const std::string& name) {
    for (const char* dir : {"/usr/sbin", "/usr/bin", "/sbin", "/bin", "/usr/local/sbin",
                            "/usr/local/bin"}) {
        const std::string path = std::string(dir) + "/" + name;
        if (access(path.c_str(), X_OK) == 0)
            return path;
    }
    return std::nullopt;
}

int FreePort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    close(fd);
    return port;
}

bool Connects(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return ok;
}

bool ConnectsUnix(const std::string& path) {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        close(fd);
        return false;
    }
    std::copy(path.begin(), path.end(), address.sun_path);
    const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return ok;
}

template <typename Condition> bool WaitFor(Condition condition, std::chrono::milliseconds limit) {
    const auto end = Clock::now() + limit;
    while (Clock::now() < end) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return condition();
}

bool WriteText(const std::string& path, const std::string& text) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::WriteOnly) &&
           file.write(text.data(), static_cast<qint64>(text.size())) ==
               static_cast<qint64>(text.size());
}

} // namespace

std::optional<std::string> CupsTestServer::Unavailable() {
    for (const char* program : {"cupsd", "ippeveprinter", "lpadmin", "dbus-daemon"})
        if (!FindProgram(program))
            return std::string(program) + " is not installed";
    return std::nullopt;
}

CupsTestServer::CupsTestServer(bool duplex) {
    if (const char* server = std::getenv("CUPS_SERVER"))
        savedServer_ = server;
    root_ = dir_.path().toStdString();
    socket_ = root_ + "/cups.sock";
    // The scheduler's filters run as another user: they need to reach the
    // folder, and its temporary folder is everyone's.
    chmod(root_.c_str(), 0755);
    for (const char* sub : {"spool", "cache", "state", "log", "ppd", "ipp"})
        QDir().mkpath(QString::fromStdString(root_ + "/" + sub));
    QDir().mkpath(QString::fromStdString(root_ + "/tmp"));
    chmod((root_ + "/tmp").c_str(), 01777);
    chmod((root_ + "/spool").c_str(), 0777);

    printerPort_ = FreePort();
    schedulerPort_ = FreePort();
    const std::string bus = root_ + "/dbus.sock";
    dbus_ = Spawn({*FindProgram("dbus-daemon"), "--session", "--address=unix:path=" + bus,
                   "--nofork"},
                  {}, root_ + "/log/dbus.log");
    if (!WaitFor([&] { return ConnectsUnix(bus); }, std::chrono::seconds(5))) {
        failure_ = "the private message bus did not start";
        return;
    }
    std::vector<std::string> printerArgs = {*FindProgram("ippeveprinter")};
    if (duplex)
        printerArgs.push_back("-2");
    for (const std::string& arg : {std::string("-k"), std::string("-r"), std::string("off"),
                                   std::string("-n"), std::string("localhost"),
                                   std::string("-d"), root_ + "/ipp", std::string("-p"),
                                   std::to_string(printerPort_), std::string("-f"),
                                   std::string("application/pdf"), std::string("-c"),
                                   std::string("/bin/true"), std::string(kQueue)})
        printerArgs.push_back(arg);
    printer_ = Spawn(printerArgs, {"DBUS_SYSTEM_BUS_ADDRESS=unix:path=" + bus},
                     root_ + "/log/ippeveprinter.log");
    if (!WaitFor([&] { return Connects(printerPort_); }, std::chrono::seconds(10))) {
        failure_ = "ippeveprinter did not start";
        return;
    }

    WriteText(root_ + "/cupsd.conf",
              "Listen 127.0.0.1:" + std::to_string(schedulerPort_) + "\nListen " + socket_ +
                  "\nBrowsing No\nWebInterface No\nDefaultAuthType None\nLogLevel warn\n"
                  "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                  "<Policy default>\n  <Limit All>\n    Order allow,deny\n    Allow all\n"
                  "  </Limit>\n</Policy>\n");
    WriteText(root_ + "/cups-files.conf",
              "ServerRoot " + root_ + "\nRequestRoot " + root_ + "/spool\nCacheDir " + root_ +
                  "/cache\nStateDir " + root_ + "/state\nTempDir " + root_ +
                  "/tmp\nErrorLog " + root_ + "/log/error_log\nAccessLog " + root_ +
                  "/log/access_log\nPageLog " + root_ +
                  "/log/page_log\nSystemGroup root\nUser lp\n");
    scheduler_ = Spawn({*FindProgram("cupsd"), "-f", "-c", root_ + "/cupsd.conf", "-s",
                        root_ + "/cups-files.conf"},
                       {}, root_ + "/log/cupsd.log");
    if (!WaitFor([&] { return ConnectsUnix(socket_); }, std::chrono::seconds(10))) {
        failure_ = "the private scheduler did not start";
        return;
    }
    setenv("CUPS_SERVER", socket_.c_str(), 1);
    cupsSetServer(socket_.c_str());
    if (!AddQueue(kQueue) || !SetDefault(kQueue))
        failure_ = "the queue could not be made";
}

CupsTestServer::~CupsTestServer() {
    Stop(scheduler_);
    Stop(printer_);
    Stop(dbus_);
    if (savedServer_) {
        setenv("CUPS_SERVER", savedServer_->c_str(), 1);
        cupsSetServer(savedServer_->c_str());
    } else {
        unsetenv("CUPS_SERVER");
        cupsSetServer(nullptr);
    }
}

std::string CupsTestServer::PrinterUri() const {
    return "ipp://localhost:" + std::to_string(printerPort_) + "/ipp/print";
}

pid_t CupsTestServer::Spawn(const std::vector<std::string>& argv,
                            const std::vector<std::string>& env, const std::string& log) {
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    std::vector<std::string> environment;
    for (char** e = environ; *e; ++e)
        environment.emplace_back(*e);
    for (const std::string& e : env)
        environment.push_back(e);
    std::vector<char*> envp;
    for (const std::string& e : environment)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    pid_t pid = 0;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data()) != 0)
        pid = 0;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

void CupsTestServer::Stop(pid_t& pid) {
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    int status = 0;
    const bool ended = WaitFor([&] { return waitpid(pid, &status, WNOHANG) == pid; },
                               std::chrono::seconds(5));
    if (!ended) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    pid = 0;
}

bool CupsTestServer::Admin(const std::vector<std::string>& args) {
    std::vector<std::string> argv = args;
    const pid_t pid = Spawn(argv, {"CUPS_SERVER=" + socket_}, root_ + "/log/admin.log");
    if (pid <= 0)
        return false;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool CupsTestServer::AddQueue(const std::string& name) {
    if (!Admin({*FindProgram("lpadmin"), "-p", name, "-E", "-v", PrinterUri(), "-m",
                "everywhere"}))
        return false;
    // The scheduler answers for a new queue's capabilities a moment later.
    return WaitFor(
        [&] {
            cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.c_str(), nullptr);
            if (!dest)
                return false;
            cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest);
            const bool ready =
                info && cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest, info, "sides");
            if (info)
                cupsFreeDestInfo(info);
            cupsFreeDests(1, dest);
            return ready;
        },
        std::chrono::seconds(10));
}

bool CupsTestServer::RemoveQueue(const std::string& name) {
    return Admin({*FindProgram("lpadmin"), "-x", name});
}

bool CupsTestServer::RejectJobs(const std::string& name) {
    const auto reject = FindProgram("cupsreject");
    return reject && Admin({*reject, name});
}

bool CupsTestServer::SetDefault(const std::string& name) {
    return Admin({*FindProgram("lpadmin"), "-d", name});
}

std::vector<ReceivedJob> CupsTestServer::CompletedJobs() {
    std::vector<ReceivedJob> jobs;
    http_t* http = httpConnect2("localhost", printerPort_, nullptr, AF_UNSPEC,
                                HTTP_ENCRYPTION_NEVER, 1, 5000, nullptr);
    if (!http)
        return jobs;
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOBS);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                 PrinterUri().c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "which-jobs", nullptr,
                 "completed");
    static const char* const wanted[] = {"job-id", "job-name", "copies", "sides",
                                         "multiple-document-handling", "media-col"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 6,
                  nullptr, wanted);
    ipp_t* response = cupsDoRequest(http, request, "/ipp/print");
    // Each job's attributes form one group; groups are split by separators.
    bool inJob = false;
    for (ipp_attribute_t* attr = response ? ippFirstAttribute(response) : nullptr; attr;
         attr = ippNextAttribute(response)) {
        if (ippGetGroupTag(attr) != IPP_TAG_JOB || !ippGetName(attr)) {
            inJob = false;
            continue;
        }
        if (!inJob)
            jobs.emplace_back();
        inJob = true;
        const std::string name = ippGetName(attr);
        ReceivedJob& job = jobs.back();
        if (name == "job-id")
            job.Id = ippGetInteger(attr, 0);
        else if (name == "job-name")
            job.Name = ippGetString(attr, 0, nullptr);
        else if (name == "copies")
            job.Copies = ippGetInteger(attr, 0);
        else if (name == "sides")
            job.Sides = ippGetString(attr, 0, nullptr);
        else if (name == "multiple-document-handling")
            job.Collation = ippGetString(attr, 0, nullptr);
        else if (name == "media-col") {
            ipp_t* media = ippGetCollection(attr, 0);
            ipp_attribute_t* size = ippFindAttribute(media, "media-size", IPP_TAG_BEGIN_COLLECTION);
            ipp_t* dimensions = size ? ippGetCollection(size, 0) : nullptr;
            if (dimensions) {
                if (ipp_attribute_t* x = ippFindAttribute(dimensions, "x-dimension", IPP_TAG_INTEGER))
                    job.MediaWidth = ippGetInteger(x, 0);
                if (ipp_attribute_t* y = ippFindAttribute(dimensions, "y-dimension", IPP_TAG_INTEGER))
                    job.MediaLength = ippGetInteger(y, 0);
            }
        }
    }
    ippDelete(response);
    httpClose(http);
    const QDir spool(QString::fromStdString(root_ + "/ipp"));
    for (ReceivedJob& job : jobs) {
        const QStringList kept =
            spool.entryList({QString::number(job.Id) + "-*.pdf"}, QDir::Files);
        if (!kept.isEmpty())
            job.Document = spool.filePath(kept.front()).toStdString();
    }
    std::sort(jobs.begin(), jobs.end(),
              [](const ReceivedJob& a, const ReceivedJob& b) { return a.Id < b.Id; });
    return jobs;
}

std::vector<ReceivedJob> CupsTestServer::WaitForJobs(size_t count) {
    std::vector<ReceivedJob> jobs;
    WaitFor(
        [&] {
            jobs = CompletedJobs();
            return jobs.size() >= count;
        },
        std::chrono::seconds(10));
    return jobs;
}

} // namespace rpt::test
