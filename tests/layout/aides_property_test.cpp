// Random sequences of what a teacher does with the reading aids, on two
// documents of one student, through the layout screen's real handlers and on
// real files: whatever happened, turning every aid off gives both texts back.
#include "aides_screen.h"

#include "import/Unit3.h"
#include "layout/workingcopies.h"
#include "readingaids/frame.h"
#include "readingaids/trim.h"
#include "testfiles.h"
#include "visible.h"
#include "workspace/textfile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <random>

using namespace Qt::StringLiterals;
using aidestest::AidesScreen;

namespace {

// The sequences write some ten thousand small files, each saved whole with a
// sync to disk: on the memory file system where the machine has one, they
// take seconds rather than a minute.
const bool inMemory = [] {
    const QFileInfo shm(u"/dev/shm"_s);
    if (shm.isDir() && shm.isWritable())
        qputenv("TMPDIR", "/dev/shm");
    return true;
}();

const QString Version = u"Version beta 1.1  : "_s;

// The lines of a document with its highlight and border lines reduced to
// what they are, since those may be changed meanwhile.
QStringList comparable(QStringList lines)
{
    for (QString &line : lines) {
        const QStringView trimmed = readingaids::trimLine(line);
        if (line.contains(readingaids::highlightMark))
            line = u"(highlight)"_s;
        else if (trimmed.startsWith(u"<!--BORD "))
            line = u"(border)"_s + trimmed.mid(9, 1).toString();
    }
    return lines;
}

// Every file of the folder but those an aid may change, with its bytes.
QMap<QString, QByteArray> untouchable(const QString &folder, const QStringList &documents)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = QDir::toNativeSeparators(it.next());
        const QString name = it.fileName();
        const bool mayChange = documents.contains(path) || name == u"TexteAlire2.html"_s
            || name == u"TexteAlire_copie.html"_s || name.endsWith(u".bak"_s) || name == u"style.css"_s;
        if (mayChange)
            continue;
        files.insert(path, bytesOf(path));
    }
    return files;
}

class AidesProperty : public AidesScreen
{
protected:
    void act(int action);
    void allAidsOff(const QString &document);
    void reset();

    std::mt19937 random{20261210};
    TForm1 *screen = nullptr;
    QStringList documents;
    QMap<QString, QByteArray> originals;
    QByteArray styleSheet;
    QStringList done; // the actions of the running sequence, for the failure message
};

void AidesProperty::reset()
{
    delete screen;
    screen = nullptr;
    for (const QString &document : documents) {
        QFile::remove(document + u".bak"_s);
        QFile::remove(document + u".sansaide.bak"_s);
        QFile file(document);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(originals[document]);
    }
    QFile::remove(student.cheminW + u"TexteAlire2.html"_s);
    QFile::remove(student.cheminW + u"TexteAlire_copie.html"_s);
    QFile css(student.cssPath());
    css.open(QIODevice::WriteOnly | QIODevice::Truncate);
    css.write(styleSheet);
    done.clear();
}

int pick(std::mt19937 &random, int count)
{
    return std::uniform_int_distribution<int>(0, count - 1)(random);
}

void AidesProperty::act(int action)
{
    const QString sounds[] = {u"o"_s, u"ou"_s, u"e"_s, QString(), u"#"_s, u"1"_s, u"#1"_s,
                              u"<"_s, u"br"_s, u" "_s, QString(200, u'a') + u"<br>"_s};
    platform::CheckBox *TForm1::*const aidBoxes[] = {&TForm1::CheckBox2, &TForm1::CheckBox6, &TForm1::CheckBox8,
                                                    &TForm1::CheckBox9};
    platform::CheckBox *TForm1::*const frameBoxes[] = {&TForm1::CheckBox3, &TForm1::CheckBox4, &TForm1::CheckBox5};
    const int loadsBefore = loads(screen);
    bool command = true;
    switch (action) {
    case 0: {
        platform::CheckBox *box = screen->*aidBoxes[pick(random, 4)];
        done.append(u"click "_s + box->text());
        box->click();
        break;
    }
    case 1: {
        const QString sound = sounds[pick(random, std::size(sounds))];
        done.append(u"sound "_s + QString::fromStdString(visible(sound)));
        command = sound != screen->Edit6->text();
        screen->Edit6->setText(sound);
        break;
    }
    case 2: {
        command = !screen->Edit6->text().isEmpty();
        done.append(u"delete a letter"_s);
        screen->Edit6->backspace();
        break;
    }
    case 3: {
        platform::CheckBox *box = screen->*frameBoxes[pick(random, 3)];
        done.append(u"click "_s + box->text());
        box->click();
        break;
    }
    case 4: {
        done.append(u"close and reopen"_s);
        const QString document = current;
        close(screen);
        screen = open(document);
        command = false;
        break;
    }
    default: {
        const QString other = current == documents[0] ? documents[1] : documents[0];
        done.append(u"open "_s + QFileInfo(other).fileName());
        close(screen);
        screen = open(other);
        command = false;
        break;
    }
    }
    if (command) {
        EXPECT_EQ(loads(screen), loadsBefore + 1) << done.join(u", "_s).toStdString();
    }
}

void AidesProperty::allAidsOff(const QString &document)
{
    delete screen;
    screen = open(document);
    for (platform::CheckBox *box : {screen->CheckBox2, screen->CheckBox6, screen->CheckBox8, screen->CheckBox9}) {
        if (box->isChecked())
            box->click();
    }
    // A sound typed and deleted takes off any aid that no box shows.
    screen->Edit6->setText(u"o"_s);
    screen->Edit6->clear();
}

} // namespace

TEST_F(AidesProperty, WhateverTheTeacherDoesTurningEveryAidOffGivesBothTextsBack)
{
    documents = {student.document,
                 addDocument(u"renard.html"_s, {u"Le renard dort. « Où vas-tu ? » dit-il…"_s,
                                                u"Il a faim : il cherche des poules.<br>#1"_s})};
    for (const QString &document : documents)
        originals.insert(document, bytesOf(document));
    styleSheet = bytesOf(student.cssPath());
    const QMap<QString, QByteArray> others = untouchable(student.cheminW, documents);

    constexpr int sequences = 300;
    for (int sequence = 0; sequence < sequences; ++sequence) {
        reset();
        screen = open(documents[pick(random, 2)]);
        const int length = 1 + pick(random, 12);
        for (int step = 0; step < length; ++step) {
            // Aid boxes and the sound field most often, as a teacher would.
            const int weights[] = {0, 0, 0, 1, 1, 2, 3, 3, 4, 5};
            act(weights[pick(random, std::size(weights))]);
        }
        const QString trace = u"sequence %1: "_s.arg(sequence) + done.join(u", "_s);
        for (const QString &document : documents) {
            allAidsOff(document);
            const QStringList lines = workspace::readLines(document);
            EXPECT_FALSE(layout::carriesAid(lines)) << trace.toStdString();
            EXPECT_EQ(comparable(lines), comparable(workspace::decodeLines(originals[document])))
                << QFileInfo(document).fileName().toStdString() << " after " << trace.toStdString();
        }
        EXPECT_EQ(untouchable(student.cheminW, documents), others) << trace.toStdString();
        for (const QString &message : platform.messages.shown)
            EXPECT_EQ(message, Version) << trace.toStdString();
        platform.messages.shown.clear();
        if (HasFailure())
            break;
    }
    delete screen;
}
