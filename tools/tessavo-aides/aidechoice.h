#pragma once

#include "readingaids/bodyaids.h"
#include "readingaids/frame.h"
#include "workspace/failure.h"

#include <QString>
#include <QStringList>

// The aid named on the command line, and what it does to lines.
namespace aides {

// A command line the tool cannot follow; its text says why, in French.
class UsageError : public workspace::Failure
{
public:
    using Failure::Failure;
};

struct AideChoice
{
    enum class Kind { Body, Highlight, Border };
    Kind kind = Kind::Body;
    readingaids::BodyAid body = readingaids::BodyAid::Couleurs;
    QString sound;            // for son=TEXTE and son-entendu=TEXTE
    bool highlighted = false; // for surlignement=oui
    readingaids::Border border = readingaids::Border::GreenRed;
    readingaids::Corrections corrections; // the teacher's (--corrections), for the syllables and silent letters
};

// "couleurs", "tirets", "muettes", "couleurs-entendues", "tirets-entendus",
// "muettes-entendues", "son=TEXTE", "son-entendu=TEXTE"; with wholeDocument also
// "phrases", "surlignement=oui|non", "bord-vert-rouge", "bord-multicolor".
// Raises UsageError for any other name.
AideChoice parseAide(const QString &name, bool wholeDocument);

// The output lines of body lines (the aids that treat lines one by one).
QStringList treatLines(const AideChoice &aide, const QStringList &lines);

// The document lines as the aid rewrites them; raises
// readingaids::DocumentRefused for a body aid on a document without markers.
QStringList transformDocument(const AideChoice &aide, const QStringList &lines);

// The same lines handed to sink one by one as they are made; a refused
// document raises before any line reaches the sink.
void transformDocument(const AideChoice &aide, const QStringList &lines,
                       const std::function<void(QStringView line)> &sink);

} // namespace aides
