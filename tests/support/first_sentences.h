#pragma once

// What a freshly started program draws from the lists of
// ListDir::writeDefaultLists(), written out: the generator always starts
// from the same state, so these change only when the drawing does.

#include <QStringList>

namespace velt::test {

// The first forty sentences, in the order they are drawn.
inline const QStringList kFirstSentences = {
    QStringLiteral("今日、花子と太郎が公園で歌った"),
    QStringLiteral("昨日、次郎と太郎が公園で歌った"),
    QStringLiteral("今日、花子と次郎が駅で踊った"),
    QStringLiteral("今日、花子と次郎が公園で歌った"),
    QStringLiteral("昨日、太郎と花子が駅で踊った"),
    QStringLiteral("昨日、次郎と花子が駅で歌った"),
    QStringLiteral("昨日、次郎と太郎が駅で踊った"),
    QStringLiteral("今日、次郎と太郎が駅で踊った"),
    QStringLiteral("昨日、次郎と太郎が公園で踊った"),
    QStringLiteral("昨日、太郎と次郎が駅で踊った"),
    QStringLiteral("昨日、太郎と花子が公園で踊った"),
    QStringLiteral("今日、太郎と花子が公園で踊った"),
    QStringLiteral("今日、太郎と花子が駅で踊った"),
    QStringLiteral("今日、花子と太郎が駅で歌った"),
    QStringLiteral("今日、花子と太郎が駅で歌った"),
    QStringLiteral("今日、次郎と太郎が駅で歌った"),
    QStringLiteral("昨日、次郎と花子が駅で踊った"),
    QStringLiteral("昨日、花子と太郎が公園で踊った"),
    QStringLiteral("今日、太郎と花子が公園で踊った"),
    QStringLiteral("昨日、花子と太郎が駅で歌った"),
    QStringLiteral("昨日、次郎と花子が駅で踊った"),
    QStringLiteral("昨日、次郎と花子が駅で歌った"),
    QStringLiteral("今日、太郎と花子が駅で歌った"),
    QStringLiteral("今日、太郎と次郎が公園で踊った"),
    QStringLiteral("昨日、次郎と花子が公園で歌った"),
    QStringLiteral("昨日、花子と太郎が公園で踊った"),
    QStringLiteral("今日、太郎と次郎が公園で踊った"),
    QStringLiteral("昨日、次郎と太郎が駅で踊った"),
    QStringLiteral("昨日、太郎と次郎が公園で踊った"),
    QStringLiteral("昨日、太郎と花子が公園で踊った"),
    QStringLiteral("昨日、次郎と花子が駅で歌った"),
    QStringLiteral("昨日、花子と太郎が駅で踊った"),
    QStringLiteral("今日、太郎と次郎が駅で踊った"),
    QStringLiteral("昨日、花子と太郎が駅で踊った"),
    QStringLiteral("昨日、花子と次郎が駅で踊った"),
    QStringLiteral("今日、次郎と花子が公園で踊った"),
    QStringLiteral("今日、太郎と花子が駅で歌った"),
    QStringLiteral("今日、花子と太郎が駅で踊った"),
    QStringLiteral("今日、次郎と花子が公園で踊った"),
    QStringLiteral("昨日、花子と太郎が駅で踊った"),
};

// The SHA-256 of `velt-print 2000`'s output (UTF-8, LF line ends).
inline constexpr char kSha256Of2000Sentences[] = "cb3ba821a87529c100b8577228e7d3c7e945910c927cc88b1de26d9b2f144b54";

} // namespace velt::test
