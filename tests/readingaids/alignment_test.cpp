#include "readingaids/alignment.h"
#include "readingaids/phonemes.h"

#include "visible.h"

#include <gtest/gtest.h>

#include <set>

using namespace Qt::StringLiterals;
using namespace readingaids;

namespace {

// The cut as letters joined by "|". ("bonbon", graphemes) -> "b|on|b|on"
QString cutOf(const QString &word, const QList<Grapheme> &graphemes)
{
    QStringList letters;
    for (const Grapheme &grapheme : graphemes)
        letters.append(word.sliced(grapheme.start, grapheme.length));
    return letters.join(u'|');
}

struct AlignmentCase
{
    QString word;
    QString ipa;      // the phonemes, as a French dictionary writes them
    QString expected; // the cut
};

// One word at least for each correspondence of the table: the cut that the
// alignment takes, and, all together, every row of the table taken once at
// least.
TEST(Alignment, CutsAWordForEachCorrespondenceOfTheTable)
{
    const AlignmentCase cases[] = {
        {u"papa"_s, u"papa"_s, u"p|a|p|a"_s},
        {u"crayon"_s, u"kʁɛjɔ̃"_s, u"c|r|a|y|on"_s},
        {u"payer"_s, u"peje"_s, u"p|a|y|er"_s},
        {u"tramway"_s, u"tʁamwɛ"_s, u"t|r|a|m|w|ay"_s},
        {u"voilà"_s, u"vwala"_s, u"v|oi|l|à"_s},
        {u"pâte"_s, u"pat"_s, u"p|â|t|e"_s},
        {u"lait"_s, u"lɛ"_s, u"l|ai|t"_s},
        {u"gai"_s, u"ɡe"_s, u"g|ai"_s},
        {u"faisons"_s, u"fəzɔ̃"_s, u"f|ai|s|on|s"_s},
        {u"maître"_s, u"mɛtʁ"_s, u"m|aî|t|r|e"_s},
        {u"faim"_s, u"fɛ̃"_s, u"f|aim"_s},
        {u"pain"_s, u"pɛ̃"_s, u"p|ain"_s},
        {u"lampe"_s, u"lɑ̃p"_s, u"l|am|p|e"_s},
        {u"maman"_s, u"mamɑ̃"_s, u"m|a|m|an"_s},
        {u"caen"_s, u"kɑ̃"_s, u"c|aen"_s},
        {u"paon"_s, u"pɑ̃"_s, u"p|aon"_s},
        {u"saoul"_s, u"su"_s, u"s|aou|l"_s},
        {u"août"_s, u"ut"_s, u"aoû|t"_s},
        {u"auto"_s, u"oto"_s, u"au|t|o"_s},
        {u"brontosaure"_s, u"bʁɔ̃tɔzɔʁ"_s, u"b|r|on|t|o|s|au|r|e"_s},
        {u"cæcum"_s, u"sekɔm"_s, u"c|æ|c|u|m"_s},
        {u"le"_s, u"lə"_s, u"l|e"_s},
        {u"mer"_s, u"mɛʁ"_s, u"m|e|r"_s},
        {u"pied"_s, u"pje"_s, u"p|i|e|d"_s},
        {u"porte"_s, u"pɔʁt"_s, u"p|o|r|t|e"_s},
        {u"femme"_s, u"fam"_s, u"f|e|mm|e"_s},
        {u"cracker"_s, u"kʁakœʁ"_s, u"c|r|a|ck|e|r"_s},
        {u"été"_s, u"ete"_s, u"é|t|é"_s},
        {u"événement"_s, u"evɛnmɑ̃"_s, u"é|v|é|n|e|m|en|t"_s},
        {u"père"_s, u"pɛʁ"_s, u"p|è|r|e"_s},
        {u"fête"_s, u"fɛt"_s, u"f|ê|t|e"_s},
        {u"bêta"_s, u"beta"_s, u"b|ê|t|a"_s},
        {u"noël"_s, u"nɔɛl"_s, u"n|o|ë|l"_s},
        {u"ambiguë"_s, u"ɑ̃biɡy"_s, u"am|b|i|g|u|ë"_s},
        {u"bateau"_s, u"bato"_s, u"b|a|t|eau"_s},
        {u"neige"_s, u"nɛʒ"_s, u"n|ei|g|e"_s},
        {u"peiner"_s, u"pene"_s, u"p|ei|n|er"_s},
        {u"reître"_s, u"ʁɛtʁ"_s, u"r|eî|t|r|e"_s},
        {u"reims"_s, u"ʁɛ̃s"_s, u"r|eim|s"_s},
        {u"plein"_s, u"plɛ̃"_s, u"p|l|ein"_s},
        {u"temps"_s, u"tɑ̃"_s, u"t|em|p|s"_s},
        {u"sempiternel"_s, u"sɛ̃pitɛʁnɛl"_s, u"s|em|p|i|t|e|r|n|e|l"_s},
        {u"vent"_s, u"vɑ̃"_s, u"v|en|t"_s},
        {u"chien"_s, u"ʃjɛ̃"_s, u"ch|i|en"_s},
        {u"enivrer"_s, u"ɑ̃nivʁe"_s, u"en|i|v|r|er"_s},
        {u"parlent"_s, u"paʁl"_s, u"p|a|r|l|ent"_s},
        {u"manger"_s, u"mɑ̃ʒe"_s, u"m|an|g|er"_s},
        {u"les"_s, u"le"_s, u"l|es"_s},
        {u"est"_s, u"ɛ"_s, u"es|t"_s},
        {u"poulet"_s, u"pulɛ"_s, u"p|ou|l|et"_s},
        {u"et"_s, u"e"_s, u"et"_s},
        {u"feu"_s, u"fø"_s, u"f|eu"_s},
        {u"peur"_s, u"pœʁ"_s, u"p|eu|r"_s},
        {u"eu"_s, u"y"_s, u"eu"_s},
        {u"jeûne"_s, u"ʒøn"_s, u"j|eû|n|e"_s},
        {u"eût"_s, u"y"_s, u"eû|t"_s},
        {u"jockey"_s, u"ʒɔkɛ"_s, u"j|o|ck|ey"_s},
        {u"nez"_s, u"ne"_s, u"n|ez"_s},
        {u"ami"_s, u"ami"_s, u"a|m|i"_s},
        {u"iceberg"_s, u"ajsbɛʁɡ"_s, u"i|c|e|b|e|r|g"_s},
        {u"flirt"_s, u"flœʁt"_s, u"f|l|i|r|t"_s},
        {u"île"_s, u"il"_s, u"î|l|e"_s},
        {u"naïf"_s, u"naif"_s, u"n|a|ï|f"_s},
        {u"aïeul"_s, u"ajœl"_s, u"a|ï|eu|l"_s},
        {u"vînt"_s, u"vɛ̃"_s, u"v|în|t"_s},
        {u"coïncider"_s, u"kɔɛ̃side"_s, u"c|o|ïn|c|i|d|er"_s},
        {u"travail"_s, u"tʁavaj"_s, u"t|r|a|v|a|il"_s},
        {u"paille"_s, u"paj"_s, u"p|a|ill|e"_s},
        {u"fille"_s, u"fij"_s, u"f|ill|e"_s},
        {u"timbre"_s, u"tɛ̃bʁ"_s, u"t|im|b|r|e"_s},
        {u"lapin"_s, u"lapɛ̃"_s, u"l|a|p|in"_s},
        {u"stylo"_s, u"stilo"_s, u"s|t|y|l|o"_s},
        {u"yeux"_s, u"jø"_s, u"y|eu|x"_s},
        {u"tuyau"_s, u"tɥijo"_s, u"t|u|y|au"_s},
        {u"thym"_s, u"tɛ̃"_s, u"th|ym"_s},
        {u"syndicat"_s, u"sɛ̃dika"_s, u"s|yn|d|i|c|a|t"_s},
        {u"vélo"_s, u"velo"_s, u"v|é|l|o"_s},
        {u"voyage"_s, u"vwajaʒ"_s, u"v|o|y|a|g|e"_s},
        {u"rôti"_s, u"ʁoti"_s, u"r|ô|t|i"_s},
        {u"moelle"_s, u"mwal"_s, u"m|oe|ll|e"_s},
        {u"poêle"_s, u"pwal"_s, u"p|oê|l|e"_s},
        {u"œil"_s, u"œj"_s, u"œ|il"_s},
        {u"œsophage"_s, u"ezɔfaʒ"_s, u"œ|s|o|ph|a|g|e"_s},
        {u"œdème"_s, u"ødɛm"_s, u"œ|d|è|m|e"_s},
        {u"vœu"_s, u"vø"_s, u"v|œu"_s},
        {u"sœur"_s, u"sœʁ"_s, u"s|œu|r"_s},
        {u"oeil"_s, u"œj"_s, u"oe|il"_s},
        {u"oesophage"_s, u"ezɔfaʒ"_s, u"oe|s|o|ph|a|g|e"_s},
        {u"oedème"_s, u"ødɛm"_s, u"oe|d|è|m|e"_s},
        {u"noeud"_s, u"nø"_s, u"n|oeu|d"_s},
        {u"coeur"_s, u"kœʁ"_s, u"c|oeu|r"_s},
        {u"roi"_s, u"ʁwa"_s, u"r|oi"_s},
        {u"boîte"_s, u"bwat"_s, u"b|oî|t|e"_s},
        {u"oignon"_s, u"onjɔ̃"_s, u"oi|gn|on"_s},
        {u"loin"_s, u"lwɛ̃"_s, u"l|oin"_s},
        {u"nom"_s, u"nɔ̃"_s, u"n|om"_s},
        {u"bonbon"_s, u"bɔ̃bɔ̃"_s, u"b|on|b|on"_s},
        {u"monsieur"_s, u"məsjø"_s, u"m|on|s|i|eu|r"_s},
        {u"zoom"_s, u"zum"_s, u"z|oo|m"_s},
        {u"zoo"_s, u"zo"_s, u"z|oo"_s},
        {u"alcool"_s, u"alkɔl"_s, u"a|l|c|oo|l"_s},
        {u"loup"_s, u"lu"_s, u"l|ou|p"_s},
        {u"oui"_s, u"wi"_s, u"ou|i"_s},
        {u"où"_s, u"u"_s, u"où"_s},
        {u"goût"_s, u"ɡu"_s, u"g|oû|t"_s},
        {u"lune"_s, u"lyn"_s, u"l|u|n|e"_s},
        {u"album"_s, u"albɔm"_s, u"a|l|b|u|m"_s},
        {u"adéquat"_s, u"adekwa"_s, u"a|d|é|q|u|a|t"_s},
        {u"haïku"_s, u"aiku"_s, u"h|a|ï|k|u"_s},
        {u"bluff"_s, u"blœf"_s, u"b|l|u|ff"_s},
        {u"mûr"_s, u"myʁ"_s, u"m|û|r"_s},
        {u"aigüe"_s, u"eɡy"_s, u"ai|g|ü|e"_s},
        {u"accueil"_s, u"akœj"_s, u"a|cc|ue|il"_s},
        {u"parfum"_s, u"paʁfœ̃"_s, u"p|a|r|f|um"_s},
        {u"humble"_s, u"ɛ̃bl"_s, u"h|um|b|l|e"_s},
        {u"brun"_s, u"bʁœ̃"_s, u"b|r|un"_s},
        {u"lundi"_s, u"lɛ̃di"_s, u"l|un|d|i"_s},
        {u"bébé"_s, u"bebe"_s, u"b|é|b|é"_s},
        {u"absent"_s, u"apsɑ̃"_s, u"a|b|s|en|t"_s},
        {u"plomb"_s, u"plɔ̃"_s, u"p|l|om|b"_s},
        {u"abbé"_s, u"abe"_s, u"a|bb|é"_s},
        {u"car"_s, u"kaʁ"_s, u"c|a|r"_s},
        {u"ceci"_s, u"səsi"_s, u"c|e|c|i"_s},
        {u"second"_s, u"səɡɔ̃"_s, u"s|e|c|on|d"_s},
        {u"blanc"_s, u"blɑ̃"_s, u"b|l|an|c"_s},
        {u"accord"_s, u"akɔʁ"_s, u"a|cc|o|r|d"_s},
        {u"leçon"_s, u"ləsɔ̃"_s, u"l|e|ç|on"_s},
        {u"chat"_s, u"ʃa"_s, u"ch|a|t"_s},
        {u"chœur"_s, u"kœʁ"_s, u"ch|œu|r"_s},
        {u"sandwich"_s, u"sɑ̃dwitʃ"_s, u"s|an|d|w|i|ch"_s},
        {u"bacchanale"_s, u"bakanal"_s, u"b|a|cch|a|n|a|l|e"_s},
        {u"acquérir"_s, u"akeʁiʁ"_s, u"a|cqu|é|r|i|r"_s},
        {u"dame"_s, u"dam"_s, u"d|a|m|e"_s},
        {u"froid"_s, u"fʁwa"_s, u"f|r|oi|d"_s},
        {u"addition"_s, u"adisjɔ̃"_s, u"a|dd|i|t|i|on"_s},
        {u"fée"_s, u"fe"_s, u"f|é|e"_s},
        {u"clef"_s, u"kle"_s, u"c|l|e|f"_s},
        {u"effort"_s, u"efɔʁ"_s, u"e|ff|o|r|t"_s},
        {u"gare"_s, u"ɡaʁ"_s, u"g|a|r|e"_s},
        {u"girafe"_s, u"ʒiʁaf"_s, u"g|i|r|a|f|e"_s},
        {u"long"_s, u"lɔ̃"_s, u"l|on|g"_s},
        {u"agglomérer"_s, u"aɡlɔmeʁe"_s, u"a|gg|l|o|m|é|r|er"_s},
        {u"pigeon"_s, u"piʒɔ̃"_s, u"p|i|ge|on"_s},
        {u"guerre"_s, u"ɡɛʁ"_s, u"gu|e|rr|e"_s},
        {u"montagne"_s, u"mɔ̃taɲ"_s, u"m|on|t|a|gn|e"_s},
        {u"agneau"_s, u"anjo"_s, u"a|gn|eau"_s},
        {u"baignions"_s, u"bɛɲɔ̃"_s, u"b|ai|gni|on|s"_s},
        {u"hibou"_s, u"ibu"_s, u"h|i|b|ou"_s},
        {u"jupe"_s, u"ʒyp"_s, u"j|u|p|e"_s},
        {u"jazz"_s, u"dʒaz"_s, u"j|a|zz"_s},
        {u"kilo"_s, u"kilo"_s, u"k|i|l|o"_s},
        {u"gentil"_s, u"ʒɑ̃ti"_s, u"g|en|t|i|l"_s},
        {u"gentilhomme"_s, u"ʒɑ̃tijɔm"_s, u"g|en|t|i|l|h|o|mm|e"_s},
        {u"ville"_s, u"vil"_s, u"v|i|ll|e"_s},
        {u"automne"_s, u"otɔn"_s, u"au|t|o|m|n|e"_s},
        {u"pomme"_s, u"pɔm"_s, u"p|o|mm|e"_s},
        {u"bonne"_s, u"bɔn"_s, u"b|o|nn|e"_s},
        {u"cañon"_s, u"kaɲɔ̃"_s, u"c|a|ñ|on"_s},
        {u"señor"_s, u"senjɔʁ"_s, u"s|e|ñ|o|r"_s},
        {u"trop"_s, u"tʁo"_s, u"t|r|o|p"_s},
        {u"nappe"_s, u"nap"_s, u"n|a|pp|e"_s},
        {u"photo"_s, u"foto"_s, u"ph|o|t|o"_s},
        {u"coq"_s, u"kɔk"_s, u"c|o|q"_s},
        {u"qui"_s, u"ki"_s, u"qu|i"_s},
        {u"terre"_s, u"tɛʁ"_s, u"t|e|rr|e"_s},
        {u"rhume"_s, u"ʁym"_s, u"rh|u|m|e"_s},
        {u"sac"_s, u"sak"_s, u"s|a|c"_s},
        {u"maison"_s, u"mɛzɔ̃"_s, u"m|ai|s|on"_s},
        {u"bras"_s, u"bʁa"_s, u"b|r|a|s"_s},
        {u"poisson"_s, u"pwasɔ̃"_s, u"p|oi|ss|on"_s},
        {u"piscine"_s, u"pisin"_s, u"p|i|sc|i|n|e"_s},
        {u"schéma"_s, u"ʃema"_s, u"sch|é|m|a"_s},
        {u"ashram"_s, u"aʃʁam"_s, u"a|sh|r|a|m"_s},
        {u"nation"_s, u"nasjɔ̃"_s, u"n|a|t|i|on"_s},
        {u"patte"_s, u"pat"_s, u"p|a|tt|e"_s},
        {u"thé"_s, u"te"_s, u"th|é"_s},
        {u"kiwi"_s, u"kiwi"_s, u"k|i|w|i"_s},
        {u"wagon"_s, u"vaɡɔ̃"_s, u"w|a|g|on"_s},
        {u"taxi"_s, u"taksi"_s, u"t|a|x|i"_s},
        {u"examen"_s, u"ɛɡzamɛ̃"_s, u"e|x|a|m|en"_s},
        {u"six"_s, u"sis"_s, u"s|i|x"_s},
        {u"deuxième"_s, u"døzjɛm"_s, u"d|eu|x|i|è|m|e"_s},
        {u"deux"_s, u"dø"_s, u"d|eu|x"_s},
        {u"zéro"_s, u"zeʁo"_s, u"z|é|r|o"_s},
        {u"quartz"_s, u"kwaʁts"_s, u"q|u|a|r|t|z"_s},
        {u"riz"_s, u"ʁi"_s, u"r|i|z"_s},
        {u"pizza"_s, u"pidza"_s, u"p|i|zz|a"_s},
        {u"l'école"_s, u"lekɔl"_s, u"l|'|é|c|o|l|e"_s},
        {u"places"_s, u"plas"_s, u"p|l|a|c|e|s"_s},
    };
    std::set<qsizetype> rowsTaken;
    for (const AlignmentCase &c : cases) {
        SCOPED_TRACE(c.word.toStdString());
        const QString phonemes = phonemesFromIpa(c.ipa);
        ASSERT_FALSE(phonemes.isEmpty());
        const std::optional<QList<Grapheme>> graphemes = align(c.word, phonemes);
        ASSERT_TRUE(graphemes.has_value());
        EXPECT_EQ(cutOf(c.word, *graphemes), c.expected);
        QString said;
        for (const Grapheme &grapheme : *graphemes) {
            said += grapheme.phonemes;
            rowsTaken.insert(grapheme.row);
        }
        EXPECT_EQ(said, phonemes);
    }
    const auto table = correspondences();
    for (std::size_t row = 0; row < table.size(); ++row) {
        if (!rowsTaken.contains(qsizetype(row)))
            ADD_FAILURE() << "no word takes " << visible(QStringView(table[row].spelling.data(), qsizetype(table[row].spelling.size())))
                          << " -> " << visible(QStringView(table[row].ipa.data(), qsizetype(table[row].ipa.size())));
    }
}

TEST(Alignment, SaysWhichGraphemesAreSilent)
{
    const struct
    {
        QString word;
        QString ipa;
        QString silences; // one letter a grapheme: said, Vowel, Mute, Consonant
    } cases[] = {
        {u"petite"_s, u"pətit"_s, u"sssssV"_s},
        {u"chantent"_s, u"ʃɑ̃t"_s, u"sssV"_s},   // "ent" silent at the end...
        {u"entre"_s, u"ɑ̃tʁ"_s, u"sssV"_s},      // ...and said at the start
        {u"hiver"_s, u"ivɛʁ"_s, u"Mssss"_s},
        {u"l'ami"_s, u"lami"_s, u"sMsss"_s},
        {u"temps"_s, u"tɑ̃"_s, u"ssCC"_s},
        {u"ambiguë"_s, u"ɑ̃biɡy"_s, u"sssssV"_s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(visible(c.word));
        const auto graphemes = align(c.word, phonemesFromIpa(c.ipa));
        ASSERT_TRUE(graphemes.has_value());
        QString silences;
        for (const Grapheme &g : *graphemes)
            silences += QStringView(u"sVMC")[qsizetype(g.silence)];
        EXPECT_EQ(silences, c.silences);
    }
}

// The cost and the number of graphemes are compared as a pair: a word of more
// graphemes than the 64 that an earlier scale allowed is cut as a short one.
TEST(Alignment, CutsAWordOfSixtyFiveGraphemesAsAShortOne)
{
    const QString word = u"a"_s + u"pa"_s.repeated(31) + u"eût"_s;
    const auto graphemes = align(word, phonemesFromIpa(u"a"_s + u"pa"_s.repeated(31) + u"y"_s));
    ASSERT_TRUE(graphemes.has_value());
    ASSERT_EQ(graphemes->size(), 65);
    EXPECT_EQ(cutOf(word, *graphemes).right(6), u"a|eû|t"_s);
    EXPECT_EQ(graphemes->back().silence, Silence::Consonant);
}

TEST(Alignment, RefusesAWordThatNoCutSaysAndTellsWhereItStops)
{
    struct Refused
    {
        QString word;
        QString ipa;
        qsizetype stopLetters;
        qsizetype stopPhonemes;
    };
    const Refused cases[] = {
        {u"bonbon"_s, u"bɔn"_s, 4, 3},        // b|o|n and a silent b, then "on" that the phonemes lack
        {u"chat"_s, u"ʃaz"_s, 4, 2},          // every letter said, a phoneme left over
        {u"jeep"_s, u"dʒiːp"_s, 4, 2},        // j, both e silent, p silent: [ip] is left over
        {u"łu"_s, u"wy"_s, 0, 0},             // ... nor a letter it lacks: the cut never starts
    };
    for (const Refused &c : cases) {
        SCOPED_TRACE(c.word.toStdString());
        const QString phonemes = phonemesFromIpa(c.ipa);
        EXPECT_FALSE(align(c.word, phonemes).has_value());
        const AlignmentStop stop = alignmentStop(c.word, phonemes);
        EXPECT_EQ(stop.letters, c.stopLetters);
        EXPECT_EQ(stop.phonemes, c.stopPhonemes);
    }
}

TEST(Phonemes, ReadsFrenchIpaOnePhonemeACharacter)
{
    EXPECT_EQ(phonemesFromIpa(u"bɔ̃bˈɔ̃"_s), u"b"_s + QChar(phoneme::on) + u"b"_s + QChar(phoneme::on));
    EXPECT_EQ(phonemesFromIpa(u"lˈe-"_s), u"le"_s);      // stress and the end of an unstressed word
    EXPECT_EQ(phonemesFromIpa(u"ˈaːm"_s), u"am"_s);      // length
    EXPECT_EQ(phonemesFromIpa(u"gaʁ"_s), u"ɡaʁ"_s);      // a g typed for the IPA ɡ
    EXPECT_EQ(ipaFromPhonemes(phonemesFromIpa(u"ɑ̃ɛ̃œ̃ɔ̃tʃ"_s)), u"ɑ̃ɛ̃œ̃ɔ̃tʃ"_s);
    for (const QString &foreign : {u"θ"_s, u"ɹ"_s, u"(en)dʒiːp(fr)"_s, u"ĩ"_s})
        EXPECT_TRUE(phonemesFromIpa(foreign).isEmpty()) << visible(foreign);
}

} // namespace
