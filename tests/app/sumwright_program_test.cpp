// The real program, started on a throw-away settings folder and ended by a signal.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

namespace {

// Whether process `pid` has a handler of its own for `signal`: it is ready for it.
bool catches(qint64 pid, int signal)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signal - 1) & 1) != 0;
    }
    return false;
}

}  // namespace

TEST(SumwrightProgram, ASignalEndsItStoringTheInputAsClosingTheWindowDoes)
{
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        const QTemporaryDir home;
        const QString config = home.filePath(QStringLiteral("config"));
        ASSERT_TRUE(QDir().mkpath(config + QStringLiteral("/Sumwright")));
        const QString path = config + QStringLiteral("/Sumwright/Sumwright.conf");
        {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            // Storing the input rewrites the file without the comment.
            file.write("; as the test wrote it\n[Settings]\nSaveIndicator=True\nFormula=x^2+y\n"
                       "X=z+1.5\nY=3\nZ=1.5\n");
        }
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
        program.setProcessEnvironment(environment);
        // The program keeps a signal ignored that it started with ignored, as a test runner in
        // the background may leave SIGINT.
        program.setChildProcessModifier([signal] { ::signal(signal, SIG_DFL); });
        program.start(QStringLiteral(SUMWRIGHT_PROGRAM), QStringList());
        ASSERT_TRUE(program.waitForStarted());
        EXPECT_TRUE(QTest::qWaitFor([&] { return catches(program.processId(), signal); }, 30000));

        ASSERT_EQ(::kill(static_cast<pid_t>(program.processId()), signal), 0);
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_FALSE(file.readAll().contains("; as the test wrote it")) << "nothing stored";
        const QSettings stored(path, QSettings::IniFormat);
        const QStringList expected = {"True", "x^2+y", "z+1.5", "3", "1.5"};
        QStringList values;
        for (const char* key : {"SaveIndicator", "Formula", "X", "Y", "Z"})
            values.append(stored.value(QStringLiteral("Settings/") + key).toString());
        EXPECT_EQ(values, expected);
    }
}
