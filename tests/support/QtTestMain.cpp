// GoogleTest entry for window tests: one application object, by default on an
// offscreen desktop of 1280 x 1024, and settings that the windows keep between
// starts held in a folder of the process' own, empty at the start of each test,
// so that no test sees what another or the user left.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class FreshSettings : public testing::EmptyTestEventListener {
public:
    explicit FreshSettings(QString folder)
        : folder_(std::move(folder))
    {
    }
    void OnTestStart(const testing::TestInfo&) override
    {
        QDir(folder_).removeRecursively();
        QDir().mkpath(folder_);
    }

private:
    QString folder_;
};

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" TEST_SCREENS "/desktop.json");
    const QTemporaryDir home;
    const QString config = home.filePath(QStringLiteral("config"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
    QApplication application(argc, argv);
#ifdef TEST_PROGRAM
    QApplication::setApplicationName(QStringLiteral(TEST_PROGRAM));
#endif
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new FreshSettings(config));
    return RUN_ALL_TESTS();
}
