#pragma once

#include <QString>
#include <QStringView>

// The About window's texts. The fixed ones are kept exactly as the program
// has always shown them, half-width katakana, U+201D quotes and full-width
// brackets included: they are part of its character.
namespace velt::about_texts {

inline constexpr char16_t kDescription[] = u"単なる”文字遊び”の一種です（もぬ）。まぁジョークソフトの一種ってトコでしょうか？";
inline constexpr char16_t kDisclaimer[] = u"警告: このソフトの使用が元でのシステムの破損、故障、友人と縁が切れても一切の責任はとりませんので悪しからず。";
inline constexpr char16_t kSystemInformationButton[] = u"ｼｽﾃﾑ情報(&S)...";
inline constexpr char16_t kOkButton[] = u"OK";

// "<title>のﾊﾞｰｼﾞｮﾝ情報": the window caption.
QString caption(QStringView title);

// "ﾊﾞｰｼﾞｮﾝ <major>.<minor>.<revision>", each number in plain decimal digits.
QString versionLabel(int major, int minor, int revision);

} // namespace velt::about_texts
