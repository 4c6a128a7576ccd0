#include "frame.h"

#include "trim.h"

#include <array>

using namespace Qt::StringLiterals;

namespace readingaids {

namespace {

struct BorderLine
{
    QStringView bare;
    QStringView withCell;
};

std::array<BorderLine, 2> borderLines(Border border)
{
    if (border == Border::GreenRed) {
        return {{{u"<!--BORD 1-->", u"<!--BORD 1--><TD width=30 BGCOLOR=\"#00FF00\">----</TD>"},
                 {u"<!--BORD 4-->", u"<!--BORD 4--><TD width=30 BGCOLOR=\"#FF0000\">----</TD>"}}};
    }
    return {{{u"<!--BORD 2-->", u"<!--BORD 2--><TD width=30 background=\"fond.jpg\"></TD>"},
             {u"<!--BORD 3-->", u"<!--BORD 3--><TD width=30 background=\"fond.jpg\"></TD>"}}};
}

} // namespace

QStringList highlightLines(const QStringList &lines, bool highlighted)
{
    const QString highlight = highlighted ? u"\t\t\t<p> <span style=\"background-color:#ffffbb;\" >"_s
                                          : u"\t\t\t<p> <span style=\"background-color:#ffffff;\" >"_s;
    QStringList output = lines;
    for (QString &line : output) {
        if (line.contains(highlightMark))
            line = highlight;
    }
    return output;
}

QStringList flipBorders(const QStringList &lines, Border border)
{
    const std::array<BorderLine, 2> borders = borderLines(border);
    QStringList output = lines;
    for (QString &line : output) {
        const QStringView trimmed = trimLine(line);
        for (const BorderLine &borderLine : borders) {
            if (trimmed == borderLine.bare) {
                line = borderLine.withCell.toString();
                break;
            }
            if (trimmed == borderLine.withCell) {
                line = borderLine.bare.toString();
                break;
            }
        }
    }
    return output;
}

} // namespace readingaids
