#include "bench_lists.h"

#include "engine/phrase_list.h"
#include "text/cp932.h"

#include <QDir>
#include <QFile>

namespace velt::bench {

FullLists::FullLists(Encoding encoding)
    : m_previous(QDir::currentPath())
{
    const QString stems[] = {QStringLiteral("昨日の夕方"), QStringLiteral("隣の山田さん"),
                             QStringLiteral("校長先生"), QStringLiteral("駅前の屋台"),
                             QStringLiteral("宇宙人と握手した")};
    int slot = 0;
    for (const char16_t *name : kListFiles) {
        QString text;
        for (int i = 1; i <= kListCapacity; ++i)
            text += QStringLiteral("%1その%2\r\n").arg(stems[slot]).arg(i);
        QFile file(m_dir.filePath(QString::fromUtf16(name)));
        const QByteArray bytes = encoding == Encoding::Cp932 ? *cp932::encode(text) : text.toUtf8();
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) < 0)
            qFatal("cannot write benchmark lists");
        ++slot;
    }
    QDir::setCurrent(m_dir.path());
}

FullLists::~FullLists()
{
    QDir::setCurrent(m_previous);
}

} // namespace velt::bench
