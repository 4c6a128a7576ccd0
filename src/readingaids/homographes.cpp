// The table of the French words whose reading the sentence decides, and the
// clue that decides each (incontext.h). Kept as data: one row per reading,
// tried in order for the word; the measured list of sentences that checks
// them is tests/fixtures/readingaids/phrases-entendues.tsv.
//
// Sources, named in each row:
// [Lexique] Lexique 3.83 (B. New, C. Pallier et al., lexique.org): the
//   phonological form of each spelling by its grammatical category (the noun
//   "couvent" kuvɑ̃, the verb kuv; "fils" fis and the plural of "fil" fil...).
// [Grevisse] M. Grevisse, A. Goosse, Le Bon Usage, 16e éd., De Boeck
//   Duculot, 2016: the numerals six, dix, huit before a consonant, a vowel
//   or a pause; "tous" pronoun [tus] against determiner [tu]; "plus" [plys]
//   at the end of a group.
// [Bescherelle] Bescherelle, La grammaire pour tous, Hatier, 2019: the verb
//   agrees with its subject (ils, elles, a plural noun group, "qui" after
//   one), object pronouns and "ne" between them.
// [TLFi] Trésor de la langue française informatisé (ATILF, cnrtl.fr), the
//   pronunciation given at the start of each article ("os" [ɔs], plural [o];
//   "est" the point of the compass [ɛst]; "fier" the verb [fje]).
#include "incontext.h"

#include <array>

namespace readingaids {

namespace {

using enum Clue;

constexpr std::array rules = {
    // Verbs in -ent whose verb is not the word alone less its [ɑ̃].
    HomographRule{u"convient", AfterSubject, {}, u"kɔ̃vi", u"Lexique : convient, verbe convier (ils) kɔ̃vi ; convenir (il) kɔ̃vjɛ̃"},
    HomographRule{u"expédient", AfterSubject, {}, u"ɛkspedi", u"Lexique : expédient, verbe ɛkspedi, nom ɛkspedjɑ̃"},
    // Nouns and adjectives in -ent that espeak-ng reads alone as verbs.
    HomographRule{u"négligent", AfterSubject, {}, u"neɡliʒ", u"Lexique : négligent, verbe neɡliʒ"},
    HomographRule{u"négligent", Otherwise, {}, u"neɡliʒɑ̃", u"Lexique : négligent, adjectif neɡliʒɑ̃"},
    HomographRule{u"émergent", AfterSubject, {}, u"emɛʁʒ", u"Lexique : émergent, verbe emɛʁʒ"},
    HomographRule{u"émergent", Otherwise, {}, u"emɛʁʒɑ̃", u"Lexique : émergent, adjectif emɛʁʒɑ̃"},
    HomographRule{u"coïncident", AfterSubject, {}, u"kɔɛ̃sid", u"Lexique : coïncident, verbe kɔɛ̃sid"},
    HomographRule{u"coïncident", Otherwise, {}, u"kɔɛ̃sidɑ̃", u"Lexique : coïncident, adjectif kɔɛ̃sidɑ̃"},
    HomographRule{u"confident", AfterSubject, {}, u"kɔ̃fid", u"Lexique : confident, verbe kɔ̃fid"},
    HomographRule{u"confident", Otherwise, {}, u"kɔ̃fidɑ̃", u"Lexique : confident, nom kɔ̃fidɑ̃"},
    // Never a verb.
    HomographRule{u"souvent", Otherwise, {}, {}, u"Lexique : souvent, adverbe seulement"},
    HomographRule{u"comment", Otherwise, {}, {}, u"Lexique : comment, adverbe seulement"},
    // fils: the son [fis]; the threads, plural of fil [fil], by what follows.
    HomographRule{u"fils", After, u"électriques électrique téléphoniques barbelés métalliques tendus de_laine de_fer de_coton "
                                u"de_soie de_couleur de_nylon à_coudre à_linge", u"fil",
                  u"Lexique : fils, nom fil (pluriel de fil) ; TLFi, fil"},
    HomographRule{u"fils", Otherwise, {}, u"fis", u"Lexique : fils, nom fis ; TLFi, fils [fis]"},
    // os: [ɔs], plural [o].
    HomographRule{u"os", AfterDeterminer, u"les des mes tes ses nos vos leurs ces deux trois quelques plusieurs", u"o",
                  u"TLFi, os : [ɔs], au pluriel [o]"},
    HomographRule{u"os", Otherwise, {}, u"ɔs", u"TLFi, os : [ɔs]"},
    // as: "tu as" [a], the card "un as" [ɑs].
    HomographRule{u"as", Before, u"tu", u"a", u"Lexique : as, verbe avoir a"},
    HomographRule{u"as", After, u"tu", u"a", u"Lexique : as, verbe avoir a (as-tu)"},
    HomographRule{u"as", Otherwise, {}, u"as", u"Lexique : as, nom as"},
    // sens: "je sens" [sɑ̃] (sentir), "le sens" [sɑ̃s].
    HomographRule{u"sens", Before, u"je j' tu", u"sɑ̃", u"Lexique : sens, verbe sentir sɑ̃"},
    HomographRule{u"sens", After, u"je tu", u"sɑ̃", u"Lexique : sens, verbe sentir sɑ̃ (sens-tu)"},
    // fier: "se fier" [fje], "il est fier" [fjɛʁ].
    HomographRule{u"fier", Before, u"se s' me m' te t' nous vous", u"fje", u"TLFi, fier (verbe) [fje] ; Lexique : fier, verbe fje"},
    // est: the point of the compass [ɛst]; the verb [ɛ].
    HomographRule{u"est", Elided, u"l'", u"ɛst", u"TLFi, est (nom) [ɛst]"},
    HomographRule{u"est", Before, u"nord sud", u"ɛst", u"TLFi, est (nom) [ɛst] : nord-est, sud-est"},
    // tous: determiner [tu] before a determiner; pronoun [tus] elsewhere.
    HomographRule{u"tous", After, u"les des ces mes tes ses nos vos leurs ceux celles", u"tu",
                  u"Grevisse : tous déterminant [tu], pronom [tus]"},
    // plus: [plys] at the end of a group after en, de, au, non.
    HomographRule{u"plus", Before, u"en de au non", u"plys", u"Grevisse : plus [plys] en fin de groupe (en plus, de plus)"},
    // six, dix, huit: before a consonant, a vowel, or a pause.
    HomographRule{u"dix", After, u"sept", u"dis", u"Grevisse : dix-sept [dis]"},
    HomographRule{u"dix", After, u"huit neuf", u"diz", u"Grevisse : dix-huit, dix-neuf [diz]"},
    HomographRule{u"six", NextVowel, {}, u"siz", u"Grevisse : six [siz] devant une voyelle"},
    HomographRule{u"six", NextConsonant, {}, u"si", u"Grevisse : six [si] devant une consonne"},
    HomographRule{u"six", Otherwise, {}, u"sis", u"Grevisse : six [sis] seul"},
    HomographRule{u"dix", NextVowel, {}, u"diz", u"Grevisse : dix [diz] devant une voyelle"},
    HomographRule{u"dix", NextConsonant, {}, u"di", u"Grevisse : dix [di] devant une consonne"},
    HomographRule{u"dix", Otherwise, {}, u"dis", u"Grevisse : dix [dis] seul"},
    HomographRule{u"huit", NextConsonant, {}, u"ɥi", u"Grevisse : huit [ɥi] devant une consonne"},
    HomographRule{u"huit", Otherwise, {}, u"ɥit", u"Grevisse : huit [ɥit]"},
    // vis: the screw [vis] after a feminine determiner; the verb [vi].
    HomographRule{u"vis", AfterDeterminer, u"une la cette ma ta sa chaque", u"vis", u"Lexique : vis, nom vis ; verbe vi"},
    // portions: "nous portions" [pɔʁtjɔ̃], "les portions" [pɔʁsjɔ̃].
    HomographRule{u"portions", Before, u"nous", u"pɔʁtjɔ̃", u"Lexique : portions, verbe pɔʁtjɔ̃, nom pɔʁsjɔ̃"},
};

} // namespace

std::span<const HomographRule> homographRules()
{
    return rules;
}

} // namespace readingaids
