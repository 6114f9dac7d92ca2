#include "viewer/TPreviewForm.h"

#include "platform/Component.h"
#include "platform/UserInterface.h"
#include "preview/TFilePreview.h"
#include "viewer/HandlerErrors.h"
#include "viewer/ScrollBoxWidget.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>

namespace rpt {

namespace {

constexpr int kPanelHeight = 41;
constexpr int kClientWidth = 608;
constexpr int kScrollBoxHeight = 364;
const char* const kReportFilter = "Arquivos de Relatórios (*.RPT *.rpt)";

} // namespace

TPreviewForm::TPreviewForm(QWidget* parent)
    : QMainWindow(parent), components_(std::make_unique<TComponent>(nullptr)) {
    setObjectName(QStringLiteral("PreviewForm"));
    setWindowTitle(QStringLiteral("Ver Relatório em Tela"));
    QFont systemFont = font();
    systemFont.setPixelSize(13);
    setFont(systemFont);
    setAcceptDrops(true);
    ExecDialog = [](QDialog& dialog) { return dialog.exec(); };

    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(client);

    Panel2 = new QFrame(client);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel2->setFixedHeight(kPanelHeight);
    layout->addWidget(Panel2);

    ScrollBox1 = new ScrollBoxWidget(components_.get(), client);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->SetName("ScrollBox1");
    layout->addWidget(ScrollBox1, 1);

    CreateToolbar();
    CreateMenu();
    CreateDialogs();
    CreateShortcuts();
    CreateComponents();

    resize(kClientWidth, MainMenu1->sizeHint().height() + kPanelHeight + kScrollBoxHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    PageEdit->setFocus();
}

// The report components go first, while the scroll box and its image are
// still there for them.
TPreviewForm::~TPreviewForm() {
    components_.reset();
}

QToolButton* TPreviewForm::SpeedButton(const char* name, int x, const QString& hint, Glyph glyph,
                                       void (TPreviewForm::*handler)()) {
    auto* button = new QToolButton(Panel2);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(x, 8, 25, 25);
    button->setIcon(GlyphIcon(glyph));
    button->setIconSize(QSize(16, 16));
    button->setToolTip(hint);
    button->setStatusTip(hint);
    // Speed buttons never take the focus, so a click leaves a field being
    // typed in as it is.
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this, [this, handler] { Guarded([&] { (this->*handler)(); }); });
    return button;
}

QLineEdit* TPreviewForm::EditField(const char* name, int x, int width) {
    auto* field = new QLineEdit(Panel2);
    field->setObjectName(QString::fromLatin1(name));
    field->setGeometry(x, 8, width, 24);
    field->installEventFilter(this);
    return field;
}

QLabel* TPreviewForm::Label(const char* name, int x, int width, const QString& caption) {
    auto* label = new QLabel(caption, Panel2);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(x, 8, width, 16);
    return label;
}

void TPreviewForm::CreateToolbar() {
    SBZoomIn = SpeedButton("SBZoomIn", 8, QStringLiteral("Zoom +"), Glyph::ZoomIn,
                           &TPreviewForm::SBZoomInClick);
    SBZoomOut = SpeedButton("SBZoomOut", 32, QStringLiteral("Zoom -"), Glyph::ZoomOut,
                            &TPreviewForm::SBZoomOutClick);
    SBZoomPageWidth = SpeedButton("SBZoomPageWidth", 56, QStringLiteral("Zoom Largura da Página"),
                                  Glyph::ZoomPageWidth, &TPreviewForm::SBZoomPageWidthClick);
    SBZoomPage = SpeedButton("SBZoomPage", 80, QStringLiteral("Zoom Página Inteira"),
                             Glyph::ZoomPage, &TPreviewForm::SBZoomPageClick);
    SBPrevPage = SpeedButton("SBPrevPage", 104, QStringLiteral("Página anterior"),
                             Glyph::PrevPage, &TPreviewForm::SBPrevPageClick);
    SBNextPage = SpeedButton("SBNextPage", 128, QStringLiteral("Próxima Página"),
                             Glyph::NextPage, &TPreviewForm::SBNextPageClick);
    SBPrint = SpeedButton("SBPrint", 152, QStringLiteral("Imprimir"), Glyph::Print,
                          &TPreviewForm::SBPrintClick);
    SBDone = SpeedButton("SBDone", 176, QStringLiteral("Sair"), Glyph::Done,
                         &TPreviewForm::SBDoneClick);
    Label1 = Label("Label1", 216, 52, QStringLiteral("Zoom %"));
    ZoomEdit = EditField("ZoomEdit", 280, 57);
    Label2 = Label("Label2", 344, 45, QStringLiteral("Página"));
    PageEdit = EditField("PageEdit", 392, 49);
    PageLabel = Label("PageLabel", 456, 89, QStringLiteral("Página 1 de 1"));
    Label1->setBuddy(ZoomEdit);
    Label2->setBuddy(PageEdit);
    setTabOrder(PageEdit, ZoomEdit);
}

void TPreviewForm::Connect(QAction* action, void (TPreviewForm::*handler)()) {
    connect(action, &QAction::triggered, this, [this, handler] { Guarded([&] { (this->*handler)(); }); });
}

void TPreviewForm::CreateMenu() {
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    Arquivo1 = MainMenu1->addMenu(QStringLiteral("&Arquivo"));
    Arquivo1->setObjectName(QStringLiteral("Arquivo1"));
    auto entry = [this](const char* name, const QString& caption, const QKeySequence& keys,
                        void (TPreviewForm::*handler)()) {
        QAction* action = Arquivo1->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        Connect(action, handler);
        return action;
    };
    Carregar1 = entry("Carregar1", QStringLiteral("Carregar relatório"), QKeySequence::Open,
                      &TPreviewForm::Carregar1Click);
    Salvar1 = entry("Salvar1", QStringLiteral("Salvar relatório"), QKeySequence::Save,
                    &TPreviewForm::Salvar1Click);
    N2 = Arquivo1->addSeparator();
    N2->setObjectName(QStringLiteral("N2"));
    Imprimir1 = entry("Imprimir1", QStringLiteral("Imprimir"), QKeySequence::Print,
                      &TPreviewForm::Imprimir1Click);
    N1 = Arquivo1->addSeparator();
    N1->setObjectName(QStringLiteral("N1"));
    Encerrar1 = entry("Encerrar1", QStringLiteral("Encerrar"), QKeySequence(Qt::CTRL | Qt::Key_Q),
                      &TPreviewForm::Encerrar1Click);
}

void TPreviewForm::CreateDialogs() {
    printer_ = std::make_unique<QPrinter>();
    PrintDialog1 = new QPrintDialog(printer_.get(), this);
    PrintDialog1->setObjectName(QStringLiteral("PrintDialog1"));
    PrintDialog1->setOptions(QAbstractPrintDialog::PrintPageRange |
                             QAbstractPrintDialog::PrintCollateCopies);
    PrintDialog1->setMinMax(1, 1);
    PrintDialog1->setFromTo(1, 1);

    auto fileDialog = [this](const char* name, QFileDialog::AcceptMode mode) {
        auto* dialog = new QFileDialog(this);
        dialog->setObjectName(QString::fromLatin1(name));
        dialog->setAcceptMode(mode);
        dialog->setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                            : QFileDialog::AnyFile);
        dialog->setNameFilter(QString::fromUtf8(kReportFilter));
        dialog->setDefaultSuffix(QStringLiteral("RPT"));
        dialog->setOption(QFileDialog::DontConfirmOverwrite, mode == QFileDialog::AcceptOpen);
        return dialog;
    };
    SaveDialog1 = fileDialog("SaveDialog1", QFileDialog::AcceptSave);
    OpenDialog1 = fileDialog("OpenDialog1", QFileDialog::AcceptOpen);
}

void TPreviewForm::CreateShortcuts() {
    auto shortcut = [this](std::initializer_list<QKeySequence> keys,
                           void (TPreviewForm::*handler)()) {
        auto* action = new QAction(this);
        action->setShortcuts(QList<QKeySequence>(keys));
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        Connect(action, handler);
    };
    shortcut({QKeySequence(Qt::Key_PageUp)}, &TPreviewForm::SBPrevPageClick);
    shortcut({QKeySequence(Qt::Key_PageDown)}, &TPreviewForm::SBNextPageClick);
    shortcut({QKeySequence(Qt::CTRL | Qt::Key_Home)}, &TPreviewForm::FirstPageClick);
    shortcut({QKeySequence(Qt::CTRL | Qt::Key_End)}, &TPreviewForm::LastPageClick);
    shortcut({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)},
             &TPreviewForm::SBZoomInClick);
    shortcut({QKeySequence::ZoomOut}, &TPreviewForm::SBZoomOutClick);
    ScrollBox1->OnZoomWheel = [this](int steps) {
        Guarded([&] {
            // Twenty steps span the whole zoom range; more would only redraw.
            for (int step = 0; step < std::min(std::abs(steps), 20); ++step)
                steps > 0 ? SBZoomInClick() : SBZoomOutClick();
        });
    };
}

void TPreviewForm::CreateComponents() {
    FilePreview1 = new TFilePreview(components_.get());
    FilePreview1->SetName("FilePreview1");
    FilePreview1->SetStreamMode(smFile);
    FilePreview1->SetScrollBox(ScrollBox1);
    FilePreview1->SetZoomFactor(100.0);
    FilePreview1->MarginPercent = 2.5;
    FilePreview1->SetShadowDepth(0);
    FilePreview1->OnZoomChange = [this](TFilePreview&) { FilePreview1ZoomChange(); };
    FilePreview1->OnPageChange = [this](TFilePreview&) { FilePreview1PageChange(); };

    FilePrinter1 = new TFilePrinter(components_.get());
    FilePrinter1->SetName("FilePrinter1");
    FilePrinter1->SetStreamMode(smFile);
}

void TPreviewForm::Guarded(const std::function<void()>& handler) {
    ReportHandlerErrors(handler);
    if (closePending_ && !printJobRunning_) {
        closePending_ = false;
        close();
    }
}

int TPreviewForm::RunDialog(QDialog& dialog) { return ExecDialog(dialog); }

void TPreviewForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (event->spontaneous() || shown_)
        return;
    shown_ = true;
    // The preview starts once the window is on screen, so its page area has
    // its final size and an error box appears over the window.
    QMetaObject::invokeMethod(this, [this] { Guarded([this] { FormShow(); }); },
                              Qt::QueuedConnection);
}

void TPreviewForm::closeEvent(QCloseEvent* event) {
    // The print job pumps events between its pages; the components must
    // outlive it, so the window closes once the job has ended.
    if (printJobRunning_) {
        closePending_ = true;
        event->ignore();
        return;
    }
    Guarded([this] { FormClose(); });
    event->accept();
}

void TPreviewForm::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.front().isLocalFile())
        event->acceptProposedAction();
}

void TPreviewForm::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return;
    event->acceptProposedAction();
    const QString path = urls.front().toLocalFile();
    Guarded([&] { LoadReport(path); });
}

bool TPreviewForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched != ZoomEdit && watched != PageEdit)
        return QMainWindow::eventFilter(watched, event);
    const bool zoom = watched == ZoomEdit;
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        char typed = 0;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            typed = 13;
        else if (!key->text().isEmpty())
            typed = key->text().front().toLatin1();
        if (typed != 0)
            Guarded([&] { zoom ? ZoomEditKeyPress(typed) : PageEditKeyPress(typed); });
    } else if (event->type() == QEvent::FocusOut) {
        // Leaving means focus moving to another control of this window; a
        // message box or menu taking the focus for a moment is not leaving.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            Guarded([&] { zoom ? ZoomEditExit() : PageEditExit(); });
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace rpt
