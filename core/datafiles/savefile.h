#ifndef SAVEFILE_H
#define SAVEFILE_H

#include <QByteArray>
#include <QString>

#include <functional>

// Replaces the file `file_name` by `bytes`, all or nothing: they go to a
// temporary file beside it that takes the file's place only once every byte
// is known to be on the disk. A full disk, a file size limit or any other
// failure leaves an earlier file of that name unchanged and no temporary file
// behind; `*reason` then receives why in plain words (such as "No space left
// on device") and false is returned.
bool Save_Bytes_File(const QString& file_name, const QByteArray& bytes, QString* reason);

// Save_Bytes_File for `text` in UTF-8; on failure `*error` receives a message
// naming the file and the reason.
bool Save_Text_File(const QString& file_name, const QString& text, QString* error);

// True when Save_Text_File could replace `file_name` now. Neither creates
// nor changes that file; otherwise `*error` receives the same message as a
// failed save.
bool Can_Save_Text_File(const QString& file_name, QString* error);

// For tests, to make the last two steps of a save fail: called, when set,
// with the temporary file's descriptor in place of fsync(), and just before
// the temporary file takes the old one's place.
namespace Save_Test_Hooks
{
extern std::function<int(int descriptor)> Synchronise;
extern std::function<void()> Before_Commit;
}

#endif
