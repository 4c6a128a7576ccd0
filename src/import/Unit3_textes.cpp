// Bringing a text in from a file, and reopening one of the student's
// documents to correct it: from Button3's dialog or from the list of the
// student's documents.
#include "Unit3.h"

#include "import/reopen.h"
#include "sources/sources.h"
#include "platform/controls.h"
#include "platform/handlers.h"
#include "platform/platform.h"
#include "readingaids/markup.h"
#include "students/currentstudent.h"
#include "workspace/paths.h"

#include <QApplication>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QTextCursor>
#include <QTextDocument>

#include <chrono>
#include <future>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

const QString CorrectionCaption = u" 2->Sauvegarder la correction (même titre, même logo) "_s;

QString correctionHint(const QString &title)
{
    return u"Remplace « %1 » par le texte corrigé, sans demander de titre ni de logo. Pour sauvegarder un nouveau "
           u"texte, videz la grande fenêtre ou collez-le à la place de tout le texte."_s.arg(title);
}

// Whether inserting at the cursor replaces all of the box's text.
bool replacesAll(const QPlainTextEdit *memo)
{
    const QTextCursor cursor = memo->textCursor();
    return platform::textOf(memo).isEmpty()
        || (cursor.selectionStart() == 0 && cursor.selectionEnd() == cursor.document()->characterCount() - 1);
}

} // namespace

void TForm3::createDocumentList(QRect place)
{
    using platform::boldFont, platform::makeLabel, platform::plainFont;
    Label10 = makeLabel(this, QString(), boldFont(11), {place.x(), place.y(), place.width(), 22});
    Label10->setTextFormat(Qt::PlainText);
    ListView1 = new QListWidget(this);
    ListView1->setGeometry(place.adjusted(0, 24, 0, 0));
    ListView1->setFont(plainFont(12));
    ListView1->setIconSize(QSize(40, 40));
    ListView1->setSpacing(1);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setToolTip(u"Les textes de l'élève, le plus récent en haut : un clic en rouvre un pour le "
                          u"corriger, le mettre en page ou le diffuser."_s);
}

void TForm3::fillDocumentList()
{
    const QList<import::StudentDocument> documents =
        import::studentDocuments(studentScreen()->selection().studentFolder);
    Label10->setText(documents.isEmpty() ? u"Aucun texte sauvegardé pour cet élève"_s
                                         : u"Ses textes (un clic pour en rouvrir un) :"_s);
    const QSignalBlocker quiet(ListView1);
    ListView1->clear();
    for (const import::StudentDocument &document : documents) {
        const QString title =
            document.title.endsWith(u".html"_s) ? document.title.chopped(5) : document.title;
        auto *item = new QListWidgetItem(QIcon(document.picturePath), title, ListView1);
        item->setData(Qt::UserRole, document.documentPath);
        item->setToolTip(document.documentPath);
        if (document.documentPath == Edit5->text())
            ListView1->setCurrentItem(item);
    }
}

void TForm3::ListView1Click()
{
    const QListWidgetItem *item = ListView1->currentItem();
    if (!item)
        return;
    const QString path = item->data(Qt::UserRole).toString();
    // The list shows the current document again, whatever came of the click.
    const auto showCurrent = qScopeGuard([this] { fillDocumentList(); });
    const std::optional<import::DocumentNames> names =
        import::studentDocument(path, studentScreen()->selection().studentFolder);
    if (!names) {
        platform::ShowMessage(this, u"« %1 » n'est plus un texte de l'élève : le fichier a été déplacé ou "
                                    u"changé hors de Tessavo."_s.arg(path));
        return;
    }
    reopen(*names);
}

void TForm3::Button3Click()
{
    // The dialog is shared with the picture choice: its first showing on this
    // screen opens in the student folder, a later one where it was last used.
    const QString folder = studentScreen()->selection().studentFolder;
    if (OpenDialog1.InitialDir.isEmpty())
        OpenDialog1.InitialDir = folder;
    else if (!OpenDialog1.FileName.isEmpty())
        OpenDialog1.InitialDir = QFileInfo(OpenDialog1.FileName).absolutePath();
    OpenDialog1.FileName.clear();
    OpenDialog1.Filter = sources::sourceFilter();
    OpenDialog1.Preview = false;
    if (!OpenDialog1.Execute(this))
        return;
    const QString chosen = OpenDialog1.FileName;
    // A document of the student, or its text copy, is reopened: never read
    // as a page of text.
    if (const std::optional<import::DocumentNames> names = import::studentDocument(chosen, folder)) {
        reopen(*names);
        fillDocumentList();
        return;
    }
    importSource(chosen);
}

void TForm3::importSource(const QString &path)
{
    // Read on a thread of its own: a PDF of many pages, or a file the office
    // suite converts, takes seconds, and the screen stays painted meanwhile.
    // Past a moment, a progress window offers "Annuler".
    std::promise<std::optional<QStringList>> read;
    std::future<std::optional<QStringList>> result = read.get_future();
    std::jthread reader([&read, path](std::stop_token stop) {
        try {
            read.set_value(sources::readSource(path, stop));
        } catch (...) {
            read.set_exception(std::current_exception());
        }
    });
    if (result.wait_for(std::chrono::milliseconds(200)) != std::future_status::ready) {
        const std::unique_ptr<platform::Progress> progress =
            platform::services().progress->openReading(this, QFileInfo(path).fileName());
        while (result.wait_for(std::chrono::milliseconds(40)) != std::future_status::ready) {
            progress->bytesSent(0, 0);
            if (progress->cancelRequested())
                reader.request_stop();
        }
    }
    reader.join();
    if (reader.get_stop_token().stop_requested())
        return; // the teacher stopped it: nothing is brought in, nothing is told
    const std::optional<QStringList> lines = result.get();
    if (!lines) {
        if (!platform::services().shell->openFile(path))
            platform::ShowMessage(this, u"Tessavo ne lit pas le texte des fichiers comme « %1 », et aucune "
                                        u"application de cet ordinateur n'a pu l'ouvrir. Ouvrez-le vous-même, "
                                        u"copiez son texte et collez-le dans la grande fenêtre."_s
                                            .arg(QFileInfo(path).fileName()));
        return;
    }
    // As the paste button pastes the clipboard; in place of a text that is
    // saved already, since the file brings the next one.
    if (!hasUnsavedText())
        Memo1->selectAll();
    if (!pasteIntoMemo1(lines->join(u'\n'), true))
        return;
    Button1->show();
    Button7->hide();
}

bool TForm3::hasUnsavedText() const
{
    return !m_saved && !platform::textOf(Memo1).trimmed().isEmpty();
}

void TForm3::reopen(const import::DocumentNames &names)
{
    if (hasUnsavedText()) {
        platform::ShowMessage(this, u"Le texte de la grande fenêtre n'est pas sauvegardé. Sauvegardez-le ( 2->), "
                                    u"ou videz la fenêtre, avant de rouvrir « %1 »."_s.arg(names.documentName));
        return;
    }
    const workspace::Result<import::ReopenedDocument> reopened = import::reopenDocument(names);
    if (!reopened) {
        platform::ShowMessage(this, reopened.reason());
        return;
    }
    {
        const QScopedValueRollback quiet(m_reopening, true);
        // The lines brought in from a file stay marked as such; as a text
        // set anew, nothing of it can be undone.
        Memo1->clear();
        Memo1->document()->setUndoRedoEnabled(false);
        const QStringList &text = reopened->text;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QString line = i + 1 < text.size() ? text[i] + u'\n' : text[i];
            if (reopened->broughtIn.value(i))
                platform::insertBroughtInText(Memo1, line);
            else
                Memo1->insertPlainText(line);
        }
        Memo1->document()->setUndoRedoEnabled(true);
        Memo1->moveCursor(QTextCursor::Start);
    }
    m_saved = true;
    m_corrected = names;
    Button1->setText(CorrectionCaption);
    Button1->setToolTip(correctionHint(names.documentName));
    NomImage = names.pictureName;
    Edit5->setText(names.documentPath);
    studentScreen()->setCurrentDocument(names.documentPath);
    showLogo(names.picturePath);
    Button7->hide();
    showSaved();
}

void TForm3::endCorrection()
{
    if (!m_corrected)
        return;
    m_corrected.reset();
    Button1->setText(SaveNewCaption);
    Button1->setToolTip(QString());
}

bool TForm3::pasteIntoMemo1(const QString &text, bool fromFile)
{
    // A word of a megabyte would hold the box for minutes.
    if (refusesLongWord(Memo1->textCursor(), text))
        return false;
    // A paste over the whole text, or into an empty box, brings a new text.
    if (replacesAll(Memo1))
        endCorrection();
    const QScopedValueRollback pasting(m_pasting, true);
    // A file's text is text: the box keeps it marked, so that the document
    // shows its "<" and "&" as they are.
    if (fromFile)
        platform::insertBroughtInText(Memo1, text);
    else
        Memo1->insertPlainText(text);
    return true;
}

void TForm3::saveCorrection()
{
    const QString folder = studentScreen()->selection().studentFolder;
    const import::SavedAgain saved =
        import::saveAgain(*m_corrected, {platform::linesOf(Memo1), platform::linesOf(Memo1, readingaids::escapeText)},
                          folder, workspace::workingFolder());
    m_saved = true;
    NomImage = m_corrected->pictureName;
    Edit5->setText(m_corrected->documentPath);
    studentScreen()->setCurrentDocument(m_corrected->documentPath);
    fillDocumentList();
    showSaved();
    documentSaved(m_corrected->documentPath);
    if (saved.keptCopy)
        platform::ShowMessage(this, import::keptCopyMessage(*m_corrected, *saved.keptCopy));
    if (saved.aidLost)
        platform::ShowMessage(this, import::aidLostMessage(*m_corrected));
}

void TForm3::showLogo(const QString &path)
{
    const QImage picture = QImageReader(path).read();
    if (picture.isNull())
        Image2->clear();
    else
        Image2->setPixmap(QPixmap::fromImage(picture));
}

void TForm3::showSaved()
{
    Button1->hide();
    Button6->show();
    Button6->setFocus();
    Button5->show();
    Label9->show();
}
