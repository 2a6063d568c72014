#pragma once

#include <QString>
#include <QTemporaryDir>

namespace velt::bench {

// A temporary working folder holding five full (2000-entry) lists of
// realistic Japanese entries, in code page 932 or in UTF-8 (without a
// byte-order mark), made current while it lives.
class FullLists
{
public:
    enum class Encoding { Cp932, Utf8 };
    explicit FullLists(Encoding encoding = Encoding::Cp932);
    ~FullLists();
    QString path() const { return m_dir.path(); }

private:
    QString m_previous;
    QTemporaryDir m_dir;
};

} // namespace velt::bench
