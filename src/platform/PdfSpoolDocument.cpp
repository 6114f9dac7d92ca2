#include "platform/PdfSpoolDocument.h"

#include "platform/TextCodec.h"

#include <QBuffer>
#include <QByteArray>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace rpt {

struct PdfSpoolDocument::Impl {
    QByteArray bytes;
    QBuffer buffer{&bytes};
    QPdfWriter writer{&buffer};
    QPainter painter;
};

namespace {

QPageLayout LayoutOf(const PageGeometry& page) {
    // The paper is given upright and turned by the layout's orientation.
    const double width = (page.Landscape ? page.PaperLength : page.PaperWidth) / 100.0;
    const double length = (page.Landscape ? page.PaperWidth : page.PaperLength) / 100.0;
    const QPageSize size(QSizeF(width, length), QPageSize::Millimeter, QString(),
                         QPageSize::FuzzyMatch);
    return QPageLayout(size, page.Landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter, QMarginsF(0, 0, 0, 0));
}

} // namespace

PdfSpoolDocument::PdfSpoolDocument(const std::string& title) : impl_(std::make_unique<Impl>()) {
    impl_->buffer.open(QIODevice::WriteOnly);
    impl_->writer.setTitle(QString::fromStdString(Windows1252ToUtf8(title)));
    impl_->writer.setCreator(QStringLiteral("rptview"));
}

PdfSpoolDocument::~PdfSpoolDocument() {
    if (impl_->painter.isActive())
        impl_->painter.end();
}

QPainter& PdfSpoolDocument::StartPage(const PageGeometry& page) {
    if (pageOpen_)
        EndPage();
    // The writer takes a page's layout only before the page begins, and its
    // resolution only before the document does.
    impl_->writer.setPageLayout(LayoutOf(page));
    if (pageCount_ == 0) {
        impl_->writer.setResolution(page.Dpi);
        impl_->painter.begin(&impl_->writer);
    } else {
        impl_->writer.newPage();
    }
    impl_->painter.resetTransform();
    impl_->painter.setClipping(false);
    ++pageCount_;
    pageOpen_ = true;
    return impl_->painter;
}

void PdfSpoolDocument::EndPage() { pageOpen_ = false; }

std::string PdfSpoolDocument::Finish() {
    pageOpen_ = false;
    if (pageCount_ == 0)
        return {};
    impl_->painter.end();
    impl_->buffer.close();
    return impl_->bytes.toStdString();
}

} // namespace rpt
