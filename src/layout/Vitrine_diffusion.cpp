#include "Vitrine_test.h"

#include "layout/lecture.h"
#include "platform/eventrules.h"
#include "publishing/diffusionscreen.h"
#include "platform/modal.h"
#include "platform/platform.h"
#include "platform/webview.h"
#include "students/currentstudent.h"
#include "students/selection.h"
#include "workspace/paths.h"

#include <QLabel>
#include <QLineEdit>

#include <optional>

using namespace Qt::StringLiterals;

// Publishes the student's documents, opens the published table of contents,
// then ends the program. When nothing was sent (no file, no connection) or the
// teacher cancels, the program goes on.
void TForm1::Button9Click()
{
    if (publishing::publicationRunning())
        return;
    WebBrowser2->navigate(workspace::travauxAddress(workspace::workingFolder()));
    WebBrowser2->show();
    const bool everything = publishing::askBeforePublishing(this);
    // The student screen's selection at the moment of the click.
    const students::Selection selection = studentScreen()->selection();
    Edit4->setText(selection.studentFolder);
    Edit7->setText(selection.remoteFolder);

    // The reading files are made before the publication; the documents name
    // the script while it sends them.
    preparerLecture();
    std::optional<layout::ScriptLinesForPublication> scriptLines;
    if (Lecture->isEnabled() && Lecture->isChecked())
        scriptLines.emplace(cheminW);
    const publishing::DiffusionOutcome outcome = publishing::publish(this, Edit4->text(), Edit7->text(), everything);
    scriptLines.reset();
    if (outcome.end == publishing::DiffusionEnd::Stopped)
        return;
    if (outcome.end == publishing::DiffusionEnd::Cancelled) {
        WebBrowser2->hide();
        return;
    }
    platform::ShowMessage(this, u"Les fichiers sont en ligne et disponibles pour Tessavo_Lecteur PC ou Tablette"_s);
    // The program ends once the table of contents is open, or once the
    // teacher has read where it is.
    publishing::openTableOfContents(this, outcome);
    WebBrowser2->hide();
    platform::endProgram();
}
