#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

namespace platform {

// A web view showing local pages, placed in a screen like any control.
class WebView : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;

    virtual void navigate(const QUrl &address) = 0;
    virtual void reload() = 0;
    // A reload that loads the page anew, pictures included: after a change
    // made outside the page's own commands (a corrected document may come
    // with a new logo under the same name).
    virtual void reloadWhole() { reload(); }
    virtual QUrl address() const = 0;
    // Shows the page at factor times its size, as the page's zoom does: the
    // page is laid out for a view 1/factor times as large. 1 by default.
    virtual void setZoom(double factor) { m_zoom = factor; }
    double zoom() const { return m_zoom; }
    // A folder of the program's own (never a student's) whose files the page
    // may read besides its own folder's: the audio of a reading made for it.
    virtual void allowProgramFolder(const QString &folder) { Q_UNUSED(folder); }
    // Selects the first time the whole word stands in the page, and scrolls
    // it into sight; nothing when it is not there.
    virtual void showWord(const QString &word) { Q_UNUSED(word); }

signals:
    // The teacher chose "Corriger la coupe de « mot »…" on a word of the page.
    void wordCorrectionAsked(const QString &word);

private:
    double m_zoom = 1;
};

class WebViews
{
public:
    virtual ~WebViews() = default;
    virtual WebView *create(QWidget *parent) = 0;
};

} // namespace platform
