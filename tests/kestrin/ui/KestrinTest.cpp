// The inventory window driven through its fields and button.
#include "kestrin/ui/Kestrin.h"

#include "shell/Application.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace kestrin {
namespace {

class KestrinTest : public testing::Test {
protected:
    KestrinTest()
    {
        shell::setErrorDisplay([this](const QString& message) { messages.append(message); });
    }
    ~KestrinTest() override
    {
        shell::setErrorDisplay(nullptr);
        QLocale::setDefault(QLocale::c());
    }

    QLineEdit* field(const QString& name)
    {
        auto* found = form.findChild<QLineEdit*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    void type(const QString& name, const QString& text) { field(name)->setText(text); }
    QString L() { return field("L")->text(); }
    // A press that must stop with exactly this message and leave L alone.
    void expectRejected(const QString& message)
    {
        const QString before = L();
        press();
        ASSERT_EQ(messages.size(), 1);
        EXPECT_EQ(messages.front(), message);
        EXPECT_EQ(L(), before);
        messages.clear();
    }
    void press() { QTest::mouseClick(form.findChild<QPushButton*>("Button1"), Qt::LeftButton); }
    // Orders of 3 against a daily demand near 5 make every good run short.
    void makeGoodsRunShort()
    {
        for (int n = 1; n <= 10; ++n) {
            type(QStringLiteral("Edit%1").arg(n), "3");
            type(QStringLiteral("Edit%1").arg(n + 10), "0");
        }
    }

    QStringList messages;
    TForm1 form;
};

TEST_F(KestrinTest, StartTextsLoseNothing)
{
    EXPECT_EQ(form.windowTitle(), "Form1");
    press();
    EXPECT_EQ(L(), "0");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(KestrinTest, DaysAreCappedAt250AndShownWhileRunning)
{
    type("G", "300");
    QSignalSpy shown(field("L"), &QLineEdit::textChanged);
    press();
    ASSERT_EQ(shown.size(), 251);
    for (int day = 1; day <= 250; ++day)
        ASSERT_EQ(shown[day - 1][0].toString(), QString::number(day));
    EXPECT_EQ(shown.back()[0].toString(), L());
}

TEST_F(KestrinTest, FirstBadFieldInReadingOrderIsReportedAndLIsKept)
{
    type("Edit5", "x5");
    type("Edit15", "y15");
    expectRejected("Порог, товар 5: \"y15\" — не число");
    type("Edit15", "1e39");
    type("Edit5", "100");
    expectRejected("Порог, товар 5: \"1e39\" — число вне допустимого диапазона");
    type("Edit15", "100");
    type("Edit5", "x5");
    type("G", "y");
    expectRejected("Заказ, товар 5: \"x5\" — не число");
}

TEST_F(KestrinTest, ErrorDuringTheDaysPutsLBack)
{
    type("L", "before");
    type("Edit1", "-3e9");
    press();
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(L(), "before");
}

TEST_F(KestrinTest, AcceptsEitherDecimalSeparatorButNoFractionalDays)
{
    type("Edit3", "1,5");
    type("Edit13", "1.5");
    press();
    EXPECT_TRUE(messages.isEmpty());
    type("G", "2.5");
    expectRejected("Число дней моделирования: \"2.5\" — не целое число");
}

// No day simulated means no share of unmet demand, not a share of 0.
TEST_F(KestrinTest, FewerThanOneDayIsRejected)
{
    press();
    for (const QString days : {"0", "-4"}) {
        type("G", days);
        expectRejected("Число дней моделирования: \"" + days + "\" — должно быть не меньше 1");
    }
}

TEST_F(KestrinTest, LIsAReadOnlyResultThatTabReachesAndCopies)
{
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    makeGoodsRunShort();
    press();
    const QString result = L();
    field("Edit20")->setFocus();
    for (const char* next : {"Button1", "G", "L"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget()->objectName(), next);
    }
    QTest::keyClicks(field("L"), "123");
    QTest::keyClick(field("L"), Qt::Key_Backspace);
    EXPECT_EQ(L(), result);
    QTest::keyClick(field("L"), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field("L"), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), result);
}

TEST_F(KestrinTest, AssistiveToolsHearEachFieldsColumnAndGood)
{
    const auto text = [this](const char* name, QAccessible::Text kind) {
        return QAccessible::queryAccessibleInterface(field(name))->text(kind);
    };
    EXPECT_EQ(text("Edit3", QAccessible::Name), "Заказ, товар 3");
    EXPECT_EQ(text("Edit13", QAccessible::Name), "Порог, товар 3");
    EXPECT_EQ(text("Edit20", QAccessible::Name), "Порог, товар 10");
    EXPECT_EQ(text("G", QAccessible::Name), "Число дней моделирования");
    EXPECT_EQ(text("L", QAccessible::Name), "L");
    press();
    EXPECT_EQ(text("L", QAccessible::Value), "0");
}

TEST_F(KestrinTest, WindowKeepsItsDesignedPlaceAndSize)
{
    EXPECT_EQ(form.pos(), QPoint(220, 94));
    EXPECT_EQ(form.minimumSize(), form.size());
    EXPECT_EQ(form.maximumSize(), form.size());
}

TEST_F(KestrinTest, ResultUsesTheLocaleDecimalSeparator)
{
    makeGoodsRunShort();
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    press();
    EXPECT_TRUE(L().startsWith("0,")) << L().toStdString();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    press();
    EXPECT_TRUE(L().startsWith("0.")) << L().toStdString();
}

TEST_F(KestrinTest, EachPressDrawsFreshDemands)
{
    makeGoodsRunShort();
    press();
    const QString first = L();
    press();
    EXPECT_NE(L(), first);
}

}  // namespace
}  // namespace kestrin
