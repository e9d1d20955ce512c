// Two real editor processes: a file the desktop hands to a second one goes to the first,
// unless "MultiInst" is 1 or the command line is a plain one.

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QUuid>

#include "app/qt_settings_store.h"
#include "app_fixtures.h"
#include "support/temp_file.h"

namespace anitrope::test {
namespace {

constexpr int kWaitMs = 60000;

class TwoInstances : public ::testing::Test {
protected:
    void SetUp() override {
        gif = dir / "handed.gif";
        WriteTestGif(gif, 2, 6, 6);
        environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("ANITROPE_SETTINGS", QString::fromStdString(dir / "settings.conf"));
        environment.insert("ANITROPE_INSTANCE", "anitrope-test-" + QUuid::createUuid().toString(QUuid::Id128));
        environment.insert("ANITROPE_TRACE", "1");
    }
    void TearDown() override {
        for (QProcess* process : {&first, &second}) {
            process->kill();
            process->waitForFinished(kWaitMs);
        }
    }
    void Start(QProcess& process, const QStringList& args) {
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::SeparateChannels);
        process.start(ANITROPE_APP_BINARY, args);
        ASSERT_TRUE(process.waitForStarted(kWaitMs));
    }
    // The next line the process prints.
    QString NextLine(QProcess& process) {
        while (!process.canReadLine())
            if (!process.waitForReadyRead(kWaitMs)) return "<no line: " + process.readAllStandardError() + ">";
        return QString::fromUtf8(process.readLine()).trimmed();
    }
    void SetMultiInst(uint32_t value) {
        QtSettingsStore store(dir / "settings.conf");
        store.WriteNumber("MultiInst", value);
        ASSERT_TRUE(store.Flush());
    }

    TempDir dir;
    std::string gif;
    QProcessEnvironment environment;
    QProcess first, second;
};

TEST_F(TwoInstances, TheDesktopsFileGoesToTheRunningEditor) {
    Start(first, {});
    ASSERT_EQ(NextLine(first), "listening");
    Start(second, {"--desktop", QString::fromStdString(gif)});
    ASSERT_TRUE(second.waitForFinished(kWaitMs));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(NextLine(first), QString::fromStdString("opened " + gif));
    // The hand-over value is taken out of the store once read.
    QtSettingsStore store(dir / "settings.conf");
    EXPECT_FALSE(store.ReadText("Temp0"));
}

TEST_F(TwoInstances, WithMultiInstTheSecondOpensTheFileItself) {
    SetMultiInst(1);
    Start(first, {});
    ASSERT_EQ(NextLine(first), "listening");
    Start(second, {"--desktop", QString::fromStdString(gif)});
    EXPECT_EQ(NextLine(second), QString::fromStdString("opened " + gif));
    EXPECT_EQ(second.state(), QProcess::Running);
}

TEST_F(TwoInstances, APlainCommandLineAlwaysOpensInTheNewInstance) {
    Start(first, {});
    ASSERT_EQ(NextLine(first), "listening");
    Start(second, {QString::fromStdString(gif)});
    EXPECT_EQ(NextLine(second), QString::fromStdString("opened " + gif));
    EXPECT_EQ(second.state(), QProcess::Running);
}

}  // namespace
}  // namespace anitrope::test
