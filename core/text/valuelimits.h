#ifndef VALUELIMITS_H
#define VALUELIMITS_H

#include <QString>

// The bounds every value read from a data file, a project file or the
// command line is held to, and the words that tell a value is out of them.
// The bottom of core: it includes nothing of the program's own.

// The longest one-line value (a variable, a path expression, a name, a
// detection choice), in characters: far above any path the system takes.
extern const int Line_Value_Max_Length;

// The longest text of many lines (the description, the change log), in
// characters.
extern const int Text_Value_Max_Length;

// Whether `character` is a control character (line feed, tab, ...).
bool Is_Control_Character(QChar character);

// Whether `text` holds a control character other than those in `allowed`.
bool Has_Control_Character(const QString& text, const QString& allowed = QString());

// Why `value` cannot be one line of a file, as the end of a sentence that
// begins with what it is ("holds a line break or another control character:
// 'a\x0Ab'"); empty when it can.
QString Line_Value_Problem(const QString& value);

// The same for a text of lines: a control character other than a line feed,
// a tab or one of `also_allowed`, or a length beyond Text_Value_Max_Length.
QString Text_Value_Problem(const QString& text, const QString& also_allowed = QString());

// `value` as a message shows it: each control character written as "\xNN",
// and a long value cut after its first characters, with its length.
QString Shown_Value(const QString& value);

#endif
