#pragma once

#include "os/system_info.h"

#include <QString>

namespace velt {

class MessageReporter;

// The About window's system-information button: finds the system-information
// program through two fixed registry locations and starts it, or tells the
// user it is unavailable. All it reads and starts goes through SystemInfo;
// its one message goes through the MessageReporter.
class SysInfoLauncher
{
public:
    // Data longer than this does not fit the read buffer and counts as absent.
    static constexpr qsizetype BufferSize = 1024;

    SysInfoLauncher(SystemInfo &system, MessageReporter &reporter);

    // Starts the program named by "PATH" under
    // "SOFTWARE\Microsoft\Shared Tools\MSINFO", untested; failing that, the
    // file "MSINFO32.EXE" in the folder named by "MSINFO" under
    // "SOFTWARE\Microsoft\Shared Tools Location", if it exists. Every
    // failure, an error inside included, ends in the one message
    // "現時点ではｼｽﾃﾑ情報を使用できません"; nothing is passed on to the caller.
    void StartSysInfo();

    // Reads the value `SubKeyRef` of the key `KeyName` below `KeyRoot` into
    // `KeyVal`: a text value (type 1) as code page 932 text, a 32-bit number
    // (type 4) through formatGeneral(hexNumberText(n)); a value of any other
    // type, or text that is not code page 932, is read but leaves `KeyVal`
    // as it was. One final zero byte is
    // dropped first. False, with `KeyVal` emptied, when the key cannot be
    // opened for reading or the value is missing or longer than BufferSize.
    bool GetKeyValue(registry::Root KeyRoot, const QString &KeyName, const QString &SubKeyRef,
                     QString &KeyVal);

    // The one message for every failure of the launch.
    static QString unavailableMessage();

private:
    bool launch();

    SystemInfo &m_system;
    MessageReporter &m_reporter;
};

} // namespace velt
