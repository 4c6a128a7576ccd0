#include "tabletwindow.h"

#include "students/classcards.h"

#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TabletWindow::TabletWindow(QWidget *owner, const QString &shownName, const QString &address, const QString &note)
    : QDialog(owner)
{
    setWindowTitle(u"Adresse pour la tablette"_s);
    auto *layout = new QVBoxLayout(this);
    Name = new QLabel(shownName, this);
    QFont bold = Name->font();
    bold.setPointSize(16);
    bold.setBold(true);
    Name->setFont(bold);
    Name->setAlignment(Qt::AlignCenter);
    layout->addWidget(Name);
    Code = new QLabel(this);
    Code->setPixmap(QPixmap::fromImage(students::qrImage(address, 6)));
    Code->setAlignment(Qt::AlignCenter);
    layout->addWidget(Code);
    layout->addWidget(new QLabel(u"Scannez ce code avec la tablette de l'élève, ou tapez cette adresse :"_s, this));
    Address = new QLineEdit(address, this);
    Address->setReadOnly(true);
    Address->setMinimumWidth(Address->fontMetrics().horizontalAdvance(address) + 24);
    layout->addWidget(Address);
    Note = new QLabel(note, this);
    Note->setWordWrap(true);
    Note->setStyleSheet(u"color: #a00000;"_s);
    Note->setVisible(!note.isEmpty());
    layout->addWidget(Note);
    PrintCards = new QPushButton(u"Imprimer les codes de la classe"_s, this);
    layout->addWidget(PrintCards);
    Close = new QPushButton(u"Fermer"_s, this);
    layout->addWidget(Close);
    connect(PrintCards, &QPushButton::clicked, this, &TabletWindow::printRequested);
    connect(Close, &QPushButton::clicked, this, &QDialog::accept);
}
