#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// The cues of the reading aloud's WebVTT files, as the tests read them back.
namespace cuetest {

struct TimedCue
{
    double start;
    double end;
    QString text;
};

// The cues of a WebVTT file, in seconds.
inline QList<TimedCue> cuesOf(const QString &vtt)
{
    const auto seconds = [](QStringView stamp) {
        const QList<QStringView> p = stamp.split(u':');
        return p[0].toDouble() * 3600 + p[1].toDouble() * 60 + p[2].toDouble();
    };
    const QStringList lines = vtt.split(u'\n');
    QList<TimedCue> cues;
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const qsizetype arrow = lines[i].indexOf(QStringLiteral(" --> "));
        if (arrow > 0)
            cues.append({seconds(QStringView(lines[i]).left(arrow)), seconds(QStringView(lines[i]).sliced(arrow + 5)),
                         lines[i + 1]});
    }
    return cues;
}

// The word of the cue in force at t; empty between cues.
inline QString cueAt(const QList<TimedCue> &cues, double t)
{
    for (const TimedCue &cue : cues) {
        if (cue.start <= t && t < cue.end)
            return cue.text;
    }
    return {};
}

} // namespace cuetest
