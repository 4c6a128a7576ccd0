#include "frenchtext.h"

#include "readingaids/document.h"

using namespace Qt::StringLiterals;

namespace benchtext {

namespace {

// Sentences of a reading lesson, with the accents, apostrophes, hyphens,
// guillemets and punctuation that a teacher's text holds.
const QStringList sentences = {
    u"Ce matin, Léa se lève de bonne heure : c'est le jour de la sortie au bord de la mer."_s,
    u"Elle prépare son sac à dos, sa gourde et un gâteau au chocolat."_s,
    u"« Tu n'oublies pas ton chapeau ? » demande sa maman depuis la cuisine."_s,
    u"Le car attend devant l'école ; tous les élèves sont déjà là."_s,
    u"Le maître compte les enfants deux fois, puis le chauffeur démarre."_s,
    u"Par la fenêtre, Léa regarde défiler les champs, les vaches et les petits villages."_s,
    u"Au bout d'une heure, on aperçoit enfin la plage et les bateaux de pêche."_s,
    u"Les enfants courent sur le sable mouillé en riant très fort !"_s,
    u"Tom ramasse des coquillages, Nina construit un château avec des tours pointues."_s,
    u"Une mouette s'approche du pique-nique et vole un morceau de pain…"_s,
    u"« Reviens ici, voleuse ! » crie Tom en agitant les bras."_s,
    u"L'après-midi, la classe visite le phare ; il faut monter cent vingt marches."_s,
    u"Du sommet, on voit très loin : les îles, les rochers et l'horizon bleu."_s,
    u"Le gardien raconte qu'autrefois, il allumait la lampe chaque soir à la main."_s,
    u"Quand le vent souffle fort, les vagues frappent les rochers avec un bruit de tonnerre."_s,
    u"Avant de repartir, chacun écrit une carte postale pour sa famille."_s,
    u"Dans le car du retour, plusieurs enfants s'endorment, fatigués mais heureux."_s,
    u"Le soir, Léa raconte sa journée à son petit frère, qui l'écoute sans rien dire."_s,
    u"Puis elle range ses coquillages dans une boîte en fer, près de son lit."_s,
    u"Demain, elle dessinera le phare et la mouette pour l'afficher dans la classe."_s,
};

// One or two sentences a line, as a pasted text gives them.
QString textLine(qsizetype k)
{
    QString line = sentences[k % sentences.size()];
    if (k % 3 == 0)
        line += u' ' + sentences[(k * 7 + 3) % sentences.size()];
    return line;
}

} // namespace

QStringList textLines(qsizetype minimumWords, qsizetype minimumCharacters)
{
    QStringList lines;
    qsizetype words = 0;
    qsizetype characters = 0;
    for (qsizetype k = 0; (minimumWords < 0 || words < minimumWords)
                          && (minimumCharacters < 0 || characters < minimumCharacters);
         ++k) {
        lines.append(textLine(k));
        words += lines.last().split(u' ', Qt::SkipEmptyParts).size();
        characters += lines.last().size();
    }
    return lines;
}

QStringList readingDocument(qsizetype bodyCharacters)
{
    QStringList document = {u"<html>"_s, u"<head>"_s, u"\t<link rel=\"stylesheet\" href=\"style.css\">"_s,
                            u"</head>"_s, u"<body>"_s, u"\t<!--BORD 1-->"_s,
                            u"\t\t\t<p> <span style=\"background-color:#ffffff;\" >"_s, u"<!--DEBUT-->"_s,
                            u"<img src=\"mer.jpg\"  width=\"70\" height= \"70\">"_s};
    qsizetype size = 0;
    for (qsizetype k = 0; size < bodyCharacters; ++k) {
        const QString line = textLine(k) + u"<br>"_s;
        size += line.size();
        document.append(line);
    }
    document += {u"<!--FIN-->"_s, u"</span></p>"_s, u"\t<!--BORD 4-->"_s, u"</body>"_s, u"</html>"_s};
    return document;
}

qsizetype bodySize(const QStringList &document)
{
    const readingaids::Regions regions = readingaids::findRegions(document);
    qsizetype size = 0;
    for (qsizetype i = regions.logo + 1; i < regions.endMarker; ++i)
        size += document[i].size();
    return size;
}

} // namespace benchtext
