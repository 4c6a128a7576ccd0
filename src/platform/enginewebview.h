#pragma once

#include "webview.h"

#include <QMutex>
#include <QPrinter>
#include <QWebEngineUrlRequestInterceptor>

class QMenu;
class QWebEngineView;

namespace platform {

// Whether an address is a file inside the folder (at any depth), links
// followed: nothing on the network, nothing beside the folder.
bool isInFolder(const QUrl &address, const QString &folder);

// What a page may fetch: the files of the folder of the page the program
// shows (a student's folder), and nothing else.
class PageFolder : public QWebEngineUrlRequestInterceptor
{
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    // The page the program shows next, whose folder the page may read.
    void setPage(const QUrl &page);
    // A folder of the program's own that the page may read too.
    void setProgramFolder(const QString &folder);
    bool allows(const QUrl &address) const;
    void interceptRequest(QWebEngineUrlRequestInfo &info) override;

private:
    mutable QMutex m_mutex; // the engine may ask from a thread of its own
    QString m_folder;
    QString m_programFolder;
};

// The desktop's web view: a page of the web engine. Its context menu is in
// French and prints the page, on a printer or into a PDF file.
class EngineWebView : public WebView
{
    Q_OBJECT

public:
    explicit EngineWebView(QWidget *parent);

    void navigate(const QUrl &address) override;
    // Shows the page's files again as a reload would, without one where it
    // can: the document and its local style sheets are read again, and what
    // changed in them (the body, the rules of a sheet) is put in place in the
    // page shown. Anything else that changed, or a page still loading, gets a
    // real reload.
    void reload() override;
    void reloadWhole() override;
    void setZoom(double factor) override;
    void allowProgramFolder(const QString &folder) override;
    void showWord(const QString &word) override;
    QUrl address() const override;

    // The menu that a right click on the page opens: "Copier", "Tout
    // sélectionner", "Imprimer…", "Enregistrer en PDF…".
    // With a word (the one under the pointer), the menu opens with
    // "Corriger la coupe de « mot »…", which asks for its correction.
    QMenu *createContextMenu(QWidget *parent, const QString &word = {});

    // The menu at the pointer's place, with the word there: the selected
    // text, or else the word that the page has under the pointer.
    void openContextMenu(QWidget *parent, QPoint pagePosition, QPoint globalPosition);

    // "Imprimer…": the system's print dialog, then the page on the printer
    // chosen there. The printer keeps its settings from one print to the next.
    void print();
    // "Enregistrer en PDF…": a save dialog that opens beside the page's file,
    // then the page as a PDF file at the name chosen (".pdf" added when the
    // name lacks it), written whole or not at all.
    void saveAsPdf();

    QWebEngineView *engine() const { return m_view; }
    QPrinter &printer() { return m_printer; }
    // While the engine lays out a print, a second one waits.
    bool isPrinting() const { return m_printing; }

signals:
    // A print or a PDF file is done; the failures were told to the teacher.
    void printed(bool ok);
    // The page shows its files: a load finished (ok when it succeeded), or a
    // reload was done in place (inPlace).
    void pageShown(bool ok, bool inPlace);

protected:
    void hideEvent(QHideEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void writePdf(const QString &path, const QByteArray &pdf);
    void finish(bool ok);
    void loaded(bool ok);

    // What the loaded page is made of, known once its load finished: its
    // local style sheets (as the page names them, absolute).
    QStringList m_sheets;
    bool m_known = false; // m_sheets are those of the page shown
    bool m_loading = false;
    bool m_updating = false;    // an update in place is running in the page
    bool m_updateAsked = false; // and another one was asked meanwhile

    QWebEngineView *m_view;
    QPrinter m_printer;
    bool m_printing = false;
};

} // namespace platform
