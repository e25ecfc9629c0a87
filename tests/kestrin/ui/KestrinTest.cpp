// The inventory window driven through its fields and button.
#include "kestrin/ui/Kestrin.h"

#include "../../support/BadInputs.h"
#include "../../support/ProgramStart.h"
#include "../../support/ScreenFit.h"
#include "shell/ui/Application.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

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
        for (int n = 1; n <= 10; ++n)
            type(QStringLiteral("Edit%1").arg(n), "3");
    }

    QStringList messages;
    TForm1 form;
};

TEST_F(KestrinTest, StartsAtItsDesignedPlaceAndSizeWithItsTexts)
{
    EXPECT_EQ(form.windowTitle(), "Form1");
    EXPECT_EQ(form.pos(), QPoint(220, 94));
    EXPECT_EQ(form.minimumSize(), form.size());
    EXPECT_EQ(form.maximumSize(), form.size());
    EXPECT_EQ(form.size(), QSize(490, 448 + form.menuBar()->sizeHint().height()));
    const std::vector<std::pair<const char*, QString>> captions{
        {"Label1", "Заказ оптового склада предприятия на следующий день"},
        {"Label2",
         "Минимальное число мест на оптовом складе под товар j, при которос еще не требуется "
         "дополнительных закупок на предприятии"},
        {"Label3", ""},
        {"Label4", "Число дней моделирования"},
        {"Label5", "L:"}};
    for (const auto& [name, caption] : captions)
        EXPECT_EQ(form.findChild<QLabel*>(name)->text(), caption) << name;
    EXPECT_EQ(form.findChild<QPushButton*>("Button1")->text(), "Посчитать");
    press();
    EXPECT_EQ(L(), "0");
    EXPECT_TRUE(messages.isEmpty());
}

// The days run within one press, so L is written once, with the result.
TEST_F(KestrinTest, LIsWrittenOnceAPress)
{
    type("G", "300");
    QSignalSpy shown(field("L"), &QLineEdit::textChanged);
    press();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown.back()[0].toString(), L());
    EXPECT_TRUE(messages.isEmpty());
}

// Thresholds are read first, then orders, then the day count, which must be a
// whole number of at least 1; an error during the days puts L back.
TEST_F(KestrinTest, RejectedPressesReportTheFirstBadFieldAndKeepL)
{
    type("Edit5", "x5");
    type("Edit15", "y15");
    type("G", "0");
    expectRejected("Порог, товар 5: \"y15\" — не число");
    type("Edit15", "1e39");
    expectRejected("Порог, товар 5: \"1e39\" — число вне допустимого диапазона");
    type("Edit15", "100");
    expectRejected("Заказ, товар 5: \"x5\" — не число");
    type("Edit5", "100");
    expectRejected("Число дней моделирования: \"0\" — должно быть не меньше 1");
    type("G", "2.5");
    expectRejected("Число дней моделирования: \"2.5\" — не целое число");
    // A long text is cut as every message cuts it.
    type("G", "-" + QString(100000, '0'));
    expectRejected("Число дней моделирования: \"-" + QString(39, '0') + "…\" — должно быть не меньше 1");
    type("G", "100");
    type("Edit1", "-0.5");
    expectRejected("Заказ, товар 1: \"-0.5\" — должно быть не меньше 0");
    // An order of 0 is accepted, and a negative threshold acts as 0.
    type("Edit1", "0");
    type("Edit11", "-5");
    press();
    EXPECT_TRUE(messages.isEmpty());
    type("Edit1", "3e38");
    type("Edit11", "3.4e38");
    expectRejected("Количество товара вне допустимого диапазона");
}

TEST_F(KestrinTest, LIsANamedReadOnlyResultThatTabReachesAndCopies)
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
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(field("L"));
    EXPECT_EQ(accessible->text(QAccessible::Name), "L");
    EXPECT_EQ(accessible->text(QAccessible::Value), result);
}

// Every press reseeds, so two presses differ; the result follows the locale.
TEST_F(KestrinTest, EachPressDrawsAFreshResultInTheLocalesFormat)
{
    makeGoodsRunShort();
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    press();
    const QString first = L();
    EXPECT_TRUE(first.startsWith("0,")) << first.toStdString();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    press();
    EXPECT_TRUE(L().startsWith("0.")) << L().toStdString();
    EXPECT_NE(QString(L()).replace('.', ','), first);
}

// Every field with every kind of bad text: the press shows exactly one message,
// which names the field's column and good (or the day count), and leaves L as it
// was; a fraction is fine but in the day count.
TEST_F(KestrinTest, EveryBadTextInEveryFieldIsReportedByTheFieldsName)
{
    std::vector<std::pair<QString, QString>> fields{{"G", "Число дней моделирования"}};
    for (int good = 1; good <= 10; ++good) {
        fields.emplace_back(QStringLiteral("Edit%1").arg(good), QStringLiteral("Заказ, товар %1").arg(good));
        fields.emplace_back(QStringLiteral("Edit%1").arg(good + 10), QStringLiteral("Порог, товар %1").arg(good));
    }
    for (const auto& [name, fieldName] : fields) {
        auto* edit = field(name);
        const QString valid = edit->text();
        // Only the day count must be whole, and at least 1.
        QStringList bad = notNumbers();
        if (name == "G")
            bad += fractions() + QStringList{"0", "-3"};
        for (const QString& text : bad) {
            SCOPED_TRACE((name + " \"" + text.left(20) + "\"").toStdString());
            type("L", "before");
            edit->setText(text);
            press();
            ASSERT_EQ(messages.size(), 1);
            EXPECT_TRUE(messages.front().startsWith(fieldName + ": ")) << messages.front().toStdString();
            EXPECT_EQ(L(), "before");
            messages.clear();
            edit->setText(valid);
        }
        // Either decimal separator is fine where a fraction is.
        if (name != "G")
            edit->setText(fractions().value(name.size() % 2));
        press();
        ASSERT_TRUE(messages.isEmpty()) << messages.value(0).toStdString();
        ASSERT_NE(L(), "before");
        edit->setText(valid);
    }
}

TEST(StartupTest, FormGlobalNamesTheWindowWhileTheApplicationLives)
{
    {
        ProgramStart start("kestrin");
        start.application.Initialize();
        start.application.CreateForm(Form1);
        EXPECT_EQ(start.application.forms().front().get(), Form1);
    }
    EXPECT_EQ(Form1, nullptr);
}

// The rows have no labels, so each field shows its name on a tooltip event; after
// a message about a field, it has the focus with its text selected.
TEST_F(KestrinTest, FieldsShowTheirNamesAndTakeTheFocusAfterAMessage)
{
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    for (const QString& name : {QStringLiteral("Edit3"), QStringLiteral("Edit13")}) {
        QToolTip::hideText();
        ASSERT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 1000));
        QHelpEvent event(QEvent::ToolTip, QPoint(2, 2), field(name)->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(field(name), &event);
        EXPECT_EQ(QToolTip::text(), field(name)->accessibleName());
        EXPECT_EQ(QAccessible::queryAccessibleInterface(field(name))->text(QAccessible::Description),
                  field(name)->accessibleName());
    }
    EXPECT_EQ(field("Edit3")->toolTip(), "Заказ, товар 3");
    EXPECT_EQ(field("Edit13")->toolTip(), "Порог, товар 3");
    for (const auto& [name, text] : {std::pair{"Edit13", "y"}, {"Edit2", "-1"}, {"G", "0"}}) {
        const QString valid = field(name)->text();
        type(name, text);
        QTest::mouseClick(form.findChild<QPushButton*>("Button1"), Qt::LeftButton);
        ASSERT_EQ(messages.size(), 1) << name;
        EXPECT_EQ(QApplication::focusWidget(), field(name)) << name;
        EXPECT_EQ(field(name)->selectedText(), text) << name;
        messages.clear();
        type(name, valid);
    }
}

// Run again on a small screen and at scale factor 2 (see tests/CMakeLists.txt).
using ScreenFitTest = KestrinTest;
TEST_F(ScreenFitTest, TheWindowAndEveryFieldStayWithinReach)
{
    QStringList chain;
    for (int n = 1; n <= 20; ++n)
        chain << QStringLiteral("Edit%1").arg(n);
    expectFitsTheScreen(form, QPoint(220, 94), QSize(490, 448),
                        chain << "Button1"
                              << "G"
                              << "L");
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
}

}  // namespace
}  // namespace kestrin
