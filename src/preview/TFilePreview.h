#pragma once
// The preview: a reader that keeps a job open on an off-screen bitmap, plays
// one page at a time into it, frames it with margin, shadow, rulers and grid,
// and shows it in a scroll box with zoom and page stepping.
#include "reader/TFilePrinter.h"

#include "platform/Canvas.h"

#include <functional>
#include <memory>

namespace rpt {

class TBitmap;
class TImage;
class TScrollBox;

enum TRulerType : uint8_t {
    rtNone, rtHorizCm, rtVertCm, rtBothCm, rtHorizIn, rtVertIn, rtBothIn
};
enum TMarginMethod : uint8_t { mmScaled, mmFixed };

class TFilePreview : public TFilePrinter {
public:
    explicit TFilePreview(TComponent* owner);
    ~TFilePreview() override;

    int32_t OutputKind() const override;
    TCanvas& GetCanvas() override;
    void Start() override;
    void Finish() override;
    void Execute() override;
    // Plays page n into the page frame and shows it; nothing unless previewing.
    void PrintPage(int32_t n) override;

    double GetZoomFactor() const { return ZoomFactor; }
    // Below -1.9 fits the page width, from -1.9 up to 0 the whole page;
    // other values are held to 10..200.
    void SetZoomFactor(double value);
    void ZoomIn();
    void ZoomOut();
    double ZoomPageWidthFactor();
    double ZoomPageFactor();
    void PrevPage();
    void NextPage();
    void RedrawPage();

    virtual void DoPageChange();
    virtual void DoZoomChange();

    TScrollBox* ScrollBox() const { return scrollBox_; }
    void SetScrollBox(TScrollBox* value);
    TImage* PageImage() const { return pageImage_; }
    TBitmap* PageBitmap() const { return pageBitmap_.get(); }
    const TPen& GridPen() const { return gridPen_; }
    void SetGridPen(const TPen& value) { gridPen_.Assign(value); }
    bool Monochrome() const { return monochrome_; }
    void SetMonochrome(bool value);
    int32_t ShadowDepth() const { return shadowDepth_; }
    void SetShadowDepth(int32_t value);
    void SetZoomInc(int32_t value) { ZoomInc = value; }

    int32_t ZoomInc = 10;
    TMarginMethod MarginMethod = mmFixed;
    double MarginPercent = 0;
    TRulerType RulerType = rtNone;
    double GridHoriz = 0;
    double GridVert = 0;
    int32_t PageInc = 1;
    int32_t VScrollWidth = 0;
    int32_t HScrollHeight = 0;
    int32_t BoxBorderWidth = 0;
    int32_t BoxBorderHeight = 0;
    int32_t LeftRulerWidth = 0;
    int32_t TopRulerHeight = 0;

    std::function<void(TFilePreview& sender)> OnPageChange;
    std::function<void(TFilePreview& sender)> OnZoomChange;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    // The scroll box less shadow and rulers, and the page at 100 %, in pixels.
    struct FitGeometry {
        double Width, Height, PageWidth, PageHeight, MarginPercent;
    };
    FitGeometry Fit();
    void MeasureScrollBox();
    void DrawFrame(int32_t bitmapWidth, int32_t bitmapHeight);
    void DrawRulers(int32_t bitmapWidth, int32_t bitmapHeight);
    void DrawGrid(int32_t bitmapWidth, int32_t bitmapHeight);
    void FrameRectangle(TColor pen, TColor brush, int32_t l, int32_t t, int32_t r, int32_t b);

    TScrollBox* scrollBox_ = nullptr;
    TImage* pageImage_ = nullptr;
    std::unique_ptr<TBitmap> pageBitmap_;
    TPen gridPen_;
    bool monochrome_ = false;
    int32_t shadowDepth_ = 0;
};

} // namespace rpt
