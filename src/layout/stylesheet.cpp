#include "stylesheet.h"

#include "readingaids/trim.h"
#include "workspace/textfile.h"

namespace layout {

Css::Css()
{
    m_lines.resize(CssLineCount);
}

QString &Css::operator[](int k)
{
    Q_ASSERT(k >= 1 && k <= CssLineCount);
    return m_lines[k - 1];
}

const QString &Css::operator[](int k) const
{
    Q_ASSERT(k >= 1 && k <= CssLineCount);
    return m_lines[k - 1];
}

QStringList Css::numbered() const
{
    return m_lines;
}

bool hasFlag(const Css &css, int k, const QString &flagText)
{
    return readingaids::trimLine(css[k]) == flagText;
}

Css loadCss(const QString &cheminW)
{
    const QStringList lines = workspace::readLines(cheminW + QStringLiteral("style.css"));
    Css css;
    for (int k = 1; k <= CssLineCount && k <= lines.size(); ++k)
        css[k] = lines[k - 1];
    if (lines.size() > CssLineCount)
        css.setBeyond(lines.mid(CssLineCount));
    return css;
}

void SauveCSS(const QString &cheminW, const Css &css)
{
    workspace::writeLines(cheminW + QStringLiteral("style.css"), css.numbered() + css.beyond());
}

} // namespace layout
