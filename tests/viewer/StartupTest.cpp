#include "ViewerFixture.h"

#include "viewer/ScrollBoxWidget.h"

#include <QAction>
#include <QFileDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>

namespace rpt::test {
namespace {

TEST_F(ViewerTest, WithoutArgumentsTheWindowShowsNoReportAndDesignTexts) {
    SetUpApplication();
    SetUserInterface(std::make_unique<RecordingUserInterface>(Record));
    TPreviewForm& form = Open();
    EXPECT_EQ(QGuiApplication::applicationDisplayName().toStdString(), "Visualizador de Impressão");
    EXPECT_EQ(form.windowTitle().toStdString(), "Visualizador de Relatórios Corvanti");
    EXPECT_EQ(PageLabelText(), "Página 1 de 1");
    EXPECT_EQ(ZoomText(), "");
    EXPECT_EQ(form.PageEdit->text().toStdString(), "");
    EXPECT_FALSE(form.FilePreview1->Printing);
    EXPECT_EQ(form.FilePreview1->GetFileName(), "");
    EXPECT_EQ(form.FilePrinter1->GetFileName(), "");
    EXPECT_TRUE(Record->Errors.empty());
    EXPECT_TRUE(Record->Messages.empty());
}

TEST_F(ViewerTest, MissingFileShowsTheInputStreamErrorAndLeavesTheWindowUsable) {
    const std::string missing = Path("missing.rpt");
    TPreviewForm& form = Open({missing});
    ASSERT_EQ(Record->Errors.size(), 1u);
    EXPECT_EQ(Record->Errors[0], "Error initializing input stream \"" + missing + "\"");
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(PageLabelText(), "Página 1 de 1");
}

TEST_F(ViewerTest, OnlyTheFirstArgumentIsUsed) {
    const std::string first = WriteReport("first.rpt", 3);
    const std::string second = WriteReport("second.rpt", 7);
    TPreviewForm& form = Open({first, second});
    EXPECT_EQ(form.FilePreview1->GetFileName(), first);
    EXPECT_EQ(form.FilePrinter1->GetFileName(), first);
    EXPECT_TRUE(form.FilePreview1->Printing);
    EXPECT_EQ(PageLabelText(), "Página 1 de 3");
    EXPECT_EQ(form.PageEdit->text().toStdString(), "1");
    EXPECT_EQ(ZoomText(), "100.0");
    EXPECT_TRUE(Record->Errors.empty());
}

TEST_F(ViewerTest, ComponentsCarryTheirNamesSettingsAndPlaces) {
    TPreviewForm& form = Open();
    struct Button {
        QToolButton* button;
        const char* name;
        int x;
        const char* hint;
    };
    const Button buttons[] = {
        {form.SBZoomIn, "SBZoomIn", 8, "Zoom +"},
        {form.SBZoomOut, "SBZoomOut", 32, "Zoom -"},
        {form.SBZoomPageWidth, "SBZoomPageWidth", 56, "Zoom Largura da Página"},
        {form.SBZoomPage, "SBZoomPage", 80, "Zoom Página Inteira"},
        {form.SBPrevPage, "SBPrevPage", 104, "Página anterior"},
        {form.SBNextPage, "SBNextPage", 128, "Próxima Página"},
        {form.SBPrint, "SBPrint", 152, "Imprimir"},
        {form.SBDone, "SBDone", 176, "Sair"},
    };
    for (const Button& b : buttons) {
        SCOPED_TRACE(b.name);
        EXPECT_EQ(b.button->objectName().toStdString(), b.name);
        EXPECT_EQ(b.button->parentWidget(), form.Panel2);
        EXPECT_EQ(b.button->geometry(), QRect(b.x, 8, 25, 25));
        EXPECT_EQ(b.button->toolTip().toStdString(), b.hint);
        EXPECT_EQ(b.button->iconSize(), QSize(16, 16));
        EXPECT_FALSE(b.button->icon().isNull());
    }
    EXPECT_EQ(form.Panel2->height(), 41);
    EXPECT_EQ(form.Label1->text().toStdString(), "Zoom %");
    EXPECT_EQ(form.Label1->geometry(), QRect(216, 8, 52, 16));
    EXPECT_EQ(form.ZoomEdit->geometry(), QRect(280, 8, 57, 24));
    EXPECT_EQ(form.Label2->text().toStdString(), "Página");
    EXPECT_EQ(form.Label2->geometry(), QRect(344, 8, 45, 16));
    EXPECT_EQ(form.PageEdit->geometry(), QRect(392, 8, 49, 24));
    EXPECT_EQ(form.PageLabel->geometry(), QRect(456, 8, 89, 16));
    EXPECT_EQ(form.PageEdit->nextInFocusChain(), form.ZoomEdit);

    EXPECT_EQ(form.ScrollBox1->objectName().toStdString(), "ScrollBox1");
    EXPECT_EQ(form.ScrollBox1->size(), QSize(608, 364));
    EXPECT_EQ(form.FilePreview1->ScrollBox(), form.ScrollBox1);
    EXPECT_EQ(form.FilePreview1->GetStreamMode(), smFile);
    EXPECT_EQ(form.FilePrinter1->GetStreamMode(), smFile);
    EXPECT_EQ(form.FilePreview1->GetZoomFactor(), 100.0);
    EXPECT_EQ(form.FilePreview1->MarginPercent, 2.5);
    EXPECT_EQ(form.FilePreview1->ShadowDepth(), 0);

    EXPECT_EQ(form.Arquivo1->title().toStdString(), "&Arquivo");
    std::vector<std::string> entries;
    for (QAction* action : form.Arquivo1->actions())
        entries.push_back(action->objectName().toStdString() + ":" +
                          (action->isSeparator() ? "-" : action->text().toStdString()));
    EXPECT_EQ(entries, (std::vector<std::string>{"Carregar1:Carregar relatório",
                                                 "Salvar1:Salvar relatório", "N2:-",
                                                 "Imprimir1:Imprimir", "N1:-",
                                                 "Encerrar1:Encerrar"}));

    for (QFileDialog* dialog : {form.OpenDialog1, form.SaveDialog1}) {
        SCOPED_TRACE(dialog->objectName().toStdString());
        EXPECT_EQ(dialog->nameFilters(), QStringList{"Arquivos de Relatórios (*.RPT *.rpt)"});
        EXPECT_EQ(dialog->defaultSuffix().toStdString(), "RPT");
    }
    EXPECT_EQ(form.SaveDialog1->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(form.SaveDialog1->testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(form.OpenDialog1->fileMode(), QFileDialog::ExistingFile);
}

} // namespace
} // namespace rpt::test
