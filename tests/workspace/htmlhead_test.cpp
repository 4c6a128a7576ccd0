// The published pages' head: search engines asked to keep out, once.
#include "workspace/htmlhead.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(HtmlHead, TheRobotsLineFollowsTheHeadOnce)
{
    const QString robots = workspace::RobotsMeta;
    const struct
    {
        const char *name;
        QStringList lines, expected;
    } cases[] = {
        {"after <head>", {u"<html>"_s, u"<head>"_s, u"</head>"_s}, {u"<html>"_s, u"<head>"_s, robots, u"</head>"_s}},
        {"indented, with attributes", {u"  <HEAD lang=\"fr\">"_s}, {u"  <HEAD lang=\"fr\">"_s, robots}},
        {"there already", {u"<head>"_s, u"<meta name=\"robots\" content=\"none\">"_s},
         {u"<head>"_s, u"<meta name=\"robots\" content=\"none\">"_s}},
        {"no head", {u"<p>texte</p>"_s}, {u"<p>texte</p>"_s}},
        {"<header> is not the head", {u"<header>"_s}, {u"<header>"_s}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(workspace::withRobotsMeta(c.lines), c.expected);
    }
}
