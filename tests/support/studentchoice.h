#pragma once

#include "students/Unit2.h"

#include <gtest/gtest.h>

#include <QListWidget>

namespace fakes {

// Clicks the student in the student screen's list as the teacher does: the
// student becomes the screen's current selection.
inline void chooseStudent(TForm2 *students, const QString &name)
{
    const QList<QListWidgetItem *> items = students->ListView1->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << name.toStdString();
    students->ListView1->setCurrentItem(items.first());
    emit students->ListView1->itemClicked(items.first());
}

} // namespace fakes
