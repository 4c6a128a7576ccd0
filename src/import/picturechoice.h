#pragma once

#include <QString>

// The logo picture of a document: chosen once, recorded in the student's
// picture list, brought into the student folder and put under the
// document's name.
namespace import {

// Whether a line of the picture list is exactly the picture's path
// (case-sensitive). A missing list holds no picture.
bool isPictureUsed(const QString &listPath, const QString &picturePath);

struct TakenPicture
{
    QString path;             // the picture in the student folder
    bool wasInFolder = false; // chosen in the student folder itself, so left where it was
};

// Copies the picture into the student folder (ending with the separator)
// under its own name and records its path in the picture list. A picture of
// the cards folder (reserve/Cartes) then leaves it, so that it is offered
// once; one chosen anywhere else is the teacher's own and stays where it was.
// A file of that name in the student folder is never replaced: the copy takes
// a free name, "lune (2).jpg". A picture that lies in the student folder
// already is neither copied onto itself nor removed.
TakenPicture takePicture(const QString &picturePath, const QString &studentFolder, const QString &cardsFolder);

// Whether the cards folder holds no picture to offer, ".jpg", ".jpeg", ".png",
// ".gif" or ".webp" (or is missing).
bool hasNoCards(const QString &cardsFolder);

// Whether the file's bytes are a JPEG picture's, whatever its name.
bool isJpeg(const QString &path);

// Rewrites a picture that is not a JPEG (a PNG, GIF or WebP) as a JPEG under
// the same name, its transparent parts white; a JPEG stays byte for byte.
// Raises workspace::IoError when it cannot be read or written.
void saveAsJpeg(const QString &path);

// Puts the picture under the document's name (target), as a JPEG. A picture
// brought in from elsewhere is moved there, replacing an older picture of that
// name; one that was in the student folder before is copied, so that it stays
// too. A picture that already bears the target name is not moved. A failed
// move is not reported.
void placePicture(const TakenPicture &picture, const QString &target);

} // namespace import
