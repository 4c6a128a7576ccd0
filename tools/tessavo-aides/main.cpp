// tessavo-aides: the reading aids from the command line, for batch work and
// scripts. Every message is French, like the program's.

#include "aidechoice.h"

#include "readingaids/corrections.h"
#include "readingaids/document.h"
#include "readingaids/entendu.h"
#include "readingaids/incontext.h"
#include "readingaids/silentbyear.h"
#include "readingaids/speech.h"
#include "readingaids/syllabify.h"
#include "readingaids/writtenbyear.h"
#include "workspace/ioerror.h"
#include "workspace/textfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr int refused = 2;

const QString help = uR"(Usage : tessavo-aides [--corrections FICHIER] COMMANDE ...

Les aides à la lecture de Tessavo, en ligne de commande.

Commandes :
  tessavo-aides syllabes
      Lit des mots sur l'entrée standard (UTF-8), un par ligne, et écrit
      pour chacun ses syllabes séparées par « | » (papa -> pa|pa).

  tessavo-aides sons
      Lit des mots sur l'entrée standard (UTF-8), un par ligne, et écrit
      pour chacun ses graphèmes et les phonèmes de chacun, d'après la
      prononciation française de espeak-ng (bonbon -> b|on|b|on → b|ɔ̃|b|ɔ̃,
      « ∅ » pour une lettre muette), ou « ? » quand les lettres du mot ne
      s'accordent pas à sa prononciation.

  tessavo-aides syllabes-entendues
      Lit des mots sur l'entrée standard (UTF-8), un par ligne, et écrit
      pour chacun ses syllabes écrites d'après sa prononciation, séparées
      par « | » (bateau -> ba|teau, petite -> pe|ti|te) ; un mot que
      espeak-ng ne sait pas lire est coupé d'après ses lettres.

  tessavo-aides muettes-entendues
      Lit des mots sur l'entrée standard (UTF-8), un par ligne, et écrit
      chacun avec ses lettres muettes entre crochets (chantent ->
      chant[ent], hiver -> [h]iver, petite -> petit[e]).

  tessavo-aides ligne AIDE
      Lit des lignes de texte d'un document de lecture sur l'entrée standard
      (UTF-8) et écrit la ligne transformée de chacune.
      AIDE : couleurs, tirets, muettes, couleurs-entendues, tirets-entendus,
      muettes-entendues, son=TEXTE ou son-entendu=TEXTE.

  tessavo-aides document AIDE ENTREE [SORTIE]
      Lit le document de lecture ENTREE (Windows-1252) et écrit le document
      transformé (Windows-1252, fins de ligne CR LF) dans SORTIE, ou sur la
      sortie standard sans SORTIE.
      AIDE : celles de la commande ligne, phrases,
      surlignement=oui, surlignement=non, bord-vert-rouge, bord-multicolor.

  tessavo-aides lecture ENTREE DOSSIER [--vitesse lente|normale]
      Lit le document de lecture ENTREE (Windows-1252) à voix haute avec la
      voix française de espeak-ng et écrit dans DOSSIER exactement les
      fichiers de lecture que la diffusion envoie pour ce document : le son
      (NOM.mp3) et les mots minutés (NOM.vtt, WebVTT, un repère par mot du
      texte, écrit comme dans le texte), NOM étant le nom de ENTREE sans son
      extension. Vitesse « normale » sans --vitesse.

  tessavo-aides mots-a-verifier DOCUMENT
      Lit le document de lecture DOCUMENT (Windows-1252) et écrit, un par
      ligne, les mots de son texte que la phrase fait lire (ils couvent, le
      fils, tu as...) et ceux que espeak-ng ne sait pas lire : le numéro de
      la ligne du texte, le mot et la raison, séparés par une tabulation.

  Avec les aides « -entendues » et « son-entendu », la commande ligne lit
  chaque ligne comme des phrases : « Les poules couvent. » -> couv[ent].

Aides :
  couleurs          syllabes en couleurs
  tirets            syllabes séparées par des tirets
  muettes           lettres muettes mises à part
  couleurs-entendues  syllabes en couleurs, coupées d'après la prononciation
  tirets-entendus     syllabes séparées par des tirets, d'après la prononciation
  muettes-entendues   les lettres que l'on n'entend pas, en gris
  son=TEXTE         le son TEXTE en gras rouge (exactement comme tapé)
  son-entendu=TEXTE le son que nomme TEXTE (on, ou, ch, s...) en gras rouge,
                    là où on l'entend : les graphèmes qui le disent, d'après
                    la prononciation de chaque mot ; un TEXTE qui ne nomme
                    aucun son, ou un mot que espeak-ng ne sait pas lire,
                    est cherché lettre pour lettre comme avec son=TEXTE
  phrases           phrases en couleurs
  surlignement=oui  fond jaune clair (non : fond blanc)
  bord-vert-rouge   ajoute ou retire les bords vert et rouge
  bord-multicolor   ajoute ou retire les bords multicolores

Option :
  --corrections FICHIER
      Les corrections de l'enseignant (le fichier corrections-mots.txt du
      dossier de travail, UTF-8, un mot par ligne : « o[i]|gnon ») valent
      pour toutes les aides, à l'oreille ou non.

En cas d'aide inconnue, de fichier illisible, de document refusé (sans
repère <!--DEBUT--> ou sans repère <!--FIN--> après la ligne du logo) ou,
pour la lecture, sans la voix française de espeak-ng, un message est écrit
sur la sortie d'erreur, le code de sortie est 2 et aucun fichier de sortie
n'est créé ni modifié.
)"_s;

void write(FILE *stream, const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

// The lines of the standard input, read as UTF-8; a last line end adds no line.
QStringList readInputLines()
{
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        throw aides::UsageError(u"L'entrée standard ne peut pas être lue."_s);
    QString text = QString::fromUtf8(input.readAll());
    text.replace(u"\r\n"_s, u"\n"_s);
    QStringList lines = text.split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

void writeOutputLines(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toUtf8() + '\n';
    write(stdout, bytes);
}

void expectArguments(const QStringList &arguments, qsizetype least, qsizetype most)
{
    if (arguments.size() < least || arguments.size() > most)
        throw aides::UsageError(u"Arguments incorrects pour la commande « %1 ». Tapez tessavo-aides --help."_s
                                    .arg(arguments.first()));
}

void runSyllabes(const QStringList &arguments)
{
    expectArguments(arguments, 1, 1);
    QStringList out;
    for (const QString &word : readInputLines())
        out.append(readingaids::Syllabify(word).join(u'|'));
    writeOutputLines(out);
}

void runSons(const QStringList &arguments)
{
    expectArguments(arguments, 1, 1);
    const workspace::Result<void> availability = readingaids::entenduAvailability();
    if (!availability)
        throw aides::UsageError(availability.reason());
    QStringList words = readInputLines();
    for (QString &word : words)
        word = word.trimmed();
    readingaids::EarWords read(readingaids::Pronouncer::process());
    read.prepareBody(words);
    QStringList out;
    for (const QString &word : words) {
        const readingaids::EarWord *reading = read.find(word);
        if (word.isEmpty())
            out.append(word);
        else
            out.append(reading ? readingaids::showReading(word, *reading) : word + u" → ?"_s);
    }
    writeOutputLines(out);
}

void requireEspeak()
{
    const workspace::Result<void> availability = readingaids::entenduAvailability();
    if (!availability)
        throw aides::UsageError(availability.reason());
}

// Each word by ear (or as corrected): its syllables joined by "|", or its
// silent letters in brackets.
void runEntendus(const QStringList &arguments, bool syllables, const readingaids::Corrections &corrections)
{
    expectArguments(arguments, 1, 1);
    requireEspeak();
    QStringList out;
    for (const QString &line : readInputLines()) {
        const QString word = line.trimmed();
        if (word.isEmpty()) {
            out.append(word);
            continue;
        }
        const readingaids::WordCut cut = readingaids::currentCut(word, true, corrections);
        if (!syllables) {
            out.append(readingaids::bracketSilent(word, cut.silent));
            continue;
        }
        QStringList parts;
        qsizetype begin = 0;
        for (const qsizetype start : cut.starts) {
            parts.append(word.mid(begin, start - begin));
            begin = start;
        }
        parts.append(word.mid(begin));
        out.append(parts.join(u'|'));
    }
    writeOutputLines(out);
}

void runLigne(const QStringList &arguments, const readingaids::Corrections &corrections)
{
    expectArguments(arguments, 2, 2);
    aides::AideChoice aide = aides::parseAide(arguments[1], false);
    aide.corrections = corrections;
    writeOutputLines(aides::treatLines(aide, readInputLines()));
}

// The output lines are written as they are made. A refused document is
// refused before the output is opened, and a file output replaces the old
// file only once it is complete, so a refusal or a failure leaves no output
// file behind and an existing one whole.
void runDocument(const QStringList &arguments, const readingaids::Corrections &corrections)
{
    expectArguments(arguments, 3, 4);
    aides::AideChoice aide = aides::parseAide(arguments[1], true);
    aide.corrections = corrections;
    const QStringList lines = workspace::readLines(arguments[2]);
    if (aide.kind == aides::AideChoice::Kind::Body)
        readingaids::findRegions(lines);
    if (arguments.size() == 3) {
        QFile output;
        if (!output.open(stdout, QIODevice::WriteOnly))
            throw workspace::IoError::cannotWrite(u"<sortie standard>"_s);
        workspace::LineWriter writer(output, u"<sortie standard>"_s);
        aides::transformDocument(aide, lines, [&writer](QStringView line) { writer.write(line); });
        writer.flush();
        return;
    }
    workspace::writeLinesAsMade(arguments[3], [&](workspace::LineWriter &writer) {
        aides::transformDocument(aide, lines, [&writer](QStringView line) { writer.write(line); });
    });
}

// The words of a document to check, one a line: the body line's number (from
// 1), the word and why.
void runMotsAVerifier(const QStringList &arguments)
{
    expectArguments(arguments, 2, 2);
    const QStringList lines = workspace::readLines(arguments[1]);
    const readingaids::Regions regions = readingaids::findRegions(lines);
    const QStringList body = lines.sliced(regions.logo + 1, regions.endMarker - regions.logo - 1);
    QStringList out;
    for (const readingaids::WordToCheck &word : readingaids::wordsToCheck(body))
        out.append(u"%1\t%2\t%3"_s.arg(word.line + 1).arg(word.word, word.why));
    writeOutputLines(out);
}

// The reading files of a document, written only once both are made.
void runLecture(QStringList arguments)
{
    readingaids::SpeechSpeed speed = readingaids::SpeechSpeed::Normale;
    const qsizetype option = arguments.indexOf(u"--vitesse"_s);
    if (option > 0) {
        if (option + 1 >= arguments.size())
            throw aides::UsageError(u"Vitesse manquante après --vitesse (lente ou normale)."_s);
        const QString value = arguments[option + 1];
        if (value == u"lente")
            speed = readingaids::SpeechSpeed::Lente;
        else if (value != u"normale")
            throw aides::UsageError(u"Vitesse inconnue : « %1 » (lente ou normale)."_s.arg(value));
        arguments.remove(option, 2);
    }
    expectArguments(arguments, 3, 3);
    const QStringList lines = workspace::readLines(arguments[1]);
    readingaids::findRegions(lines);
    const QDir folder(arguments[2]);
    if (!folder.exists())
        throw aides::UsageError(u"Le dossier « %1 » est introuvable."_s.arg(arguments[2]));
    const QList<QByteArray> files = readingaids::readingFiles(readingaids::Pronouncer::process(), lines, speed);
    const QStringList names = readingaids::readingFileNames(QFileInfo(arguments[1]).fileName());
    for (qsizetype i = 0; i < names.size(); ++i)
        workspace::writeBytes(folder.filePath(names[i]), files[i]);
}

int run(QStringList arguments)
{
    readingaids::Corrections corrections;
    if (arguments.size() >= 2 && arguments.first() == u"--corrections") {
        corrections = readingaids::Corrections::read(arguments[1]);
        if (!QFile::exists(arguments[1]))
            throw aides::UsageError(u"Le fichier de corrections « %1 » est introuvable."_s.arg(arguments[1]));
        arguments = arguments.sliced(2);
    }
    if (arguments.isEmpty() || arguments.first() == u"--help" || arguments.first() == u"-h") {
        write(arguments.isEmpty() ? stderr : stdout, help.toUtf8());
        return arguments.isEmpty() ? refused : 0;
    }
    const QString &command = arguments.first();
    if (command == u"syllabes")
        runSyllabes(arguments);
    else if (command == u"sons")
        runSons(arguments);
    else if (command == u"syllabes-entendues")
        runEntendus(arguments, true, corrections);
    else if (command == u"muettes-entendues")
        runEntendus(arguments, false, corrections);
    else if (command == u"ligne")
        runLigne(arguments, corrections);
    else if (command == u"mots-a-verifier")
        runMotsAVerifier(arguments);
    else if (command == u"document")
        runDocument(arguments, corrections);
    else if (command == u"lecture")
        runLecture(arguments);
    else
        throw aides::UsageError(u"Commande inconnue : « %1 ». Tapez tessavo-aides --help."_s.arg(command));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    try {
        return run(application.arguments().sliced(1));
    } catch (const workspace::Failure &failure) {
        write(stderr, u"tessavo-aides : %1\n"_s.arg(failure.message()).toUtf8());
        return refused;
    }
}
