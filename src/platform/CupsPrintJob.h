#pragma once
// A print job submitted to a CUPS destination: the finished PDF document
// with the job's name, copies, collation, sides, medium and paper source.
// The page orientation is not sent: every page already lies as it should.
#include "platform/DevMode.h"
#include "platform/PrintJobSink.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace rpt {

class CupsDestination;

class CupsPrintJob : public PrintJobSink {
public:
    // The job's options from a settings record and the destination's
    // capabilities: only what the printer supports is asked for.
    static std::vector<std::pair<std::string, std::string>> OptionsFor(
        const CupsDestination& destination, const TDevMode& settings);

    CupsPrintJob(std::string destinationName, const TDevMode& settings);
    ~CupsPrintJob() override;

    // Finds the destination again: one removed since the printers were
    // listed, or not accepting jobs, raises EPrintError.
    void Open(const std::string& title) override;
    void Deliver(std::string_view document, const std::function<bool()>& keepGoing) override;
    int JobId() const { return jobId_; }

private:
    [[noreturn]] void Refused(const std::string& what);
    std::string destinationName_;
    TDevMode settings_;
    std::string title_;
    std::unique_ptr<CupsDestination> destination_;
    int jobId_ = 0;
};

} // namespace rpt
