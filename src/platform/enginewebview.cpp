#include "enginewebview.h"

#include "platform.h"
#include "workspace/ioerror.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPointer>
#include <QPrintDialog>
#include <QSaveFile>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

namespace platform {

namespace {

const QString PdfFilter = u"Fichiers PDF (*.pdf)|*.pdf"_s;

// The engine's own menu speaks English and offers what a reading page does
// not need (back, forward, view source); this one is the program's.
class PageView : public QWebEngineView
{
public:
    PageView(EngineWebView *owner)
        : QWebEngineView(owner)
        , m_owner(owner)
    {
    }

protected:
    void contextMenuEvent(QContextMenuEvent *event) override
    {
        m_owner->openContextMenu(this, event->pos(), event->globalPos());
    }

private:
    EngineWebView *m_owner;
};

} // namespace

EngineWebView::EngineWebView(QWidget *parent)
    : WebView(parent)
    , m_view(new PageView(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    // A page shown here is a student's document, which anyone could have
    // written: its scripts never run. The program's own scripts run in their
    // own world (QWebEngineScript::ApplicationWorld), which this leaves on.
    QWebEngineSettings *settings = m_view->settings();
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    connect(m_view, &QWebEngineView::printFinished, this, [this](bool ok) {
        if (!ok)
            ShowMessage(this, u"La page n'a pas pu être imprimée."_s);
        finish(ok);
    });
}

void EngineWebView::navigate(const QUrl &address)
{
    m_view->setUrl(address);
}

void EngineWebView::reload()
{
    m_view->reload();
}

QUrl EngineWebView::address() const
{
    return m_view->url();
}

namespace {

// The word of the page at a point (in CSS pixels), whole across the colours
// of its syllables: the selection is moved there, stretched to the word,
// read and emptied. Run in the program's own world, apart from the page.
QString wordAtScript(QPointF point)
{
    return uR"((function (x, y) {
  var range = document.caretRangeFromPoint(x, y);
  if (!range) return '';
  var selection = window.getSelection();
  selection.removeAllRanges();
  selection.addRange(range);
  selection.modify('move', 'backward', 'word');
  selection.modify('extend', 'forward', 'word');
  var word = selection.toString();
  selection.removeAllRanges();
  return word;
})(%1, %2))"_s.arg(point.x()).arg(point.y());
}

// The letters of a word as the page gives it: the blanks and marks around it
// left out. " chat, " -> "chat"
QString wordOf(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    const auto letter = [](QChar c) { return c.isLetter() || c.isMark(); };
    while (begin < end && !letter(text[begin]))
        ++begin;
    while (end > begin && !letter(text[end - 1]))
        --end;
    const QString word = text.mid(begin, end - begin);
    for (const QChar c : word) {
        if (!letter(c) && c != u'\'' && c != u'\u2019')
            return {}; // more than one word
    }
    return word;
}

} // namespace

void EngineWebView::openContextMenu(QWidget *parent, QPoint pagePosition, QPoint globalPosition)
{
    const QPointer<QWidget> owner(parent);
    const auto popup = [this, owner, globalPosition](const QString &word) {
        if (!owner)
            return;
        QMenu *menu = createContextMenu(owner, word);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(globalPosition);
    };
    if (m_view->hasSelection()) {
        popup(wordOf(m_view->selectedText()));
        return;
    }
    const qreal zoom = m_view->zoomFactor() > 0 ? m_view->zoomFactor() : 1.0;
    m_view->page()->runJavaScript(wordAtScript(QPointF(pagePosition) / zoom), QWebEngineScript::ApplicationWorld,
                                  [popup](const QVariant &found) { popup(wordOf(found.toString())); });
}

QMenu *EngineWebView::createContextMenu(QWidget *parent, const QString &word)
{
    auto *menu = new QMenu(parent);
    if (!word.isEmpty()) {
        menu->addAction(u"Corriger la coupe de « %1 »…"_s.arg(word), this,
                        [this, word] { emit wordCorrectionAsked(word); });
        menu->addSeparator();
    }
    QWebEnginePage *page = m_view->page();
    QAction *copy = menu->addAction(u"Copier"_s, page, [page] { page->triggerAction(QWebEnginePage::Copy); });
    copy->setEnabled(m_view->hasSelection());
    menu->addAction(u"Tout sélectionner"_s, page, [page] { page->triggerAction(QWebEnginePage::SelectAll); });
    menu->addSeparator();
    QAction *print = menu->addAction(u"Imprimer…"_s, this, &EngineWebView::print);
    QAction *pdf = menu->addAction(u"Enregistrer en PDF…"_s, this, &EngineWebView::saveAsPdf);
    print->setEnabled(!m_printing);
    pdf->setEnabled(!m_printing);
    return menu;
}

void EngineWebView::print()
{
    if (m_printing)
        return;
    // A print to a file is offered under the page's name.
    if (address().isLocalFile())
        m_printer.setDocName(QFileInfo(address().toLocalFile()).completeBaseName());
    QPrintDialog dialog(&m_printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_printing = true;
    m_view->print(&m_printer);
}

void EngineWebView::saveAsPdf()
{
    if (m_printing)
        return;
    FileDialogRequest request{QString(), QString(), PdfFilter};
    const QUrl page = address();
    if (page.isLocalFile()) {
        const QFileInfo file(page.toLocalFile());
        request.initialFolder = QDir::toNativeSeparators(file.absolutePath());
        request.fileName = file.completeBaseName() + u".pdf"_s;
    }
    const std::optional<QString> chosen = services().fileDialogs->saveFile(this, request);
    if (!chosen)
        return;
    QString path = *chosen;
    if (!path.endsWith(u".pdf"_s, Qt::CaseInsensitive))
        path += u".pdf"_s;
    m_printing = true;
    const QPointer<EngineWebView> self(this);
    m_view->printToPdf([self, path](const QByteArray &pdf) {
        if (self)
            self->writePdf(path, pdf);
    });
}

void EngineWebView::writePdf(const QString &path, const QByteArray &pdf)
{
    if (pdf.isEmpty()) {
        ShowMessage(this, u"La page n'a pas pu être mise en PDF."_s);
        finish(false);
        return;
    }
    // Beside, then in place: an old file of that name stays whole on failure.
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(pdf) == pdf.size() && file.commit();
    if (!written)
        ShowMessage(this, workspace::IoError::cannotWrite(path).message());
    finish(written);
}

void EngineWebView::finish(bool ok)
{
    m_printing = false;
    emit printed(ok);
}

// A hidden view (its screen hidden behind a further student screen, which may
// never come back) gives its page's memory back to the web engine; shown
// again, the page loads anew.
void EngineWebView::hideEvent(QHideEvent *event)
{
    WebView::hideEvent(event);
    QTimer::singleShot(0, this, [this] {
        QWebEnginePage *page = m_view->page();
        if (!isVisible() && page->lifecycleState() == QWebEnginePage::LifecycleState::Active)
            page->setLifecycleState(QWebEnginePage::LifecycleState::Discarded);
    });
}

void EngineWebView::showEvent(QShowEvent *event)
{
    WebView::showEvent(event);
    QWebEnginePage *page = m_view->page();
    if (page->lifecycleState() != QWebEnginePage::LifecycleState::Active)
        page->setLifecycleState(QWebEnginePage::LifecycleState::Active);
}

} // namespace platform
