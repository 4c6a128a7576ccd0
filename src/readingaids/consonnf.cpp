#include "consonnf.h"

#include <algorithm>
#include <string_view>

namespace readingaids {

const std::array<QStringView, 524> consonnF = {
    u"Abcès", u"Abricot", u"Absous", u"Abus", u"Accent", u"accès", u"Accord",
    u"Accroc", u"Achat", u"Adopter", u"adroit", u"Aéroport", u"Afflux", u"Affreux",
    u"Ailleurs", u"ajout", u"Allemand", u"Almanach", u"Amas", u"amoureux", u"Anchois",
    u"aneth", u"Anglais", u"Aplomb", u"Appétit", u"après", u"art", u"Artichaut",
    u"aspect", u"assaut", u"Atout", u"attribut", u"autrefois", u"Avis", u"ayatollah",
    u"banc", u"bandit", u"Banlieusard", u"bas", u"bavard", u"Beaucoup", u"berlingot",
    u"bismuth", u"blanc", u"Blond", u"bobsleigh", u"Bœufs", u"bois", u"bond",
    u"bonheur", u"bonhomme", u"bord", u"Bourg", u"bout", u"bras", u"brebis",
    u"brigand", u"brouillard", u"Bungalow", u"buvard", u"cachalot", u"cahier",
    u"Camembert", u"camp", u"canard", u"candidat", u"canevas", u"cantaloup",
    u"caoutchouc", u"carat", u"carquois", u"cas", u"Cependant", u"cerf", u"certes",
    u"champ", u"chant", u"châssis", u"chat", u"Chaud", u"Chaux", u"chocolat",
    u"Choix", u"circuit", u"clé", u"clef", u"clerc", u"climat", u"clochard",
    u"coing", u"colis", u"combat", u"complot", u"concert", u"Concours", u"confort",
    u"confus", u"coquelicot", u"corbillard", u"corps", u"costaud", u"coup",
    u"courageux", u"Courroux", u"cours", u"court", u"crapaud", u"creux", u"croc",
    u"croix", u"crucifix", u"curieux", u"cyprès", u"dangereux", u"debout", u"décès",
    u"découvert", u"défaut", u"dehors", u"délicat", u"délicieux", u"délit", u"départ",
    u"dès", u"descendre", u"désert", u"désireux", u"dessert", u"dessous", u"dessus",
    u"deux", u"dévot", u"dévouement", u"Différend", u"différent", u"discours",
    u"dissous", u"divers", u"doigt", u"dompteur", u"dont", u"dos", u"dossard",
    u"douloureux", u"doux", u"drap", u"échafaud", u"éclat", u"écrit", u"effort",
    u"égout", u"embout", u"emprunt", u"endroit", u"épais", u"épinard", u"époux",
    u"escargot", u"escroc", u"estomac", u"étang", u"état", u"étroit", u"étudiant",
    u"eux", u"excès", u"exempt", u"expert", u"exprès", u"fait", u"fameux",
    u"faubourg", u"FAUX", u"fécond", u"fêter", u"filament", u"fils", u"fjord",
    u"flamand", u"flanc", u"flot", u"flux", u"fois", u"fond", u"format", u"fort",
    u"foulard", u"frais", u"franc", u"français", u"friand", u"frimas", u"frit",
    u"froid", u"front", u"fruit", u"Fusil", u"gabarit", u"galop", u"gant", u"gars",
    u"géant", u"gens", u"gentil", u"gland", u"glas", u"goéland", u"gourmand",
    u"goût", u"grand", u"gras", u"gris", u"gros", u"Habitation", u"habiter",
    u"habitude", u"hache", u"haie", u"haine", u"hameau", u"hareng", u"harfang",
    u"haricot", u"harnais", u"hasard", u"hâte", u"haut", u"hauteur", u"hélas",
    u"herbe", u"héroïque", u"héros", u"hêtre", u"heure", u"heureusement", u"heureux",
    u"hier", u"hilarant", u"hirondelle", u"histoire", u"hiver", u"homme", u"honneur",
    u"honorable", u"honorer", u"honte", u"honteux", u"horloge", u"houx", u"hublot",
    u"huile", u"huit", u"humain", u"humble", u"humidité", u"hurler", u"important",
    u"imposant", u"imprudent", u"inclus", u"influx", u"ingrat", u"instant",
    u"instinct", u"institut", u"intelligent", u"interdit", u"intrus", u"jais",
    u"jaloux", u"jamais", u"javelot", u"jouer", u"joug", u"joyeux", u"judas",
    u"jus", u"laborieux", u"laid", u"lait", u"las", u"lauréat", u"lent", u"léopard",
    u"lézard", u"lilas", u"lit", u"long", u"longuement", u"lors", u"lot", u"loup",
    u"lourd", u"luisant", u"lumineux", u"luth", u"luxueux", u"magnat", u"mais",
    u"malheureux", u"mammouth", u"manger", u"marabout", u"marais", u"marchand",
    u"matelas", u"mauvais", u"mécontent", u"mélodieux", u"mendiant", u"merveilleux",
    u"mieux", u"minuit", u"mois", u"mont", u"montant", u"moribond", u"mort", u"mot",
    u"moût", u"mulot", u"mystérieux", u"nabot", u"naturellement", u"nauséabond",
    u"néanmoins", u"néant", u"nerf", u"Nez", u"nid", u"nœud", u"noix", u"nombreux",
    u"nombril", u"nord", u"obus", u"odorant", u"œufs", u"offert", u"orient",
    u"ornement", u"outil", u"ouvert", u"ouvrier", u"paix", u"palais", u"paletot",
    u"paquebot", u"parent", u"parfois", u"part", u"partout", u"parvis", u"passant",
    u"pâtissier", u"pavot", u"pays", u"pendant", u"perdrix", u"pers", u"persil",
    u"petit", u"pied", u"pieux", u"pis", u"plafond", u"plaie", u"plaisant", u"plat",
    u"plomb", u"plupart", u"plusieurs", u"poids", u"poing", u"point", u"pois",
    u"poix", u"pont", u"porc", u"port", u"portrait", u"pot", u"pouls", u"pourtant",
    u"précieux", u"preux", u"printemps", u"prix", u"prodigieux", u"produit",
    u"profit", u"profond", u"progrès", u"prompt", u"propos", u"prunier", u"puis",
    u"puits", u"pus", u"quand", u"quart", u"quelquefois", u"quitter", u"rabais",
    u"radieux", u"radoub", u"rang", u"rapport", u"rat", u"raz", u"rebord",
    u"réchaud", u"record", u"recours", u"redoux", u"réduit", u"reflux", u"refus",
    u"regard", u"relais", u"religieux", u"remerciement", u"remords", u"remous",
    u"rempart", u"renard", u"repas", u"répit", u"repos", u"résistant", u"respect",
    u"respectueux", u"ressort", u"résultat", u"retard", u"rigoureux", u"ris", u"riz",
    u"rond", u"roquefort", u"roux", u"rubis", u"sabot", u"saindoux", u"saint",
    u"salut", u"sang", u"sanglot", u"sans", u"satisfait", u"saut", u"savant",
    u"savoureux", u"schah", u"second", u"secours", u"sept", u"serf", u"sergent",
    u"sérieux", u"shampoing", u"silencieux", u"sirop", u"soigneux", u"soldat",
    u"sort", u"sot", u"soucieux", u"souhait", u"sourcil", u"sourd", u"sous",
    u"souvent", u"spacieux", u"sparadrap", u"sport", u"squaw", u"standard",
    u"studieux", u"subit", u"succès", u"surplomb", u"surtout", u"suspect", u"tabac",
    u"talent", u"talus", u"tant", u"tapis", u"tard", u"tas", u"taux", u"temps",
    u"thé", u"toit", u"tort", u"torticolis", u"toujours", u"toutefois", u"toux",
    u"transfert", u"transport", u"traquenard", u"très", u"tribut", u"tricot",
    u"tronc", u"trop", u"trot", u"urgent", u"véhicule", u"velours", u"vent",
    u"verglas", u"vermouth", u"vert", u"vieux", u"vigoureux", u"vingt", u"vivant",
    u"voix", u"volontiers", u"vous", u"zénith",
};

namespace {

// The list in code-unit order, for a binary search.
const std::array<std::u16string_view, 524> &sortedWords()
{
    static const std::array<std::u16string_view, 524> sorted = [] {
        std::array<std::u16string_view, 524> words;
        std::transform(consonnF.begin(), consonnF.end(), words.begin(),
                       [](QStringView word) { return std::u16string_view(word.utf16(), size_t(word.size())); });
        std::sort(words.begin(), words.end());
        return words;
    }();
    return sorted;
}

} // namespace

bool consonneFinale(QStringView s)
{
    const auto &words = sortedWords();
    return std::binary_search(words.begin(), words.end(), std::u16string_view(s.utf16(), size_t(s.size())));
}

bool consonneFinale2(QChar c)
{
    return QStringView(u"bcfghlpwxz").contains(c);
}

} // namespace readingaids
