#include "enginewebview.h"

#include <algorithm>

#include "platform.h"
#include "workspace/ioerror.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMenu>
#include <QMutexLocker>
#include <QPointer>
#include <QPrintDialog>
#include <QSaveFile>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineView>

#include <optional>
#include <utility>

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

// The page of a student's document: it goes where the program sends it, and
// to a link of its own folder that the teacher clicks; never by itself (a
// refresh, a redirect, a frame, an object or an embed of the page).
class DocumentPage : public QWebEnginePage
{
public:
    explicit DocumentPage(QObject *parent)
        : QWebEnginePage(parent)
        , m_folder(new PageFolder(this))
    {
        setUrlRequestInterceptor(m_folder);
    }

    // What the page may fetch, as long as it lives.
    PageFolder &folder() { return *m_folder; }

    // The address the program sends the page to next.
    void sendTo(const QUrl &address) { m_sent = address; }

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override
    {
        if (!isMainFrame)
            return false;
        switch (type) {
        case NavigationTypeTyped:
        case NavigationTypeReload:
            return url.adjusted(QUrl::RemoveFragment) == m_sent.adjusted(QUrl::RemoveFragment);
        case NavigationTypeLinkClicked:
            return m_folder->allows(url);
        default:
            return false;
        }
    }

private:
    PageFolder *m_folder;
    QUrl m_sent;
};

} // namespace

bool PageFolder::allows(const QUrl &address) const
{
    const QMutexLocker locker(&m_mutex);
    return isInFolder(address, m_folder) || isInFolder(address, m_programFolder);
}

void PageFolder::setProgramFolder(const QString &folder)
{
    const QMutexLocker locker(&m_mutex);
    m_programFolder = folder;
}

void PageFolder::setPage(const QUrl &page)
{
    QString folder;
    if (page.isLocalFile() && page.host().isEmpty())
        folder = QFileInfo(page.toLocalFile()).absolutePath();
    const QMutexLocker locker(&m_mutex);
    m_folder = folder;
}

void PageFolder::interceptRequest(QWebEngineUrlRequestInfo &info)
{
    if (!allows(info.requestUrl()))
        info.block(true);
}

bool isInFolder(const QUrl &address, const QString &folder)
{
    if (folder.isEmpty() || !address.isLocalFile() || !address.host().isEmpty())
        return false;
    // The real paths, once links are followed: a link of the folder that
    // leads out of it leads out.
    const auto real = [](const QString &path) {
        const QString canonical = QFileInfo(path).canonicalFilePath();
        return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(path).absoluteFilePath()) : canonical;
    };
    const QString root = real(folder);
    const QString path = real(address.toLocalFile());
    return path.startsWith(root) && path.size() > root.size()
        && (root.endsWith(u'/') || path[root.size()] == u'/');
}

EngineWebView::EngineWebView(QWidget *parent)
    : WebView(parent)
    , m_view(new PageView(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    // The page fetches the files of its own folder, and nothing else: no
    // other student's file, nothing from the network.
    m_view->setPage(new DocumentPage(m_view));
    // A page shown here is a student's document, which anyone could have
    // written: its scripts never run. The program's own scripts run in their
    // own world (QWebEngineScript::ApplicationWorld), which this leaves on.
    QWebEngineSettings *settings = m_view->settings();
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    connect(m_view, &QWebEngineView::loadStarted, this, [this] {
        m_loading = true;
        m_known = false;
        m_sheets.clear();
    });
    connect(m_view, &QWebEngineView::loadFinished, this, &EngineWebView::loaded);
    connect(m_view, &QWebEngineView::printFinished, this, [this](bool ok) {
        if (!ok)
            ShowMessage(this, u"La page n'a pas pu être imprimée."_s);
        finish(ok);
    });
}

void EngineWebView::navigate(const QUrl &address)
{
    // Loading from now on, though the engine tells so a moment later.
    m_loading = true;
    auto *page = static_cast<DocumentPage *>(m_view->page());
    page->folder().setPage(address);
    page->sendTo(address);
    m_view->setUrl(address);
}

namespace {

// The local style sheets of the page, as it names them.
const QString SheetsScript = uR"((function () {
  return Array.from(document.styleSheets)
    .filter(function (s) { return s.ownerNode && s.ownerNode.localName === 'link' && s.href; })
    .map(function (s) { return s.href; });
})())"_s;

// The page's files read again, put in place: the rules of each style sheet
// that changed, and the body when it changed. The page is left untouched,
// and a reload is asked for ("reload"), when anything else differs from
// what a reload would show: the head, the document's own nodes, a sheet
// that was not read again, a sheet that imports another or names its own
// encoding. The text is decoded as the page's was; a sheet's rules are
// parsed as the page parses its sheets (a <style> element of the page's own
// mode, removed at once).
const QString UpdateScript = uR"((function (page, sheets) {
  function bytes(b64) {
    var s = atob(b64), a = new Uint8Array(s.length);
    for (var i = 0; i < s.length; ++i) a[i] = s.charCodeAt(i);
    return a;
  }
  function node(n) {
    if (n.nodeType === 1) return n.outerHTML;
    if (n.nodeType === 10) return '!' + n.name + '|' + n.publicId + '|' + n.systemId;
    return n.nodeType + ':' + n.nodeValue;
  }
  // Everything of a document but its body's content.
  function outside(doc) {
    var html = doc.documentElement, parts = [doc.compatMode];
    doc.childNodes.forEach(function (n) { parts.push(n === html ? '<html>' : node(n)); });
    for (var i = 0; i < html.attributes.length; ++i)
      parts.push(html.attributes[i].name + '=' + html.attributes[i].value);
    html.childNodes.forEach(function (n) { parts.push(n === doc.body ? '<body>' : node(n)); });
    return parts.join('\u0000');
  }
  try {
    var decoder = new TextDecoder(document.characterSet);
    var fresh = new DOMParser().parseFromString(decoder.decode(bytes(page)), 'text/html');
    if (!document.body || !fresh.body || document.body.localName !== 'body' || fresh.body.localName !== 'body')
      return 'reload';
    if (outside(fresh) !== outside(document)) return 'reload';
    var given = {};
    sheets.forEach(function (s) { given[s[0]] = s[1]; });
    var changes = [];
    // The texts of the sheets as put in place by the last update, kept in
    // the program's own world for as long as this page is shown.
    var placed = window.tessavoSheets || {}, texts = {};
    var sheetList = Array.from(document.styleSheets);
    for (var k = 0; k < sheetList.length; ++k) {
      var sheet = sheetList[k], owner = sheet.ownerNode;
      if (!owner || owner.localName !== 'link') continue;
      if (!(sheet.href in given) || owner.hasAttribute('charset')) return 'reload';
      var text = decoder.decode(bytes(given[sheet.href]));
      if (/^\uFEFF|^@charset|@import/i.test(text)) return 'reload';
      // A sheet whose text is the one this page last put in place has its
      // rules: it is not parsed again, as a probe added to the page makes
      // the engine compute the style of the whole page anew.
      if (placed[sheet.href] === text) continue;
      var rules = Array.from(sheet.cssRules);
      if (rules.some(function (r) { return r.type === CSSRule.IMPORT_RULE; })) return 'reload';
      var probe = document.createElement('style');
      probe.textContent = text;
      document.head.appendChild(probe);
      var next = Array.from(probe.sheet.cssRules, function (r) { return r.cssText; });
      probe.remove();
      var now = rules.map(function (r) { return r.cssText; });
      if (now.join('\n') !== next.join('\n')) changes.push([sheet, now, next]);
      texts[sheet.href] = text;
    }
    // Only the rules that differ are replaced, in their places: a font face
    // that stays is not loaded again.
    changes.forEach(function (c) {
      var sheet = c[0], now = c[1], next = c[2];
      if (now.length !== next.length) {
        while (sheet.cssRules.length) sheet.deleteRule(0);
        next.forEach(function (rule, i) { sheet.insertRule(rule, i); });
        return;
      }
      next.forEach(function (rule, i) {
        if (rule === now[i]) return;
        sheet.deleteRule(i);
        sheet.insertRule(rule, i);
      });
    });
    // The body's nodes that differ, and only those, are put in place: a
    // picture or a paragraph that stays is neither loaded nor laid out
    // again (a sound marked changes the words that hold it).
    function patch(now, next) {
      var names = {};
      for (var i = 0; i < next.attributes.length; ++i) {
        var a = next.attributes[i];
        names[a.name] = true;
        if (now.getAttribute(a.name) !== a.value) now.setAttribute(a.name, a.value);
      }
      Array.from(now.attributes).forEach(function (a) {
        if (!names[a.name]) now.removeAttribute(a.name);
      });
      var was = Array.from(now.childNodes), will = Array.from(next.childNodes);
      var head = 0, tail = 0;
      while (head < was.length && head < will.length && was[head].isEqualNode(will[head])) ++head;
      while (tail < was.length - head && tail < will.length - head
             && was[was.length - 1 - tail].isEqualNode(will[will.length - 1 - tail])) ++tail;
      var oldEnd = was.length - tail, newEnd = will.length - tail;
      if (oldEnd - head === newEnd - head) {
        for (var k = head; k < oldEnd; ++k) {
          var o = was[k], n = will[k];
          if (o.nodeType === 1 && n.nodeType === 1 && o.localName === n.localName
              && o.namespaceURI === n.namespaceURI)
            patch(o, n);
          else if (o.nodeType === 3 && n.nodeType === 3)
            o.nodeValue = n.nodeValue;
          else
            now.replaceChild(document.importNode(n, true), o);
        }
        return;
      }
      var after = oldEnd < was.length ? was[oldEnd] : null;
      for (var r = head; r < oldEnd; ++r) now.removeChild(was[r]);
      for (var w = head; w < newEnd; ++w) now.insertBefore(document.importNode(will[w], true), after);
    }
    if (!fresh.body.isEqualNode(document.body)) patch(document.body, fresh.body);
    Object.keys(texts).forEach(function (href) { placed[href] = texts[href]; });
    window.tessavoSheets = placed;
    return 'done';
  } catch (e) {
    return 'reload';
  }
})(%1))"_s;

// The bytes of a local file, in base 64.
std::optional<QString> base64Of(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return QString::fromLatin1(file.readAll().toBase64());
}

} // namespace

void EngineWebView::reload()
{
    QWebEnginePage *page = m_view->page();
    const QUrl shown = address();
    const auto fullReload = [this] { reloadWhole(); };
    if (m_loading || !m_known || !shown.isLocalFile()
        || page->lifecycleState() != QWebEnginePage::LifecycleState::Active) {
        fullReload();
        return;
    }
    // Asked again while the page is being updated (a keystroke typed while
    // the one before is being marked): one more update once this one is
    // done, which reads the files as they are then, however many were asked.
    if (m_updating) {
        m_updateAsked = true;
        return;
    }
    // Read now: what the files hold at this moment is what is shown.
    const std::optional<QString> document = base64Of(shown.toLocalFile());
    QJsonArray sheets;
    for (const QString &href : std::as_const(m_sheets)) {
        const QUrl sheet(href);
        const std::optional<QString> bytes = sheet.isLocalFile() ? base64Of(sheet.toLocalFile()) : std::nullopt;
        if (!bytes) {
            fullReload();
            return;
        }
        sheets.append(QJsonArray{href, *bytes});
    }
    if (!document) {
        fullReload();
        return;
    }
    const QPointer<EngineWebView> self(this);
    const QString arguments = u'"' + *document + u"\", "_s
                              + QString::fromUtf8(QJsonDocument(sheets).toJson(QJsonDocument::Compact));
    m_updating = true;
    page->runJavaScript(UpdateScript.arg(arguments),
                        QWebEngineScript::ApplicationWorld, [self](const QVariant &result) {
                            if (!self)
                                return;
                            self->m_updating = false;
                            const bool again = std::exchange(self->m_updateAsked, false);
                            if (result.toString() != u"done"_s) {
                                self->reloadWhole(); // reads the files as they are now
                            } else if (again) {
                                self->reload();
                            } else {
                                emit self->pageShown(true, true);
                            }
                        });
}

void EngineWebView::allowProgramFolder(const QString &folder)
{
    static_cast<DocumentPage *>(m_view->page())->folder().setProgramFolder(folder);
}

void EngineWebView::showWord(const QString &word)
{
    // window.find(text, caseSensitive, backwards, wrapAround, wholeWord):
    // a selection of the page's own, from its start.
    const QString text = QString::fromUtf8(QJsonDocument(QJsonArray{word}).toJson(QJsonDocument::Compact)).sliced(1).chopped(1);
    m_view->page()->runJavaScript(u"window.getSelection().removeAllRanges(); window.find(%1, true, false, true, true);"_s.arg(text),
                                  QWebEngineScript::ApplicationWorld);
}

void EngineWebView::setZoom(double factor)
{
    WebView::setZoom(factor);
    // The engine's range of zoom factors.
    m_view->setZoomFactor(std::clamp(factor, 0.25, 5.0));
}

void EngineWebView::reloadWhole()
{
    m_loading = true;
    m_view->reload();
}

void EngineWebView::loaded(bool ok)
{
    m_loading = false;
    if (!ok || !address().isLocalFile()) {
        emit pageShown(ok, false);
        return;
    }
    // The sheets that a reload in place reads again.
    const QPointer<EngineWebView> self(this);
    m_view->page()->runJavaScript(SheetsScript, QWebEngineScript::ApplicationWorld, [self](const QVariant &hrefs) {
        if (!self)
            return;
        if (!self->m_loading) {
            self->m_sheets = hrefs.toStringList();
            self->m_known = hrefs.isValid();
        }
        emit self->pageShown(true, false);
    });
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
