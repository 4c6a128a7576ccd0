#include "aides_screen.h"

#include "import/Unit3.h"
#include "layout/workingcopies.h"
#include "students/Unit2.h"
#include "workspace/textfile.h"

#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace aidestest {

TForm1 *AidesScreen::open(const QString &document)
{
    current = document.isEmpty() ? student.document : document;
    screens.students->setCurrentDocument(current);
    screens.import->Edit5->setText(current);
    return screens.openLayout();
}

void AidesScreen::close(TForm1 *screen)
{
    delete screen;
}

QString AidesScreen::addDocument(const QString &name, const QStringList &text) const
{
    QStringList lines = workspace::readLines(student.document);
    const qsizetype logo = lines.indexOf(u"<!--DEBUT-->"_s) + 1;
    const qsizetype end = lines.lastIndexOf(u"<!--FIN-->"_s);
    QStringList body;
    for (const QString &line : text)
        body.append(line + u"<br>"_s);
    lines = lines.mid(0, logo + 1) + body + lines.mid(end);
    const QString path = student.cheminW + name;
    workspace::writeLines(path, lines);
    return path;
}

QStringList AidesScreen::shown() const
{
    QStringList lines = workspace::readLines(current);
    if (layout::carriesAid(lines))
        lines.removeLast();
    return lines;
}

} // namespace aidestest
