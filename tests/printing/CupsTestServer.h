#pragma once
// A private CUPS scheduler with an IPP Everywhere queue on a private
// ippeveprinter, all under a temporary folder, for the printing tests. The
// servers are started when made and stopped by their process ids when
// destroyed; the process's libcups talks to the private scheduler meanwhile
// (CUPS_SERVER). Nothing outside the folder is touched.
#include <QTemporaryDir>

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace rpt::test {

// A job as the printer itself received it.
struct ReceivedJob {
    int Id = 0;
    std::string Name;
    int Copies = 1;
    std::string Sides;
    std::string Collation; // multiple-document-handling
    int MediaWidth = 0;    // hundredths of a millimetre, from media-col
    int MediaLength = 0;
    std::string Document;  // the kept document's path, empty when none
};

class CupsTestServer {
public:
    static constexpr const char* kQueue = "TestQueue";

    // Why the servers cannot run here (missing programs), or nothing.
    static std::optional<std::string> Unavailable();

    // `duplex` makes the printer accept two-sided jobs.
    explicit CupsTestServer(bool duplex = true);
    ~CupsTestServer();
    CupsTestServer(const CupsTestServer&) = delete;
    CupsTestServer& operator=(const CupsTestServer&) = delete;

    // False (with the reason in Failure) when a server did not come up.
    bool Ready() const { return failure_.empty(); }
    const std::string& Failure() const { return failure_; }
    const std::string& Socket() const { return socket_; }
    std::string PrinterUri() const;

    // Another queue on the same printer.
    bool AddQueue(const std::string& name);
    bool RemoveQueue(const std::string& name);
    bool RejectJobs(const std::string& name);
    bool SetDefault(const std::string& name);

    // Waits until the printer has completed `count` jobs (or ten seconds
    // have passed) and answers the jobs it completed, oldest first.
    std::vector<ReceivedJob> WaitForJobs(size_t count);

private:
    pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                const std::string& log);
    bool Admin(const std::vector<std::string>& args);
    std::vector<ReceivedJob> CompletedJobs();
    void Stop(pid_t& pid);

    QTemporaryDir dir_;
    std::string root_;
    std::string socket_;
    int printerPort_ = 0;
    int schedulerPort_ = 0;
    pid_t dbus_ = 0;
    pid_t printer_ = 0;
    pid_t scheduler_ = 0;
    std::string failure_;
    std::optional<std::string> savedServer_;
};

} // namespace rpt::test
