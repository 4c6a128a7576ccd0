#include "layoutfolder.h"

#include "app/screenflow.h"
#include "import/Unit3.h"
#include "layout/Vitrine_test.h"
#include "studentchoice.h"
#include "students/Unit2.h"
#include "workspace/textfile.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace layouttest {

namespace {

QString reserve(const QString &name)
{
    return QStringLiteral(TESSAVO_SOURCE_DIR "/reserve/") + name;
}

} // namespace

QStringList StudentFolder::defaultText()
{
    return {u"Le petit chat est monté sur le toit de la maison."_s,
            u"Il regarde les oiseaux qui volent au-dessus des arbres."_s,
            u"Quand la nuit tombe, il redescend pour dormir près du feu."_s};
}

StudentFolder::StudentFolder(const fakes::WorkingFolder &folder, const QStringList &text)
{
    folder.writeText(u"ecole.txt"_s, {u"EVRY"_s, u"JAURES"_s, u"CM1"_s});
    const QString relative = u"EVRY_JAURES_CM1/lecteurs/Dupont_Jean_jean@ecole.fr"_s;
    folder.makeFolder(relative);
    folder.writeText(u"EVRY_JAURES_CM1/lecteurs/ListeLecteurs.txt"_s, {u"Dupont;Jean;CM1;jean@ecole.fr"_s});
    cheminW = folder.file(relative) + QDir::separator();
    workspace::copyTextLines(reserve(u"style.css"_s), cssPath());
    QFile::copy(reserve(u"fond.jpg"_s), cheminW + u"fond.jpg"_s);
    QFile::copy(reserve(u"Cartes/arbre.jpg"_s), cheminW + u"conte.jpg"_s);

    QStringList lines = workspace::readLines(reserve(u"entete.html"_s));
    lines.append(u"<img src=\"conte.jpg\" width=\"120\" height=\"120\"><br>"_s);
    for (const QString &line : text)
        lines.append(line + u"<br>"_s);
    lines += workspace::readLines(reserve(u"FinFichier.html"_s));
    document = cheminW + u"conte à lire.html"_s;
    workspace::writeLines(document, lines);
    // The aids by their letters unless a test turns "entendu" on, or
    // removes this choice to see the default.
    workspace::writeLines(cheminW + u"entendu.ini"_s, {u"entendu=non"_s});
}

QString StudentFolder::cssPath() const
{
    return cheminW + u"style.css"_s;
}

QStringList StudentFolder::cssLines() const
{
    return workspace::readLines(cssPath());
}

void StudentFolder::setCssLine(int k, const QString &text) const
{
    QStringList lines = cssLines();
    while (lines.size() < k)
        lines.append(QString());
    lines[k - 1] = text;
    setCssLines(lines);
}

void StudentFolder::setCssLines(const QStringList &lines) const
{
    workspace::writeLines(cssPath(), lines);
}

Screens::Screens(const StudentFolder &student)
    : students(new TForm2)
{
    fakes::chooseStudent(students, QDir(student.cheminW).dirName());
    students->setCurrentDocument(student.document);
    import = app::makeImportScreen(students);
    import->Edit5->setText(student.document);
}

Screens::~Screens()
{
    delete students;
}

TForm1 *Screens::openLayout()
{
    return app::openLayoutScreen(import, import->Edit5->text());
}

} // namespace layouttest
