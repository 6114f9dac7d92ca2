#pragma once
// A printer driver whose contexts spool PDF pages (PdfDeviceContext). A
// printing system derives from it and says what page a settings record
// gives and where a finished job goes.
#include "platform/PageGeometry.h"
#include "platform/PrintJobSink.h"
#include "platform/PrinterDriver.h"

#include <memory>
#include <string>

namespace rpt {

class PdfSpoolingDriver : public PrinterDriver {
public:
    std::unique_ptr<DeviceContext> CreateIC(const std::string& driver, const std::string& device,
                                            const std::string& port,
                                            const TDevMode* devMode) override;
    std::unique_ptr<DeviceContext> CreateDC(const std::string& driver, const std::string& device,
                                            const std::string& port,
                                            const TDevMode* devMode) override;
    bool ResetDC(DeviceContext& context, const TDevMode& devMode) override;
    void SetAbortProc(DeviceContext& context, std::function<bool(int error)> proc) override;
    // Raises EPrintError when the destination cannot take the job.
    int StartDoc(DeviceContext& context, const TDocInfo& info) override;
    int StartPage(DeviceContext& context) override;
    int EndPage(DeviceContext& context) override;
    // Raises EPrintError when the destination refuses the document.
    int EndDoc(DeviceContext& context) override;
    int AbortDoc(DeviceContext& context) override;

    // Pages started on this driver's contexts since it was made.
    int PagesStarted() const { return pagesStarted_; }

protected:
    virtual PageGeometry PageFor(const std::string& device, const TDevMode* devMode) = 0;
    virtual bool Knows(const std::string& device) = 0;
    virtual std::unique_ptr<PrintJobSink> SinkFor(const std::string& device,
                                                  const TDevMode& settings,
                                                  const TDocInfo& info) = 0;

private:
    // Null when the printer is unknown.
    std::unique_ptr<DeviceContext> MakeContext(bool deviceContext, const std::string& device,
                                               const TDevMode* devMode);
    int pagesStarted_ = 0;
};

} // namespace rpt
