#pragma once

#include "fakeplatform.h"
#include "layout/Vitrine_test.h"
#include "layoutfolder.h"
#include "platform/controls.h"
#include "platform/eventrules.h"
#include "workingfolder.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <memory>

namespace aidestest {

// A student folder from the shipped templates and the screens that lead to
// its layout screen, with the doubles of the desktop.
class AidesScreen : public testing::Test
{
protected:
    // Opens a layout screen on the document (the student's first one when
    // none is named), as the import screen does.
    TForm1 *open(const QString &document = {});
    // The teacher is done with the screen.
    void close(TForm1 *screen);
    // Writes a further reading document of the student, from the same templates.
    QString addDocument(const QString &name, const QStringList &text) const;

    // The current document's lines, without the mark of an aid.
    QStringList shown() const;
    QString cssLine(int k) const { return student.cssLines().value(k - 1); }
    fakes::WebView *view(TForm1 *screen) const { return static_cast<fakes::WebView *>(screen->WebBrowser1); }
    // Every load the web view was asked for: navigations and reloads.
    int loads(TForm1 *screen) const { return view(screen)->history.size() + view(screen)->reloads; }

    fakes::Platform platform;
    fakes::WorkingFolder folder;
    layouttest::StudentFolder student{folder};
    layouttest::Screens screens{student};
    QString current;
};

} // namespace aidestest
