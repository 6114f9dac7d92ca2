#pragma once
// The operating system's printing services as the printer device uses them:
// opening a printer and reading its settings record, making information and
// device contexts, and spooling a document page by page. A system without
// printers needs none of it; a printing backend implements it.
#include "platform/DevMode.h"
#include "platform/DeviceContext.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace rpt {

struct TDocInfo {
    std::string DocName;                // never missing; may be empty
    std::optional<std::string> Output;  // a file to write the job to instead of the port
};

// An open printer; closed when destroyed.
class PrinterConnection {
public:
    virtual ~PrinterConnection() = default;
    // Mode 0 answers the size of the printer's settings record (0 or less:
    // none); DM_OUT_BUFFER fills `out` with the current defaults, merged with
    // `in` under DM_IN_BUFFER. A negative answer is a failure.
    virtual int32_t DocumentProperties(TDevMode* out, const TDevMode* in, uint32_t mode) = 0;
};

class PrinterDriver {
public:
    virtual ~PrinterDriver() = default;

    // Null when the printer cannot be opened.
    virtual std::unique_ptr<PrinterConnection> OpenPrinter(const std::string& deviceName) = 0;
    // Contexts from the driver, device and port names and an optional record;
    // null on failure.
    virtual std::unique_ptr<DeviceContext> CreateIC(const std::string& driver,
                                                    const std::string& device,
                                                    const std::string& port,
                                                    const TDevMode* devMode) = 0;
    virtual std::unique_ptr<DeviceContext> CreateDC(const std::string& driver,
                                                    const std::string& device,
                                                    const std::string& port,
                                                    const TDevMode* devMode) = 0;
    // Applies a changed record to an existing context.
    virtual bool ResetDC(DeviceContext& context, const TDevMode& devMode) = 0;

    // The callback runs while the job spools; answering false cancels it.
    virtual void SetAbortProc(DeviceContext& context, std::function<bool(int error)> proc) = 0;
    virtual int StartDoc(DeviceContext& context, const TDocInfo& info) = 0;
    virtual int StartPage(DeviceContext& context) = 0;
    virtual int EndPage(DeviceContext& context) = 0;
    virtual int EndDoc(DeviceContext& context) = 0;
    virtual int AbortDoc(DeviceContext& context) = 0;

    // With an empty output, answers the number of items (or the value) of the
    // capability; otherwise writes the items into output. Negative: failure.
    // DC_BINNAMES items are kBinNameLength-byte names, NUL-padded; DC_BINS
    // items are 16-bit bin numbers.
    virtual int32_t DeviceCapabilities(const std::string& device, const std::string& port,
                                       uint16_t capability, std::span<uint8_t> output,
                                       const TDevMode* devMode) = 0;
};

} // namespace rpt
