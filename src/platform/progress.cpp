#include "progress.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace platform {

QString sizeText(qint64 bytes)
{
    const QLocale french(QLocale::French, QLocale::France);
    if (bytes < 1024 * 1024)
        return u"%1 ko"_s.arg(french.toString((bytes + 1023) / 1024));
    return u"%1 Mo"_s.arg(french.toString(double(bytes) / (1024 * 1024), 'f', 1));
}

QString unchangedText(int count)
{
    return count == 1 ? u"1 fichier inchangé"_s : u"%1 fichiers inchangés"_s.arg(count);
}

namespace {

// Input goes to this window alone (it is application-modal); the screens
// behind it are painted whenever it hands the events over.
class ProgressDialog : public QDialog, public Progress
{
public:
    // Without a file name, files going up; with one, that file being read.
    explicit ProgressDialog(QWidget *screen, const QString &reading = QString())
        : QDialog(screen)
        , m_file(new QLabel(this))
        , m_bytes(new QLabel(this))
        , m_bar(new QProgressBar(this))
        , m_unchanged(new QLabel(this))
        , m_stopping(new QLabel(u"Arrêt après le fichier en cours…"_s, this))
        , m_cancel(new QPushButton(u"Annuler"_s, this))
    {
        setWindowTitle(u"Publication des documents"_s);
        setWindowModality(Qt::ApplicationModal);
        setMinimumWidth(460);
        m_bar->setRange(0, Steps);
        m_bar->setTextVisible(false);
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(m_file);
        layout->addWidget(m_bytes);
        layout->addWidget(m_bar);
        layout->addWidget(m_unchanged);
        m_unchanged->hide();
        layout->addWidget(m_stopping);
        m_stopping->hide();
        layout->addWidget(m_cancel, 0, Qt::AlignRight);
        connect(m_cancel, &QPushButton::clicked, this, [this] { requestCancel(); });
        m_file->setText(u"Connexion à l'hébergeur…"_s);
        if (!reading.isEmpty()) {
            setWindowTitle(u"Import d'un texte"_s);
            m_file->setText(u"Lecture de « %1 »…"_s.arg(reading));
            m_stopping->setText(u"Arrêt de la lecture…"_s);
            m_bar->setRange(0, 0); // busy: the reading tells no share
        }
        show();
        handOver();
    }

    void fileStarted(int index, int count, const QString &name, qint64 size) override
    {
        m_index = index;
        m_count = count;
        m_file->setText(u"Fichier %1 sur %2 : %3"_s.arg(index).arg(count).arg(name));
        showBytes(0, size);
        handOver();
    }

    void bytesSent(qint64 sent, qint64 total) override
    {
        // Before the first file, the connection is being waited for.
        if (m_index > 0)
            showBytes(sent, total);
        // A transfer reports often; the screens need a few paints a second.
        if (m_sinceHandOver.isValid() && m_sinceHandOver.elapsed() < 40)
            return;
        handOver();
    }

    bool cancelRequested() const override { return m_cancelled; }

    void unchangedFiles(int count) override
    {
        m_unchanged->setText(unchangedText(count));
        m_unchanged->setVisible(count > 0);
        handOver();
    }

    // Escape and the window's close button ask to stop, like "Annuler".
    void reject() override { requestCancel(); }

protected:
    void closeEvent(QCloseEvent *event) override
    {
        event->ignore();
        requestCancel();
    }

private:
    static constexpr int Steps = 1000;

    void showBytes(qint64 sent, qint64 total)
    {
        m_bytes->setText(u"%1 envoyés sur %2"_s.arg(sizeText(sent), sizeText(total)));
        const double share = total > 0 ? double(sent) / double(total) : 0.0;
        if (m_count > 0)
            m_bar->setValue(int(Steps * ((m_index - 1) + share) / m_count));
    }

    void requestCancel()
    {
        if (m_cancelled)
            return;
        m_cancelled = true;
        m_cancel->setEnabled(false);
        m_stopping->show();
    }

    void handOver()
    {
        QCoreApplication::processEvents();
        m_sinceHandOver.start();
    }

    QLabel *m_file;
    QLabel *m_bytes;
    QProgressBar *m_bar;
    QLabel *m_unchanged;
    QLabel *m_stopping;
    QPushButton *m_cancel;
    QElapsedTimer m_sinceHandOver;
    bool m_cancelled = false;
    int m_index = 0;
    int m_count = 0;
};

} // namespace

std::unique_ptr<Progress> DesktopProgressWindows::open(QWidget *screen)
{
    return std::make_unique<ProgressDialog>(screen);
}

std::unique_ptr<Progress> DesktopProgressWindows::openReading(QWidget *screen, const QString &fileName)
{
    return std::make_unique<ProgressDialog>(screen, fileName);
}

} // namespace platform
