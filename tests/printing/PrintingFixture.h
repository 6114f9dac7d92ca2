#pragma once
// Report files, temporary folders and PDF inspection for the printing tests.
#include "fixture/ReportWriter.h"

#include <QTemporaryDir>

#include <string>
#include <vector>

namespace rpt::test {

struct ReportSpec {
    int Pages = 5;
    fixture::ReportHeader Header{};
    // Page whose command 87 turns the pages after it to landscape (0: none).
    int LandscapeAfterPage = 0;
    // Raw printer data on every page.
    bool RawData = false;
};

// Every page n says "Page n of the sample" in Arial and frames a box.
fixture::Bytes MultiPageReport(const ReportSpec& contents);

// A folder removed with the object.
class ScratchDir {
public:
    ScratchDir();
    std::string Path(const std::string& name) const;
    std::string Write(const std::string& name, const fixture::Bytes& bytes) const;

private:
    QTemporaryDir dir_;
};

// What pdfinfo and pdffonts tell of a PDF file.
struct PdfFacts {
    int Pages = 0;
    // "612 x 792" per page, in points rounded to whole numbers.
    std::vector<std::string> PageSizes;
    // Font names with "yes" in pdffonts' emb column.
    std::vector<std::string> EmbeddedFonts;
    std::string Text; // pdftotext of the whole document
};
PdfFacts InspectPdf(const std::string& path);

// Output and exit status of a program.
struct ProgramResult {
    int Status = -1;
    std::string Out;
    std::string Err;
};
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::pair<std::string, std::string>>& env = {});

} // namespace rpt::test
