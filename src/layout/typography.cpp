#include "typography.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace layout {

QString fontSizeLine(int taille)
{
    return u" font-size: "_s + QString::number(taille) + u"%; "_s;
}

QString lineHeightLine(int espacel)
{
    return u" line-height: "_s + QString::number(espacel) + u"px; "_s;
}

QString wordSpacingLine(int espacem)
{
    return u" word-spacing: "_s + QString::number(espacem) + u"px; "_s;
}

QString letterSpacingLine(int EcarLT)
{
    return u" letter-spacing: "_s + QString::number(EcarLT) + u"px;}"_s;
}

QString capitalsLine(bool majuscule)
{
    return majuscule ? u"text-transform: Uppercase;"_s : u"text-transform: None;"_s;
}

QString fontFamilyLine(Police police)
{
    switch (police) {
    case Police::Arial:
        return u"font-family: \"Arial\",\"sans-serif\";"_s;
    case Police::Dysfont:
        return u"font-family: \"OpenDyslexic-Regular\",\"sans-serif\";"_s;
    case Police::Helvetica:
        return u"font-family: \"HelveticaNeueLT Std Lt\",\"sans-serif\";"_s;
    }
    Q_UNREACHABLE();
}

QString underlineLine(bool souligneChecked)
{
    return souligneChecked ? u"text-decoration: underline;"_s : u"text-decoration: none;"_s;
}

QString overlineLine(bool surligneChecked)
{
    return surligneChecked ? u"text-decoration: underline overline;"_s : u"text-decoration: none;"_s;
}

namespace {

// Counters wrap around rather than overflow, as 32-bit integers do.
int step(int value, int by)
{
    return static_cast<int>(static_cast<unsigned>(value) + static_cast<unsigned>(by));
}

} // namespace

int appliquer(Commande commande, Css &css, Compteurs &c)
{
    switch (commande) {
    case Commande::PlusTaille:
    case Commande::MoinsTaille:
        c.taille = step(c.taille, commande == Commande::PlusTaille ? 10 : -10);
        css[line::FontSize] = fontSizeLine(c.taille);
        return c.taille;
    case Commande::PlusEspaceL:
    case Commande::MoinsEspaceL:
        c.espacel = step(c.espacel, commande == Commande::PlusEspaceL ? 5 : -5);
        css[line::LineHeight] = lineHeightLine(c.espacel);
        return c.espacel;
    case Commande::PlusEspaceM:
    case Commande::MoinsEspaceM:
        c.espacem = step(c.espacem, commande == Commande::PlusEspaceM ? 5 : -5);
        css[line::WordSpacing] = wordSpacingLine(c.espacem);
        return c.espacem;
    case Commande::PlusEcartLettres:
    case Commande::MoinsEcartLettres:
        c.EcarLT = step(c.EcarLT, commande == Commande::PlusEcartLettres ? 1 : -1);
        css[line::LetterSpacing] = letterSpacingLine(c.EcarLT);
        return c.EcarLT;
    }
    Q_UNREACHABLE();
}

double viewWidth(int displayWidth, int value)
{
    return double(displayWidth) * value / 100.0;
}

double viewHeight(int displayHeight, int value)
{
    const double height = double(displayHeight) * value / 100.0;
    return height > HeightLimit ? HeightAboveLimit : height;
}

int trackValue(double size, int displaySize)
{
    if (displaySize <= 0)
        return 100;
    const double value = std::trunc(size * 100.0 / displaySize);
    return value > 100 ? 100 : value < 0 ? 0 : int(value);
}

QString wholePixels(double size)
{
    return QString::number(static_cast<qint64>(std::trunc(size)));
}

} // namespace layout
