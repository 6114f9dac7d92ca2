#include "printing/PrintingFixture.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include <cmath>
#include <stdexcept>

namespace rpt::test {

using fixture::Code;

fixture::Bytes MultiPageReport(const ReportSpec& contents) {
    fixture::ReportWriter writer(2018);
    fixture::ReportHeader header = contents.Header;
    header.totalPages = static_cast<int16_t>(contents.Pages);
    writer.Header(header);
    for (int page = 1; page <= contents.Pages; ++page) {
        fixture::PageRecord record;
        record.width = header.pageWidth;
        record.height = header.pageHeight;
        writer.BeginPage(record);
        // Command 50 keeps the canvas font's attributes: name and height are set one by one.
        writer.Command(Code::FontName).String("Arial");
        writer.Command(Code::FontHeight).Single(14.0f / 72).Single(100.0f);
        writer.Command(Code::PrintLeft)
            .Single(1.5f)
            .String("Page " + std::to_string(page) + " of the sample")
            .Single(1);
        writer.Command(Code::Rectangle).Rect(1, 2, 3, 3);
        if (contents.RawData)
            writer.Command(Code::PrintData).String("\x1B" "E raw bytes");
        if (page == contents.LandscapeAfterPage)
            writer.Command(Code::NextOrientation).Byte(1);
        writer.EndPage();
    }
    return writer.Finish();
}

ScratchDir::ScratchDir() {
    if (!dir_.isValid())
        throw std::runtime_error("no temporary folder");
}

std::string ScratchDir::Path(const std::string& name) const {
    return dir_.filePath(QString::fromStdString(name)).toStdString();
}

std::string ScratchDir::Write(const std::string& name, const fixture::Bytes& bytes) const {
    const std::string path = Path(name);
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()))
        throw std::runtime_error("cannot write " + path);
    return path;
}

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::pair<std::string, std::string>>& env) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : env)
        environment.insert(QString::fromStdString(name), QString::fromStdString(value));
    process.setProcessEnvironment(environment);
    QStringList arguments;
    for (const std::string& arg : args)
        arguments << QString::fromStdString(arg);
    process.start(QString::fromStdString(program), arguments);
    ProgramResult result;
    if (!process.waitForStarted(10000))
        return result;
    process.waitForFinished(120000);
    result.Status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.Out = process.readAllStandardOutput().toStdString();
    result.Err = process.readAllStandardError().toStdString();
    return result;
}

PdfFacts InspectPdf(const std::string& path) {
    PdfFacts facts;
    const ProgramResult info = RunProgram("pdfinfo", {"-f", "1", "-l", "100000", path});
    const QString infoText = QString::fromStdString(info.Out);
    const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)"),
                                   QRegularExpression::MultilineOption);
    if (auto match = pages.match(infoText); match.hasMatch())
        facts.Pages = match.captured(1).toInt();
    const QRegularExpression size(
        QStringLiteral("^Page\\s+\\d+ size:\\s+([\\d.]+) x ([\\d.]+) pts"),
        QRegularExpression::MultilineOption);
    for (auto it = size.globalMatch(infoText); it.hasNext();) {
        const auto match = it.next();
        facts.PageSizes.push_back(
            std::to_string(std::lround(match.captured(1).toDouble())) + " x " +
            std::to_string(std::lround(match.captured(2).toDouble())));
    }
    const ProgramResult fonts = RunProgram("pdffonts", {path});
    const QStringList lines = QString::fromStdString(fonts.Out).split('\n');
    for (int i = 2; i < lines.size(); ++i) {
        const QStringList columns = lines[i].split(' ', Qt::SkipEmptyParts);
        // name, type words..., encoding, emb, sub, uni, object, ID
        if (columns.size() >= 7 && columns[columns.size() - 5] == QStringLiteral("yes"))
            facts.EmbeddedFonts.push_back(columns[0].toStdString());
    }
    facts.Text = RunProgram("pdftotext", {path, "-"}).Out;
    return facts;
}

} // namespace rpt::test
