#include "Vitrine_test.h"

#include "import/Unit3.h"
#include "platform/handlers.h"
#include "platform/modal.h"
#include "platform/platform.h"
#include "platform/webview.h"
#include "students/Unit2.h"

#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

QPointer<TForm1> Form1;

TForm1::TForm1(TForm3 *owner)
    : ScreenWindow(owner, Qt::red, Qt::white)
{
    setWindowTitle(u"Form1"_s);
    resize(1366, 1024);
    createControls();
    platform::connectHandler(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    FormCreate();
}

TForm3 *TForm1::importScreen() const
{
    return static_cast<TForm3 *>(parentWidget());
}

TForm2 *TForm1::studentScreen() const
{
    return importScreen()->studentScreen();
}

void TForm1::createControls()
{
    WebBrowser1 = platform::services().webViews->create(this);
    WebBrowser1->setGeometry(0, 0, 1366, 353);
    Button1 = new QPushButton(u"Sauvegarder ces réglages"_s, this);
    Button1->setGeometry(88, 800, 161, 33);
    Label3 = new QLabel(this);
    Label3->setFont(platform::boldFont(14));
    Label3->setGeometry(16, 752, 1361, 24);
}

void TForm1::FormCreate()
{
    cheminW = studentScreen()->Label1->text();
    TitreText = studentScreen()->Edit5->text();
    Label3->setText(TitreText);
    setWindowState(windowState() | Qt::WindowMaximized);
    WebBrowser1->navigate(QUrl::fromLocalFile(QDir::fromNativeSeparators(Label3->text())));
}

void TForm1::Button1Click()
{
    // Back to a student screen: a new one, owned by this screen, which stays
    // hidden afterwards.
    auto *students = new TForm2(this);
    hide();
    platform::showModal(students);
}

void TForm1::closeEvent(QCloseEvent *event)
{
    platform::endProgram();
    event->accept();
}
