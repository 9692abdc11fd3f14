#ifndef SPECINPUTCHECK_H
#define SPECINPUTCHECK_H

#include <QString>

#include "spec/spectext.h"

// Why `input` would give a spec with lines or sections nobody typed, or an
// empty string when it is safe to write: a one-line value (variable name or
// value, path expression, required package, packager) holding a line break
// or another control character; a description or change-log line holding
// a control character other than a tab; a one-line value longer than
// Line_Value_Max_Length, or a description or change log longer than
// Text_Value_Max_Length; or a variable name, path expression,
// description line or change-log line whose first word is a spec section
// keyword such as "%pre" (rpmbuild would open that section there, also when
// the keyword is reached through "%%" or a macro that expands to nothing).
// Text that merely holds a "%", as in "%{name}", is safe. The message names
// the field and shows the value as Shown_Value does.
QString Spec_Input_Refusal(const TSpecInput& input);

#endif
