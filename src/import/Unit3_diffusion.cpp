#include "Unit3.h"

#include "publishing/diffusionscreen.h"
#include "platform/platform.h"

#include <QLineEdit>

using namespace Qt::StringLiterals;

// Publishes the student's documents without a new layout and opens the
// published table of contents; the import screen stays open.
void TForm3::Button5Click()
{
    if (publishing::publicationRunning())
        return;
    if (!MiseEnPage)
        platform::ShowMessage(this, u"Vous avez choisi de réutiliser une mise en page d'un texte prcédent"_s);
    const bool everything = publishing::askBeforePublishing(this);

    const publishing::DiffusionOutcome outcome = publishing::publish(this, Edit6->text(), Edit7->text(), everything);
    if (outcome.end == publishing::DiffusionEnd::Stopped || outcome.end == publishing::DiffusionEnd::Cancelled)
        return;
    publishing::openTableOfContents(this, outcome);
}
