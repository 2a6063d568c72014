#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace velt::test {

// What one run of a program left: its status, its output as bytes, and its
// errors as text. A run that did not end by itself within 30 seconds, or
// crashed, has the status -1.
struct ProgramRun
{
    int exitCode = -1;
    QByteArray out;
    QString err;
};

// `output`, when set, is the file standard output goes to.
inline ProgramRun runProgram(const QString &program, const QStringList &args,
                             const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
                             const QString &output = {})
{
    QProcess process;
    process.setProcessEnvironment(environment);
    if (!output.isEmpty())
        process.setStandardOutputFile(output);
    process.start(program, args);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
}

} // namespace velt::test
