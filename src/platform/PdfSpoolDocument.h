#pragma once
// A print job's document being spooled as PDF in memory: one PDF page per
// device page, each in the size and orientation its page was started with,
// fonts embedded as subsets so that text stays selectable.
#include "platform/PageGeometry.h"

#include <memory>
#include <string>

class QPainter;

namespace rpt {

class PdfSpoolDocument {
public:
    // The title is text of the system's 8-bit code page, as reports hold it.
    explicit PdfSpoolDocument(const std::string& title);
    ~PdfSpoolDocument();
    PdfSpoolDocument(const PdfSpoolDocument&) = delete;
    PdfSpoolDocument& operator=(const PdfSpoolDocument&) = delete;

    // Starts the next page and answers the painter on it, in device pixels
    // of the page's resolution from the paper's top-left corner. The
    // painter is the document's and stays valid until Finish.
    QPainter& StartPage(const PageGeometry& page);
    void EndPage();
    bool PageOpen() const { return pageOpen_; }
    int PageCount() const { return pageCount_; }
    // Ends the document and answers its bytes; empty when no page was made.
    std::string Finish();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    bool pageOpen_ = false;
    int pageCount_ = 0;
};

} // namespace rpt
