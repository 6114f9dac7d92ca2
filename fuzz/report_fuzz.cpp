// Opens the bytes as a report held in memory, lists every page's commands
// as `rpt dump` does, then plays the first pages into a small preview, so
// that the reader, the playback, the canvas and the graphic decoders all see
// the input. Errors in the system's manner are fine; anything else is not.
#include "platform/Exceptions.h"
#include "platform/FontSystem.h"
#include "platform/MemoryScrollBox.h"
#include "platform/Stream.h"
#include "platform/UserInterface.h"
#include "preview/ImageBlockDecoder.h"
#include "preview/TFilePreview.h"
#include "reader/TReportScanner.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

using namespace rpt;

// Message boxes go nowhere: a fuzzing run would drown in them.
class SilentUserInterface : public UserInterface {
public:
    void ShowMessage(const std::string&) override {}
    void ShowError(const std::string&) override {}
    void ProcessMessages() override {}
    TCursor Cursor() const override { return cursor_; }
    void SetCursor(TCursor cursor) override { cursor_ = cursor; }

private:
    TCursor cursor_ = TCursor::crDefault;
};

constexpr int32_t kPagesPlayed = 3;

void List(TMemoryStream& stream) {
    TFilePrinter printer(nullptr);
    printer.Stream = &stream;
    printer.SetStreamMode(smUser);
    if (!printer.OpenStream())
        return;
    printer.ReadHeader();
    printer.ResetPagePosition();
    TReportScanner(printer).Scan(
        [](const TPageInfo&) {},
        [](int64_t, const TCommandSpec&, const std::vector<TOperandValue>&) {});
}

void Play(TMemoryStream& stream) {
    TMemoryScrollBox box(nullptr, 120, 90, 96, 96);
    TFilePreview preview(nullptr);
    preview.Stream = &stream;
    preview.SetStreamMode(smUser);
    preview.SetScrollBox(&box);
    preview.OnDecodeImage = DecodeImageBlock;
    preview.SetZoomFactor(10);
    preview.Start();
    if (preview.Printing)
        for (int32_t page = 2; page <= kPagesPlayed; ++page)
            preview.PrintPage(page);
    preview.Finish();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    rpt::EnsureFontSystem();
    rpt::SetUserInterface(std::make_unique<SilentUserInterface>());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    rpt::TMemoryStream stream(std::vector<uint8_t>(data, data + size));
    try {
        List(stream);
    } catch (const rpt::Exception&) {
    }
    try {
        Play(stream);
    } catch (const rpt::Exception&) {
    }
    return 0;
}
