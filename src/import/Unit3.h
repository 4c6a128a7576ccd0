#pragma once

#include "import/readingdocument.h"
#include "platform/filedialogs.h"
#include "platform/screenwindow.h"

#include <optional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TForm2;

namespace platform {
class WebView;
}

// The import screen: the teacher pastes or types a text and saves it as a
// reading document, then opens the layout screen on it.
class TForm3 : public platform::ScreenWindow
{
    Q_OBJECT

public:
    // Owned by the student screen that opens it, whose selection it reads.
    explicit TForm3(TForm2 *owner);

    TForm2 *studentScreen() const;

    QString NomImage;
    bool MiseEnPage = false;

    QLabel *Label1;
    QPushButton *Button2;
    QPushButton *Button3;
    QLabel *Label4;
    QLabel *Label5;
    QLabel *Label6;
    QLabel *Label7;
    QLineEdit *Edit1;
    QLineEdit *Edit2;
    QLineEdit *Edit3;
    QLineEdit *Edit4;
    QLabel *Image2;
    QLabel *Label3;
    QLabel *Label2;
    QLabel *Label8;
    QLineEdit *Edit5;
    QPlainTextEdit *Memo1;
    QPushButton *Button7;
    QPushButton *Button1;
    QPushButton *Button6;
    QPushButton *Button5;
    QLabel *Label9;
    platform::WebView *WebBrowser2 = nullptr; // made when first shown
    QLabel *Image1;
    QPlainTextEdit *Memo2;  // hidden: scratch lines of the table of contents
    QLineEdit *Edit6;       // hidden: the student folder path
    QLineEdit *Edit7;       // hidden: the remote student folder path
    platform::FileDialog OpenDialog1{platform::FileDialog::Kind::Open};
    platform::FileDialog SaveDialog1{platform::FileDialog::Kind::Save};

    void FormCreate();
    void Button1Click();
    void Button7Click();
    void Memo1ChangeTracking();
    void Button2Click();
    void Button3Click();
    void Button6Click();
    // The publication of the student's documents (Unit3_diffusion.cpp).
    void Button5Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void connectHandlers();
    QPushButton *makeStepButton(const QString &text, int y);
    // Inserts the clipboard's text at Memo1's caret, as a paste.
    void pasteIntoMemo1(const QString &text);
    // The picture dialog until a picture not used yet is chosen; nothing
    // when the teacher cancels or the file is not a readable picture.
    std::optional<QString> choosePicture(const QString &studentFolder);
    bool showPicture(const QString &path);
    // The save dialog until a name that can be a title is given; nothing
    // when the teacher cancels.
    std::optional<import::DocumentNames> chooseName(const QString &studentFolder);
    platform::WebView *showWebBrowser2();

    // Set while a paste changes Memo1: only a paste, not typing, hands the
    // focus on to the next step.
    bool m_pasting = false;
};
