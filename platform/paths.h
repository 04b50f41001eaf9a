// The program folder and stored paths.
//
// Linkora works in its program folder (its working folder): per user
// $XDG_DATA_HOME/linkora, or the folder given with --folder DIR. A new folder
// is seeded from the installed defaults beside the executable. Stored paths
// keep the bytes they were written with (".\resource\sound\wav\bird.wav");
// file access maps "\" to "/".
#pragma once

#include <QString>
#include <QStringList>

namespace paths {

// Chooses the program folder from the command line (--folder DIR) or the
// default, creates and seeds it, makes it the working folder. Returns false
// with a reason when the folder cannot be used.
bool InitProgramFolder(const QStringList& args, QString* error = nullptr);
// Uses dir as the program folder (seeding it) and makes it the working folder.
bool UseProgramFolder(const QString& dir, QString* error = nullptr);
QString ProgramFolder();
// The folder the installed defaults live in (<executable dir>/share, or
// LINKORA_SHARE), and the language libraries (<executable dir>/language).
QString SharedDefaultsFolder();
QString InstalledLanguageFolder();

// A stored path ("\" separators, maybe relative) as a local path.
QString NativePath(const QString& stored);
// The program folder followed by a stored relative name such as "\allconfig.ran".
QString InFolder(const QString& storedName);

}  // namespace paths
