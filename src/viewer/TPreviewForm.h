#pragma once
// The viewer's main window: a toolbar of speed buttons and page and zoom
// fields over the scroll box the preview shows its page in, a file menu, the
// print, open and save dialogs, and the two report components (the preview
// and the printer). Every handler runs through one guard that shows an
// escaping error in the application's error box and keeps the window usable.
#include "viewer/ButtonGlyphs.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;
class QDialog;
class QFileDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPrintDialog;
class QPrinter;
class QToolButton;

namespace rpt {

class ScrollBoxWidget;
class TComponent;
class TFilePreview;
class TFilePrinter;

class TPreviewForm : public QMainWindow {
public:
    explicit TPreviewForm(QWidget* parent = nullptr);
    ~TPreviewForm() override;

    QFrame* Panel2 = nullptr;
    QToolButton* SBZoomIn = nullptr;
    QToolButton* SBZoomOut = nullptr;
    QToolButton* SBZoomPageWidth = nullptr;
    QToolButton* SBZoomPage = nullptr;
    QToolButton* SBPrevPage = nullptr;
    QToolButton* SBNextPage = nullptr;
    QToolButton* SBPrint = nullptr;
    QToolButton* SBDone = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* ZoomEdit = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* PageEdit = nullptr;
    QLabel* PageLabel = nullptr;
    ScrollBoxWidget* ScrollBox1 = nullptr;
    QMenuBar* MainMenu1 = nullptr;
    QMenu* Arquivo1 = nullptr;
    QAction* Carregar1 = nullptr;
    QAction* Salvar1 = nullptr;
    QAction* N2 = nullptr;
    QAction* Imprimir1 = nullptr;
    QAction* N1 = nullptr;
    QAction* Encerrar1 = nullptr;
    QPrintDialog* PrintDialog1 = nullptr;
    QFileDialog* SaveDialog1 = nullptr;
    QFileDialog* OpenDialog1 = nullptr;
    TFilePreview* FilePreview1 = nullptr;
    TFilePrinter* FilePrinter1 = nullptr;

    // Runs a dialog modally and answers its result; tests put a function
    // here that fills the dialog in as a user would.
    std::function<int(QDialog& dialog)> ExecDialog;

    // True from the start to the end of a print command.
    bool PrintJobRunning() const { return printJobRunning_; }

    void FormShow();
    void FormClose();
    void SBZoomInClick();
    void SBZoomOutClick();
    void SBZoomPageWidthClick();
    void SBZoomPageClick();
    void SBPrevPageClick();
    void SBNextPageClick();
    void SBPrintClick();
    void SBDoneClick();
    void Encerrar1Click();
    void Imprimir1Click();
    void Salvar1Click();
    void Carregar1Click();
    void FilePreview1PageChange();
    void FilePreview1ZoomChange();
    void ZoomEditExit();
    void ZoomEditKeyPress(char key);
    void PageEditExit();
    void PageEditKeyPress(char key);

    // Shows another report file in place of the one shown so far.
    void LoadReport(const QString& path);
    void FirstPageClick();
    void LastPageClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateToolbar();
    void CreateMenu();
    void CreateDialogs();
    void CreateShortcuts();
    void CreateComponents();
    QToolButton* SpeedButton(const char* name, int x, const QString& hint, Glyph glyph,
                             void (TPreviewForm::*handler)());
    QLineEdit* EditField(const char* name, int x, int width);
    QLabel* Label(const char* name, int x, int width, const QString& caption);
    // Runs a handler; an error that leaves it is shown, and a close asked
    // for during a print job happens once the job has ended.
    void Guarded(const std::function<void()>& handler);
    void Connect(QAction* action, void (TPreviewForm::*handler)());
    // False, after the message, when no report is loaded.
    bool ReportLoaded();
    int RunDialog(QDialog& dialog);

    std::unique_ptr<TComponent> components_;
    std::unique_ptr<QPrinter> printer_;
    bool printJobRunning_ = false;
    bool closePending_ = false;
    bool shown_ = false;
};

} // namespace rpt
