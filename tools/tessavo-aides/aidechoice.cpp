#include "aidechoice.h"

#include "readingaids/entendu.h"

#include <optional>

using namespace Qt::StringLiterals;
using readingaids::BodyAid;

namespace aides {

namespace {

AideChoice bodyAid(BodyAid aid, const QString &sound = {})
{
    AideChoice choice;
    choice.body = aid;
    choice.sound = sound;
    return choice;
}

AideChoice frameAid(AideChoice::Kind kind, bool highlighted, readingaids::Border border)
{
    AideChoice choice;
    choice.kind = kind;
    choice.highlighted = highlighted;
    choice.border = border;
    return choice;
}

// The aids that rewrite the whole document rather than its lines one by one.
std::optional<AideChoice> documentOnlyAide(const QString &name)
{
    using Kind = AideChoice::Kind;
    if (name == u"phrases")
        return bodyAid(BodyAid::Phrases);
    if (name == u"surlignement=oui" || name == u"surlignement=non")
        return frameAid(Kind::Highlight, name.endsWith(u"oui"), readingaids::Border::GreenRed);
    if (name == u"bord-vert-rouge")
        return frameAid(Kind::Border, false, readingaids::Border::GreenRed);
    if (name == u"bord-multicolor")
        return frameAid(Kind::Border, false, readingaids::Border::Multicolor);
    return std::nullopt;
}

} // namespace

AideChoice parseAide(const QString &name, bool wholeDocument)
{
    if (name == u"couleurs")
        return bodyAid(BodyAid::Couleurs);
    if (name == u"tirets")
        return bodyAid(BodyAid::Tirets);
    if (name == u"muettes")
        return bodyAid(BodyAid::Muettes);
    if (name == u"couleurs-entendues")
        return bodyAid(BodyAid::CouleursEntendu);
    if (name == u"tirets-entendus")
        return bodyAid(BodyAid::TiretsEntendu);
    if (name == u"muettes-entendues")
        return bodyAid(BodyAid::MuettesEntendu);
    if (name.startsWith(u"son="))
        return bodyAid(BodyAid::Son, name.sliced(4));
    if (name.startsWith(u"son-entendu="))
        return bodyAid(BodyAid::SonEntendu, name.sliced(12));
    if (const std::optional<AideChoice> choice = documentOnlyAide(name)) {
        if (wholeDocument)
            return *choice;
        throw UsageError(u"L'aide « %1 » transforme un document entier : utilisez la commande document."_s.arg(name));
    }
    throw UsageError(u"Aide inconnue : « %1 ». Tapez tessavo-aides --help pour la liste des aides."_s.arg(name));
}

QStringList treatLines(const AideChoice &aide, const QStringList &lines)
{
    Q_ASSERT(aide.kind == AideChoice::Kind::Body && aide.body != BodyAid::Phrases);
    // By ear, the lines together are the document whose words are read once.
    if (aide.body == BodyAid::SonEntendu)
        return readingaids::entenduBodyLines(lines, aide.sound);
    QStringList out;
    out.reserve(lines.size());
    for (const QString &line : lines)
        out.append(readingaids::treatBodyLine(aide.body, line, aide.sound, aide.corrections));
    return out;
}

QStringList transformDocument(const AideChoice &aide, const QStringList &lines)
{
    switch (aide.kind) {
    case AideChoice::Kind::Body:
        return readingaids::writeBodyAid(lines, aide.body, aide.sound, aide.corrections);
    case AideChoice::Kind::Highlight:
        return readingaids::highlightLines(lines, aide.highlighted);
    case AideChoice::Kind::Border:
        return readingaids::flipBorders(lines, aide.border);
    }
    return lines;
}

void transformDocument(const AideChoice &aide, const QStringList &lines,
                       const std::function<void(QStringView line)> &sink)
{
    if (aide.kind == AideChoice::Kind::Body) {
        readingaids::writeBodyAid(lines, aide.body, aide.sound, sink, aide.corrections);
        return;
    }
    for (const QString &line : transformDocument(aide, lines))
        sink(line);
}

} // namespace aides
