#include "platform/VectorPageSurface.h"

#include <QImage>
#include <QPainter>

#include <map>
#include <set>

namespace rpt {

namespace {

constexpr uint32_t kPaper = 0x00FFFFFFu;
// A band of more colours than this goes to the page as an image.
constexpr size_t kMaxFilledColours = 8;

bool Written(uint32_t pixel) { return (pixel >> 24) != 0; }

} // namespace

VectorPageSurface::VectorPageSurface(QPainter& painter, const QRect& printable)
    : painter_(painter), printable_(printable) {}

VectorPageSurface::~VectorPageSurface() = default;

void VectorPageSurface::BeginStep(const QRect& box) {
    step_ = box & QRect(0, 0, Width(), Height());
    bandRows_ = 0;
    if (!step_.isEmpty())
        StartBand(step_.top());
}

void VectorPageSurface::StartBand(int top) {
    bandTop_ = top;
    bandRows_ = std::min(kBandRows, step_.bottom() + 1 - top);
    band_.assign(static_cast<size_t>(step_.width()) * static_cast<size_t>(bandRows_), kPaper);
}

uint32_t& VectorPageSurface::Pixel(int x, int y) {
    if (bandRows_ == 0 || !step_.contains(x, y) || y < bandTop_) {
        discard_ = kPaper;
        return discard_;
    }
    while (y >= bandTop_ + bandRows_) {
        FlushBand();
        StartBand(bandTop_ + bandRows_);
    }
    return band_[static_cast<size_t>(y - bandTop_) * step_.width() + (x - step_.left())];
}

void VectorPageSurface::EndStep() {
    if (bandRows_ > 0)
        FlushBand();
    bandRows_ = 0;
    band_.clear();
    step_ = QRect();
}

void VectorPageSurface::FillRuns(QRgb colour) {
    // Runs of the colour on each row; a run that repeats the one above it
    // grows that rectangle instead of starting another.
    const int width = step_.width();
    std::map<std::pair<int, int>, QRect> open;
    const QColor fill = QColor::fromRgb(colour);
    auto close = [&](const QRect& rect) {
        painter_.fillRect(rect.translated(printable_.topLeft()), fill);
    };
    for (int row = 0; row < bandRows_; ++row) {
        std::map<std::pair<int, int>, QRect> next;
        const uint32_t* line = band_.data() + static_cast<size_t>(row) * width;
        for (int x = 0; x < width;) {
            if (!Written(line[x]) || (line[x] | 0xFF000000u) != colour) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < width && Written(line[x]) && (line[x] | 0xFF000000u) == colour)
                ++x;
            const std::pair<int, int> key{start, x};
            const int y = bandTop_ + row;
            auto above = open.find(key);
            if (above != open.end()) {
                QRect grown = above->second;
                grown.setBottom(y);
                next.emplace(key, grown);
                open.erase(above);
            } else {
                next.emplace(key, QRect(step_.left() + start, y, x - start, 1));
            }
        }
        for (const auto& [key, rect] : open)
            close(rect);
        open = std::move(next);
    }
    for (const auto& [key, rect] : open)
        close(rect);
}

void VectorPageSurface::FlushBand() {
    std::set<uint32_t> colours;
    for (uint32_t pixel : band_)
        if (Written(pixel)) {
            colours.insert(pixel | 0xFF000000u);
            if (colours.size() > kMaxFilledColours)
                break;
        }
    if (colours.empty())
        return;
    if (colours.size() <= kMaxFilledColours) {
        for (uint32_t colour : colours)
            FillRuns(colour);
        return;
    }
    // Unwritten pixels have no alpha and leave the page as it is.
    const QImage image(reinterpret_cast<const uchar*>(band_.data()), step_.width(), bandRows_,
                       static_cast<qsizetype>(step_.width()) * 4, QImage::Format_ARGB32);
    painter_.drawImage(QPoint(printable_.left() + step_.left(), printable_.top() + bandTop_),
                       image);
}

QPainter& VectorPageSurface::Painter() {
    painter_.resetTransform();
    painter_.setClipRect(printable_);
    painter_.translate(printable_.topLeft());
    return painter_;
}

} // namespace rpt

namespace rpt {

QTransform VectorPageSurface::Origin() const {
    return QTransform::fromTranslate(printable_.left(), printable_.top());
}

} // namespace rpt
