// "О программе": what the box says, and that it leaves the caller going and goes
// with Esc.
#include "shell/ui/About.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

TEST(AboutTest, ShowsNameVersionDescriptionAndLicenceWithoutBlockingAndClosesOnEscape)
{
    const QString name = QCoreApplication::applicationName();
    const QString version = QCoreApplication::applicationVersion();
    QCoreApplication::setApplicationName("kestrin");
    QCoreApplication::setApplicationVersion("1.0");
    QWidget window;
    window.show();
    // Returning at all shows that the caller is not blocked.
    const QPointer<QMessageBox> box = shell::showAboutProgram(&window, "Моделирует склад <десяти> товаров.");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(box));
    EXPECT_EQ(box->windowTitle(), "О программе");
    EXPECT_EQ(box->parentWidget(), &window);
    const QString text = box->text() + box->informativeText();
    for (const char* part : {"<b>kestrin</b>, версия 1.0", "Моделирует склад &lt;десяти&gt; товаров.", "лицензии MIT"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part;
    EXPECT_TRUE(box->detailedText().startsWith("MIT License"));
    EXPECT_TRUE(box->detailedText().contains("Permission is hereby granted, free of charge"));
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&box] { return box.isNull(); }, 1000));
    QCoreApplication::setApplicationName(name);
    QCoreApplication::setApplicationVersion(version);
}

}  // namespace
