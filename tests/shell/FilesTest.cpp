// Saving files: the name and type a dialog's answer saves under, Qt's own dialog
// in Russian as the programs start it, and the whole-or-nothing write.
#include "shell/ui/Files.h"

#include "../support/ProgramStart.h"
#include "shell/ui/Application.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

const QStringList pictures{"Изображение PNG (*.png)", "Рисунок SVG (*.svg)"};

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing");
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(ResolveSaveTargetTest, TheNameNeverContradictsTheType)
{
    struct Case {
        QString path;
        int filter;
        shell::SaveTarget expected;
    };
    const std::vector<Case> cases{
        {"/d/typed.jpg", 0, {"/d/typed.jpg.png", 0}},
        {"/d/typed.jpg", 1, {"/d/typed.jpg.svg", 1}},
        {"/d/typed", 1, {"/d/typed.svg", 1}},
        {"/d/typed.png", 0, {"/d/typed.png", 0}},
        // A typed extension of another offered type chooses that type.
        {"/d/typed.svg", 0, {"/d/typed.svg", 1}},
        {"/d/typed.PNG", 1, {"/d/typed.PNG", 0}},
        // A type that was not offered counts as the first.
        {"/d/typed.svg", -1, {"/d/typed.svg", 1}},
        {"/d/typed.jpg", -1, {"/d/typed.jpg.png", 0}},
        {"/d/typed.jpg", 2, {"/d/typed.jpg.png", 0}},
    };
    for (const Case& c : cases) {
        const shell::SaveTarget target = shell::resolveSaveTarget(c.path, c.filter, pictures);
        EXPECT_EQ(target.path, c.expected.path) << c.path.toStdString() << " " << c.filter;
        EXPECT_EQ(target.filter, c.expected.filter) << c.path.toStdString() << " " << c.filter;
    }
    // Of two types with one extension, the chosen one stays.
    const QStringList data{"Времена отклика, CSV (*.csv)", "Точки гистограммы, CSV (*.csv)"};
    EXPECT_EQ(shell::resolveSaveTarget("/d/data.csv", 1, data).filter, 1);
}

// Each modal window, as it opens, gets the next of `steps`, as a user would
// answer it; once the steps are done or one has failed, it is closed instead.
std::unique_ptr<QTimer> answerModals(std::vector<std::function<void(QWidget*)>> steps)
{
    auto timer = std::make_unique<QTimer>();
    auto next = std::make_shared<std::size_t>(0);
    shell::connectGuarded(timer.get(), &QTimer::timeout, timer.get(), [steps, next] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible())
            return;
        if (*next == steps.size() || testing::Test::HasFailure())
            modal->close();
        else
            steps[(*next)++](modal);
    });
    timer->start(20);
    return timer;
}

void typeName(QWidget* dialog, const QString& name)
{
    auto* field = dialog->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(field, nullptr);
    field->setText(name);
    QTest::keyClick(field, Qt::Key_Return);
}

// The programs' start-up gives Qt's dialogs in Russian; a typed extension of no
// offered type gets the chosen one's, and replacing the file of that name is
// asked about, a "no" returning to the dialog.
TEST(SaveDialogTest, QtsDialogSpeaksRussianAndAsksBeforeReplacingTheNameItSavesUnder)
{
    ProgramStart start("velmora");
    start.application.Initialize();
    QTemporaryDir folder;
    const QString existing = folder.filePath("typed.jpg.png");
    write(existing, "old");
    QString saveButton;
    QString question;
    const auto answers = answerModals({
        [&](QWidget* dialog) {
            saveButton = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save)->text();
            typeName(dialog, folder.filePath("typed.jpg"));
        },
        [&](QWidget* box) {
            auto* message = qobject_cast<QMessageBox*>(box);
            ASSERT_NE(message, nullptr);
            question = message->text();
            QTest::mouseClick(message->button(QMessageBox::No), Qt::LeftButton);
        },
        [&](QWidget* dialog) { typeName(dialog, folder.filePath("fresh")); },
    });
    const auto target = shell::askSavePath(nullptr, "Сохранить изображение", pictures);
    EXPECT_EQ(saveButton, "&Сохранить");
    EXPECT_EQ(question, "Файл «" + QDir::toNativeSeparators(existing) + "» уже существует. Заменить его?");
    ASSERT_TRUE(target.has_value());
    EXPECT_EQ(target->path, folder.filePath("fresh.png"));
    EXPECT_EQ(target->filter, 0);
    EXPECT_EQ(contents(existing), "old");
}

// A failed write leaves an existing file as it was and says so; a write that
// succeeds replaces it, leaving nothing else behind.
TEST(SaveFileTest, ReplacesAnExistingFileWholeOrNotAtAll)
{
    QStringList messages;
    shell::setErrorDisplay([&messages](const QString& message) { messages.append(message); });
    QTemporaryDir folder;
    const QString path = folder.filePath("data.csv");
    write(path, "old");
    EXPECT_FALSE(shell::saveFile(path, [](QIODevice& device) { return device.write("new, but cut") < 0; }));
    EXPECT_EQ(contents(path), "old");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages.front(),
              "Не удалось сохранить файл «" + QDir::toNativeSeparators(path)
                  + "»: запись не удалась, возможно, диск заполнен");
    EXPECT_TRUE(shell::saveFile(path, [](QIODevice& device) { return device.write("new") == 3; }));
    EXPECT_EQ(contents(path), "new");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"data.csv"});
    EXPECT_EQ(messages.size(), 1);
    shell::setErrorDisplay(nullptr);
}

}  // namespace
