#pragma once

#include "import/readingdocument.h"
#include "platform/filedialogs.h"
#include "platform/screenwindow.h"
#include "workspace/result.h"

#include <QRect>

#include <optional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTextCursor;

namespace students {
class CurrentStudent;
}

namespace platform {
class WebView;
}

// The import screen: the teacher pastes, types or brings in a text and saves
// it as a reading document, or reopens one of the student's documents to
// correct it, then opens the layout screen on it.
class TForm3 : public platform::ScreenWindow
{
    Q_OBJECT

public:
    // Owned by the student screen that opens it, whose selection it reads.
    TForm3(QWidget *owner, students::CurrentStudent &student);

    students::CurrentStudent *studentScreen() const;

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
    QLabel *Label10;        // above ListView1
    QListWidget *ListView1; // the student's documents, newest first, where WebBrowser2 will stand
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
    void ListView1Click();
    // The publication of the student's documents (Unit3_diffusion.cpp).
    void Button5Click();

signals:
    // " 3->Mise en page" on a saved document: the layout screen, owned by
    // this screen, opens the document at path and is shown beside it.
    void layoutScreenRequested(const QString &path);
    // The document at path was written again: a layout screen left open over
    // this one shows it as saved. Its failures are its own.
    void documentWritten(const QString &path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void connectHandlers();
    QPushButton *makeStepButton(const QString &text, int y);
    // Inserts the clipboard's text at Memo1's caret, as a paste; a file's
    // text is kept marked as brought in. A text that would make a word of
    // over 1,000 characters is told and left out: whether it was pasted.
    bool pasteIntoMemo1(const QString &text, bool fromFile = false);
    // Whether `inserted` in place of the cursor's selection would make a
    // word of over 1,000 characters: then it is told, and nothing changes.
    bool refusesLongWord(const QTextCursor &at, const QString &inserted);
    // Pastes what the clipboard brings; a clipboard without text is told and
    // changes nothing. Whether something was pasted.
    bool pasteClipboard();
    // The text box's own menu at `at`, its "Coller" pasting as Ctrl+V does.
    void showMemo1Menu(const QPoint &at);
    // The picture dialog until a picture not used yet is chosen; nothing
    // when the teacher cancels or the file is not a readable picture.
    std::optional<QString> choosePicture(const QString &studentFolder);
    // Refuses a file that is not a readable picture.
    workspace::Result<void> showPicture(const QString &path);
    // The save dialog until a name that can be a title is given; nothing
    // when the teacher cancels.
    std::optional<import::DocumentNames> chooseName(const QString &studentFolder);
    platform::WebView *showWebBrowser2();

    // Bringing a text in and reopening a document (Unit3_textes.cpp).
    void createDocumentList(QRect place);
    // Lists the student's documents, the current one selected.
    void fillDocumentList();
    // The text the file brings in, pasted at the caret, or in place of a
    // text already saved; a file of a kind Tessavo does not read goes to the
    // desktop.
    void importSource(const QString &path);
    // Shows the document as after its save, its text copy in Memo1; a text
    // in Memo1 not saved yet is never replaced.
    void reopen(const import::DocumentNames &names);
    // Ends the correction of the reopened document: " 2->" saves a new text.
    void endCorrection();
    // Saves Memo1 over the reopened document, without a dialog.
    void saveCorrection();
    // Whether Memo1 holds a text changed since it was last saved or reopened.
    bool hasUnsavedText() const;
    void showLogo(const QString &path);
    // The step controls once a document is saved or reopened.
    void showSaved();
    // The layout screens opened from here read the document just written.
    void documentSaved(const QString &path);

    static const QString SaveNewCaption;

    // Set while a paste changes Memo1: only a paste, not typing, hands the
    // focus on to the next step.
    bool m_pasting = false;
    // Set while a reopened document's text is put into Memo1: no change of
    // the teacher's.
    bool m_reopening = false;
    // Memo1 holds what was last saved or reopened, or nothing typed yet.
    bool m_saved = true;
    // The reopened document that " 2->" saves again, until Memo1 is emptied
    // or a paste replaces its whole text.
    std::optional<import::DocumentNames> m_corrected;
    students::CurrentStudent &m_student;
};
