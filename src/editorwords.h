#ifndef EDITORWORDS_H
#define EDITORWORDS_H

#include <QString>

// The editor's own words for what the shared code reports: a plain sentence
// for each of the terse texts of the data files and the spec writer (those
// beginning "ERR"), and the names of the window's own fields where a text
// names a command-line option. Other texts get a capital letter, unless
// they begin with a program's name, and a full stop.
QString Editor_Words(const QString& text);

#endif
