#include "platform/CupsPrintJob.h"

#include "platform/CupsDestination.h"
#include "platform/TextCodec.h"

#include <cups/cups.h>

#include <algorithm>

namespace rpt {

namespace {

constexpr size_t kBlockSize = 64 * 1024;

// A CUPS option array, freed with the object.
class OptionArray {
public:
    explicit OptionArray(const std::vector<std::pair<std::string, std::string>>& options) {
        for (const auto& [name, value] : options)
            count_ = cupsAddOption(name.c_str(), value.c_str(), count_, &options_);
    }
    ~OptionArray() { cupsFreeOptions(count_, options_); }
    OptionArray(const OptionArray&) = delete;
    OptionArray& operator=(const OptionArray&) = delete;
    int Count() const { return count_; }
    cups_option_t* Options() const { return options_; }

private:
    int count_ = 0;
    cups_option_t* options_ = nullptr;
};

std::string LastError() {
    const char* text = cupsLastErrorString();
    return text && *text ? text : "no reason given";
}

} // namespace

std::vector<std::pair<std::string, std::string>> CupsPrintJob::OptionsFor(
    const CupsDestination& destination, const TDevMode& settings) {
    std::vector<std::pair<std::string, std::string>> options;
    const int copies = std::max<int>(1, settings.dmCopies);
    options.emplace_back("copies", std::to_string(copies));
    if ((settings.dmFields & DM_COLLATE) && copies > 1 && destination.SupportsCollate())
        options.emplace_back("multiple-document-handling",
                             settings.dmCollate == DMCOLLATE_TRUE
                                 ? "separate-documents-collated-copies"
                                 : "separate-documents-uncollated-copies");
    if ((settings.dmFields & DM_DUPLEX) && destination.SupportsDuplex())
        options.emplace_back("sides", settings.dmDuplex == DMDUP_VERTICAL ? "two-sided-long-edge"
                                      : settings.dmDuplex == DMDUP_HORIZONTAL
                                          ? "two-sided-short-edge"
                                          : "one-sided");
    const PrinterMedia media = destination.MediaFor(settings);
    if (!media.Name.empty())
        options.emplace_back("media", media.Name);
    if (settings.dmFields & DM_DEFAULTSOURCE)
        if (const auto source =
                destination.SourceOfBin(static_cast<uint16_t>(settings.dmDefaultSource)))
            options.emplace_back("media-source", *source);
    return options;
}

CupsPrintJob::CupsPrintJob(std::string destinationName, const TDevMode& settings)
    : destinationName_(std::move(destinationName)), settings_(settings) {}

CupsPrintJob::~CupsPrintJob() = default;

void CupsPrintJob::Refused(const std::string& what) {
    throw EPrintError("The printer \"" + destinationName_ + "\" " + what);
}

void CupsPrintJob::Open(const std::string& title) {
    // Reports hold their title in the system's 8-bit code page; IPP names are UTF-8.
    title_ = Windows1252ToUtf8(title);
    destination_ = CupsDestination::Find(destinationName_);
    if (!destination_)
        Refused("is not available.");
    if (destination_->Option("printer-is-accepting-jobs") == "false")
        Refused("is not accepting jobs.");
    if (!destination_->Info())
        Refused("cannot be reached: " + LastError());
}

void CupsPrintJob::Deliver(std::string_view document, const std::function<bool()>& keepGoing) {
    if (!destination_)
        Refused("is not available.");
    cups_dest_t* dest = destination_->Dest();
    cups_dinfo_t* info = destination_->Info();
    const OptionArray options(OptionsFor(*destination_, settings_));
    if (cupsCreateDestJob(CUPS_HTTP_DEFAULT, dest, info, &jobId_, title_.c_str(), options.Count(),
                          options.Options()) != IPP_STATUS_OK)
        Refused("refused the print job: " + LastError());
    // From here on a failure must not leave a held job behind.
    struct CancelUnlessSent {
        cups_dest_t* dest;
        int jobId;
        bool sent = false;
        ~CancelUnlessSent() {
            if (!sent)
                cupsCancelDestJob(CUPS_HTTP_DEFAULT, dest, jobId);
        }
    } cancel{dest, jobId_};
    if (cupsStartDestDocument(CUPS_HTTP_DEFAULT, dest, info, jobId_, title_.c_str(),
                              CUPS_FORMAT_PDF, 0, nullptr, 1) != HTTP_STATUS_CONTINUE)
        Refused("refused the document: " + LastError());
    for (size_t at = 0; at < document.size(); at += kBlockSize) {
        const size_t length = std::min(kBlockSize, document.size() - at);
        if (cupsWriteRequestData(CUPS_HTTP_DEFAULT, document.data() + at, length) !=
            HTTP_STATUS_CONTINUE) {
            cupsFinishDestDocument(CUPS_HTTP_DEFAULT, dest, info);
            Refused("stopped taking the document: " + LastError());
        }
        if (keepGoing && !keepGoing()) {
            cupsFinishDestDocument(CUPS_HTTP_DEFAULT, dest, info);
            return;
        }
    }
    if (cupsFinishDestDocument(CUPS_HTTP_DEFAULT, dest, info) != IPP_STATUS_OK)
        Refused("refused the document: " + LastError());
    cancel.sent = true;
}

} // namespace rpt
