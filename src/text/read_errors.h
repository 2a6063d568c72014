#pragma once

#include "text/regular_file.h"
#include "runtime/runtime_error.h"
#include "text/text_encoding.h"

// The errors reading a text file raises, in one place, so that every reader
// of the same rules (the fuzzer's plain one too) words them alike.
namespace velt::readError {

RuntimeError notFound(const QString &fileName);
RuntimeError notRegular(const QString &fileName, FileKind kind);
RuntimeError cannotOpen(const QString &fileName, const SystemError &error);
RuntimeError deviceFailed(const QString &fileName, const QString &reason);
RuntimeError utf16WithoutMark(const QString &fileName);
RuntimeError undecodable(const QString &fileName, int line, TextEncoding encoding);
RuntimeError notText(const QString &fileName, int line);
RuntimeError fieldTooLong(const QString &fileName, int entry, int line);

} // namespace velt::readError
