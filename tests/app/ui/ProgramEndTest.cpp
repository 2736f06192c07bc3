// The program ends promptly once its main window has closed: nothing it
// started (the transfer and monitoring threads, the port, the demo station)
// may keep the process alive.
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <ctime>

namespace {

long long NowNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

} // namespace

TEST(ProgramEnd, TheProcessEndsWithinATenthsOfASecondOfItsMainWindowClosing) {
    k52test::TempDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // A profile of its own, and no display needed.
    const QString folder = QString::fromStdString(home.path().string());
    environment.insert(QStringLiteral("HOME"), folder);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder + QStringLiteral("/config"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // The leak check of a sanitizer build runs at exit; it is no part of the
    // program's own ending.
    const QString sanitizer = environment.value(QStringLiteral("ASAN_OPTIONS"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"), sanitizer.isEmpty()
                                                           ? QStringLiteral("detect_leaks=0")
                                                           : sanitizer + QStringLiteral(":detect_leaks=0"));

    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QCoreApplication::applicationDirPath() + QStringLiteral("/k52cfg_closing_probe"), {});
    ASSERT_TRUE(program.waitForStarted(10'000)) << program.errorString().toStdString();
    ASSERT_TRUE(program.waitForFinished(90'000)) << "the program did not end";
    const long long ended = NowNanoseconds();

    ASSERT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    const QString output = QString::fromLocal8Bit(program.readAllStandardOutput()).trimmed();
    ASSERT_TRUE(output.startsWith(QStringLiteral("closing "))) << output.toStdString();
    const long long closing = output.mid(8).toLongLong();
    const double seconds = static_cast<double>(ended - closing) / 1e9;
    // An upload and a monitor session ran before: their threads, the port
    // and the demo station are gone with the window.
    EXPECT_LT(seconds, 0.3) << "the process ended " << seconds << " s after its main window closed";
    RecordProperty("seconds_after_close", std::to_string(seconds));
}
