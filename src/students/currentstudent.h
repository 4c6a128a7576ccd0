#pragma once

#include "students/selection.h"

#include <QString>

namespace students {

// The student the import and layout screens work for, as the student screen
// that opened them holds it. They receive it when they are made and never
// reach that screen otherwise.
class CurrentStudent
{
public:
    // The student chosen or registered, with the current document.
    virtual Selection selection() const = 0;
    // The import screen saved a reading document: the layout screen opens it.
    virtual void setCurrentDocument(const QString &path) = 0;

protected:
    ~CurrentStudent() = default;
};

} // namespace students
