#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace velt::fuzz {

// The list reader's rules written as plainly as they can be: the whole file
// decoded first, then read one character at a time, with no pieces and no
// vector scan. Returns the fields, stopping after the one that makes
// `maxFields`, or raises the RuntimeError the real reader would.
QStringList readFieldsPlainly(QByteArrayView file, const QString &fileName, int maxFields);

// Loads `file` as a list through the real loader and through the plain
// reader, and says how they differ: the same entries, or the same error,
// give an empty text.
QString differenceFromPlainReader(QByteArrayView file);

} // namespace velt::fuzz
