#pragma once

#include <QString>
#include <QStringList>

// The name an item of an editable list gets when its editing ends: the edited
// text, or the text before the edit when the edit left it empty; when another
// item already has that name, the first number from 1 upward is appended that
// makes it unique ("A" -> "A1", "A2", ...).
QString uniqueItemName(const QString& edited, const QString& textBeforeEdit, const QStringList& otherNames);
