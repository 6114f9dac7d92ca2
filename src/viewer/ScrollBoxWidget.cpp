#include "viewer/ScrollBoxWidget.h"

#include "viewer/PageImageWidget.h"

#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include <algorithm>

namespace rpt {

ScrollBoxWidget::ScrollBoxWidget(TComponent* owner, QWidget* parent)
    : QAbstractScrollArea(parent), TScrollBox(owner) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::ClickFocus);
    const uint32_t face = ColorToRGB(clBtnFace);
    QPalette colours = viewport()->palette();
    colours.setColor(QPalette::Window,
                     QColor(GetRValue(face), GetGValue(face), GetBValue(face)));
    viewport()->setPalette(colours);
    viewport()->setBackgroundRole(QPalette::Window);
    viewport()->setAutoFillBackground(true);
}

TColor ScrollBoxWidget::Color() const { return clBtnFace; }

int32_t ScrollBoxWidget::Border() const { return 2 * frameWidth(); }

int32_t ScrollBoxWidget::BarThickness() const {
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

// A shown bar takes its thickness from the other direction's extent, which
// can in turn make the other bar necessary.
bool ScrollBoxWidget::HorzShown() const {
    int32_t extent = width() - Border();
    if (vertRange_ > height() - Border())
        extent -= BarThickness();
    return horzRange_ > extent;
}

bool ScrollBoxWidget::VertShown() const {
    int32_t extent = height() - Border();
    if (horzRange_ > width() - Border())
        extent -= BarThickness();
    return vertRange_ > extent;
}

int32_t ScrollBoxWidget::ClientWidth() const {
    return std::max(0, width() - Border() - (VertShown() ? BarThickness() : 0));
}

int32_t ScrollBoxWidget::ClientHeight() const {
    return std::max(0, height() - Border() - (HorzShown() ? BarThickness() : 0));
}

TScrollBarState ScrollBoxWidget::HorzScrollBar() const {
    return {horzRange_, horizontalScrollBar()->value()};
}

TScrollBarState ScrollBoxWidget::VertScrollBar() const {
    return {vertRange_, verticalScrollBar()->value()};
}

void ScrollBoxWidget::SetHorzRange(int32_t range) {
    horzRange_ = std::max(0, range);
    UpdateBars();
}

void ScrollBoxWidget::SetVertRange(int32_t range) {
    vertRange_ = std::max(0, range);
    UpdateBars();
}

void ScrollBoxWidget::SetHorzPosition(int32_t position) {
    horizontalScrollBar()->setValue(position);
    PlaceImages();
}

void ScrollBoxWidget::SetVertPosition(int32_t position) {
    verticalScrollBar()->setValue(position);
    PlaceImages();
}

void ScrollBoxWidget::UpdateBars() {
    const bool horz = HorzShown();
    const bool vert = VertShown();
    setHorizontalScrollBarPolicy(horz ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(vert ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    const int32_t clientWidth = ClientWidth();
    const int32_t clientHeight = ClientHeight();
    horizontalScrollBar()->setRange(0, std::max(0, horzRange_ - clientWidth));
    horizontalScrollBar()->setPageStep(std::max(1, clientWidth));
    horizontalScrollBar()->setSingleStep(std::max(1, clientWidth / 20));
    verticalScrollBar()->setRange(0, std::max(0, vertRange_ - clientHeight));
    verticalScrollBar()->setPageStep(std::max(1, clientHeight));
    verticalScrollBar()->setSingleStep(std::max(1, clientHeight / 20));
    PlaceImages();
}

void ScrollBoxWidget::PlaceImages() {
    const int32_t horz = horizontalScrollBar()->value();
    const int32_t vert = verticalScrollBar()->value();
    for (QObject* child : viewport()->children())
        if (auto* image = dynamic_cast<PageImageWidget*>(child))
            image->PlaceAt(horz, vert);
}

TImage* ScrollBoxWidget::CreateImage(TComponent* owner) {
    auto* image = new PageImageWidget(owner ? owner : this, viewport());
    image->PlaceAt(horizontalScrollBar()->value(), verticalScrollBar()->value());
    return image;
}

void ScrollBoxWidget::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateBars();
}

void ScrollBoxWidget::scrollContentsBy(int, int) { PlaceImages(); }

void ScrollBoxWidget::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    event->accept();
    // High-resolution wheels send fractions of a step; zoom once per step.
    wheelRemainder_ += event->angleDelta().y();
    const int steps = wheelRemainder_ / QWheelEvent::DefaultDeltasPerStep;
    wheelRemainder_ -= steps * QWheelEvent::DefaultDeltasPerStep;
    if (steps != 0 && OnZoomWheel)
        OnZoomWheel(steps);
}

} // namespace rpt
