// The inventory window driven through its fields and button.
#include "kestrin/ui/Kestrin.h"

#include "shell/Application.h"

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
    // A press that must stop with one message quoting `text` and leave L alone.
    void expectRejected(const QString& text)
    {
        type("L", "before");
        press();
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages.front().contains(text));
        EXPECT_EQ(L(), "before");
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
    expectRejected("y15");
    type("Edit15", "1e39");
    type("Edit5", "100");
    expectRejected("1e39");
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
    expectRejected("2.5");
}

TEST_F(KestrinTest, NoDaysShowsZero)
{
    type("G", "-4");
    press();
    EXPECT_EQ(L(), "0");
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

} // namespace
} // namespace kestrin
