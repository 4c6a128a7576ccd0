#include "Vitrine_test.h"

#include "layout/aidcommands.h"
#include "platform/controls.h"
#include "platform/eventrules.h"
#include "platform/platform.h"

#include "layout/entendubox.h"
#include "layout/reapply.h"
#include "readingaids/writtenbyear.h"
#include "workspace/paths.h"

#include <QDialog>
#include <QListWidget>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using layout::AidBox;

namespace {

// A command run from inside another one (the sound field emptied by a box
// that goes off) leaves the refresh to the outer one: one load per command.
int runningCommands = 0;

class Command
{
public:
    explicit Command(TForm1 &form)
        : m_form(form)
    {
        ++runningCommands;
    }
    ~Command() { --runningCommands; }
    Command(const Command &) = delete;
    Command &operator=(const Command &) = delete;

    void refresh()
    {
        if (runningCommands == 1)
            m_form.Rafraichir();
    }

private:
    TForm1 &m_form;
};

// The toolkit turns a clicked box over once its click handler is done. The
// handler puts the box in its final state itself (or leaves it as it was,
// when it fails), so this turns it the other way first.
class ClickedBox
{
public:
    explicit ClickedBox(platform::CheckBox *box)
        : m_box(box)
    {
    }
    ~ClickedBox() { m_box->setChecked(!m_box->isChecked()); }
    ClickedBox(const ClickedBox &) = delete;
    ClickedBox &operator=(const ClickedBox &) = delete;

private:
    platform::CheckBox *m_box;
};

// The current document's files, the teacher's corrections as the working
// folder holds them now, and the syllable colours of the box "à la suite".
layout::WorkingCopies workingCopies(const TForm1 &form)
{
    return {form.cheminW, form.Label3->text(), layout::loadCorrections(workspace::workingFolder(), form.Label3->text()),
            form.SyllabesSuite->isChecked() ? readingaids::SyllableColours::InARow
                                            : readingaids::SyllableColours::EachWord};
}

// The document lines, and a way to keep them when a command changed them.
class DocumentLines
{
public:
    explicit DocumentLines(const TForm1 &form)
        : m_memo(form.Memo1)
        , m_before(platform::linesOf(m_memo))
        , lines(m_before)
    {
    }
    void keep()
    {
        if (lines != m_before)
            m_memo->setPlainText(lines.join(u'\n'));
    }

private:
    QPlainTextEdit *m_memo;
    QStringList m_before;

public:
    QStringList lines;
};

void reportRestore(TForm1 &form, layout::Restored restored)
{
    if (restored == layout::Restored::NoBackup)
        platform::ShowMessage(&form, u"La copie de ce document sans aide est introuvable : le document "
                                     "reste tel qu'il est."_s);
}

void clickAid(TForm1 &form, AidBox box)
{
    Command command(form);
    ClickedBox clicked(form.boxOf(box));
    DocumentLines document(form);
    const layout::AidOutcome outcome = layout::clickAidBox(box, form.aidBoxes(), form.Css, workingCopies(form),
                                                           document.lines, form.Entendu->isChecked());
    document.keep();
    form.showAidBoxes(outcome.boxes);
    reportRestore(form, outcome.restored);
    if (outcome.soundTakenOff)
        form.oterSon();
    if (outcome.emptySound)
        form.Edit6->clear();
    command.refresh();
}

// A correction typed, and where it is kept.
struct TypedCut
{
    QString notation;
    layout::CorrectionFor scope = layout::CorrectionFor::AllStudents;
};

// The small dialog of a correction: the word as it is cut now, its
// corrections for this text and for all the students, and a field to type
// the right cut; nothing when the teacher gives up.
std::optional<TypedCut> askCut(QWidget *parent, const QString &word, const QString &shown, const QString &forText,
                               const QString &forAll)
{
    QDialog dialog(parent);
    dialog.setObjectName(u"correctionDialog"_s);
    dialog.setWindowTitle(u"Corriger la coupe de « %1 »"_s.arg(word));
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(u"Coupe actuelle : %1"_s.arg(shown), &dialog));
    const QString none = u"aucune"_s;
    layout->addWidget(new QLabel(u"Correction pour ce texte : %1"_s.arg(forText.isEmpty() ? none : forText), &dialog));
    layout->addWidget(
        new QLabel(u"Correction pour tous les élèves : %1"_s.arg(forAll.isEmpty() ? none : forAll), &dialog));
    auto *help = new QLabel(u"Tapez la coupe juste : « | » entre deux syllabes, les lettres muettes entre "
                            u"crochets, par exemple « o[i]|gnon ». Pour ce texte, elle ne change que ce texte "
                            u"et passe avant celle de tous les élèves."_s,
                            &dialog);
    help->setWordWrap(true);
    layout->addWidget(help);
    auto *field = new QLineEdit(shown, &dialog);
    field->setObjectName(u"correction"_s);
    layout->addWidget(field);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(u"Corriger pour tous les élèves"_s);
    buttons->button(QDialogButtonBox::Cancel)->setText(u"Annuler"_s);
    QPushButton *forThisText = buttons->addButton(u"Corriger pour ce texte"_s, QDialogButtonBox::ActionRole);
    forThisText->setObjectName(u"pourCeTexte"_s);
    TypedCut typed;
    QObject::connect(forThisText, &QPushButton::clicked, &dialog, [&typed, &dialog] {
        typed.scope = layout::CorrectionFor::ThisText;
        dialog.accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    typed.notation = field->text();
    return typed;
}

void changeBorder(TForm1 &form, readingaids::Border border)
{
    Command command(form);
    DocumentLines document(form);
    layout::changeBorder(border, form.borderBoxes(), form.aidBoxes(), form.Css, workingCopies(form), document.lines);
    document.keep();
    command.refresh();
}

} // namespace

void TForm1::CheckBox2Click()
{
    clickAid(*this, AidBox::SyllablesInColours);
}

void TForm1::CheckBox6Click()
{
    clickAid(*this, AidBox::SyllablesWithDashes);
}

void TForm1::CheckBox8Click()
{
    clickAid(*this, AidBox::SilentLetters);
}

void TForm1::CheckBox9Click()
{
    clickAid(*this, AidBox::SentencesInColours);
}

void TForm1::CheckBox3Change()
{
    Command command(*this);
    DocumentLines document(*this);
    layout::changeHighlight(CheckBox3->isChecked(), workingCopies(*this), document.lines);
    document.keep();
    command.refresh();
}

void TForm1::CheckBox4Change()
{
    changeBorder(*this, readingaids::Border::GreenRed);
}

void TForm1::CheckBox5Change()
{
    changeBorder(*this, readingaids::Border::Multicolor);
}

void TForm1::Edit6ChangeTraccking()
{
    Command command(*this);
    montrerEntendu();
    DocumentLines document(*this);
    const layout::AidOutcome outcome = layout::changeSound(Edit6->text(), aidBoxes(), Css, workingCopies(*this),
                                                           document.lines, Entendu->isChecked());
    document.keep();
    showAidBoxes(outcome.boxes);
    reportRestore(*this, outcome.restored);
    command.refresh();
}

void TForm1::SyllabesSuiteClick()
{
    Command command(*this);
    ClickedBox clicked(SyllabesSuite);
    DocumentLines document(*this);
    const bool inARow = !SyllabesSuite->isChecked();
    const std::optional<layout::AidOutcome> outcome = layout::changeSyllablesInARow(
        inARow, aidBoxes(), Css, workingCopies(*this), document.lines, Entendu->isChecked());
    document.keep();
    SyllabesSuite->setChecked(inARow);
    if (!outcome)
        return; // no syllables in colours: nothing shown changed
    showAidBoxes(outcome->boxes);
    command.refresh();
}

void TForm1::montrerMotsAVerifier()
{
    MotsAVerifier->clear();
    // Only the aids by ear read the words in their sentence and by espeak-ng.
    if (!Entendu->isEnabled() || !Entendu->isChecked())
        return;
    for (const readingaids::WordToCheck &word : layout::motsAVerifier(workingCopies(*this), platform::linesOf(Memo1))) {
        auto *item = new QListWidgetItem(word.word, MotsAVerifier);
        item->setData(Qt::UserRole, word.word);
        item->setToolTip(word.why);
    }
}

void TForm1::EntenduClick()
{
    Command command(*this);
    ClickedBox clicked(Entendu);
    DocumentLines document(*this);
    const bool byEar = !Entendu->isChecked();
    const std::optional<layout::AidOutcome> outcome =
        layout::changeEntendu(byEar, Edit6->text(), aidBoxes(), Css, workingCopies(*this), document.lines);
    document.keep();
    Entendu->setChecked(byEar);
    montrerEntendu();
    montrerMotsAVerifier();
    if (!outcome)
        return; // an empty field: nothing shown changed
    showAidBoxes(outcome->boxes);
    command.refresh();
}

void TForm1::corrigerMot(const QString &word)
{
    Command command(*this);
    const bool byEar = Entendu->isEnabled() && Entendu->isChecked();
    layout::WorkingCopies files = workingCopies(*this);
    const QString shown = readingaids::notationOf(word, readingaids::currentCut(word, byEar, files.corrections));
    const auto correctionIn = [&word](const readingaids::Corrections &corrections) {
        const readingaids::WordCut *cut = corrections.find(word);
        return cut != nullptr && cut->silent.size() == word.size() ? readingaids::notationOf(word, *cut) : QString();
    };
    const std::optional<TypedCut> typed = askCut(
        this, word, shown,
        correctionIn(readingaids::Corrections::read(readingaids::textCorrectionsPath(files.document))),
        correctionIn(layout::loadCorrections(workspace::workingFolder())));
    if (!typed)
        return;
    DocumentLines document(*this);
    const workspace::Result<std::optional<layout::AidOutcome>> outcome =
        layout::correctWordCut(workspace::workingFolder(), word, typed->notation, Edit6->text(), aidBoxes(), byEar,
                               Css, files, document.lines, typed->scope);
    if (!outcome) {
        platform::ShowMessage(this, outcome.reason());
        return;
    }
    document.keep();
    if (!outcome->has_value())
        return; // no word aid in force: the next one reads the correction
    showAidBoxes((*outcome)->boxes);
    command.refresh();
}

void TForm1::oterSon()
{
    // The view shows another aid: the field no longer names a marked sound,
    // and emptying it must not take that aid off.
    if (Edit6->text().isEmpty())
        return;
    {
        const QSignalBlocker quiet(Edit6);
        Edit6->clear();
    }
    montrerEntendu();
}

void TForm1::montrerBords()
{
    // The border boxes say what the document shows; a box whose border the
    // document does not have cannot show it.
    const QStringList lines = platform::linesOf(Memo1);
    const layout::BorderBoxes shown = layout::bordersShown(lines);
    const layout::BorderBoxes present = layout::borderLinesPresent(lines);
    const QSignalBlocker quietGreenRed(CheckBox4);
    const QSignalBlocker quietMulticolor(CheckBox5);
    CheckBox4->setChecked(shown.greenRed);
    CheckBox5->setChecked(shown.multicolor);
    CheckBox4->setEnabled(present.greenRed);
    CheckBox5->setEnabled(present.multicolor);
    const QString absent = u"Ce document n'a pas ce bord."_s;
    CheckBox4->setToolTip(present.greenRed ? QString() : absent);
    CheckBox5->setToolTip(present.multicolor ? QString() : absent);
}

void TForm1::montrerAide(const layout::Css &flags)
{
    const std::optional<layout::ShownAid> shown
        = layout::shownAid(workingCopies(*this), platform::linesOf(Memo1), flags, Entendu->isChecked());
    if (!shown)
        return;
    showAidBoxes(shown->boxes);
    const QSignalBlocker quietSound(Edit6);
    Edit6->setText(shown->sound);
    if (shown->byEar && Entendu->isEnabled()) {
        const QSignalBlocker quietEntendu(Entendu);
        Entendu->setChecked(*shown->byEar);
    }
    montrerEntendu();
}

void TForm1::montrerEntendu()
{
    LabelEntendu->setText(layout::entenduNote(m_entendu, Entendu->isChecked(), Edit6->text()));
}
