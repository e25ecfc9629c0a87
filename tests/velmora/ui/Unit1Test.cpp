// The simulation window driven as a user would: buttons, fields, the selector.
#include "velmora/ui/Unit1.h"

#include "shell/Application.h"
#include "shell/Random.h"
#include "velmora/ui/Chart.h"
#include "velmora/ui/Startup.h"
#include "velmora/ui/Unit2.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cstring>
#include <numeric>

namespace velmora {
namespace {

class Unit1Test : public testing::Test {
protected:
    Unit1Test()
    {
        shell::setErrorDisplay([this](const QString& message) { messages.append(message); });
    }
    ~Unit1Test() override { shell::setErrorDisplay(nullptr); }

    template <typename T = QWidget>
    T* control(const char* name)
    {
        T* found = form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString caption(const char* name) { return control<QLabel>(name)->text(); }
    bool hidden(const char* name) { return control(name)->isHidden(); }
    void type(const char* field, const QString& text) { control<QLineEdit>(field)->setText(text); }
    void press() { QTest::mouseClick(control<QPushButton>("Button1"), Qt::LeftButton); }
    void choose(const char* radio)
    {
        QTest::mouseClick(control<QRadioButton>(radio), Qt::LeftButton, {}, QPoint(5, 8));
    }
    void key(const char* name, int key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(control(name), static_cast<Qt::Key>(key), modifiers);
    }
    void showActive()
    {
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    // Chooses a view in the selector's open list, by keys or by a click on the item.
    void chooseInList(int index, bool byMouse)
    {
        auto* selector = control<QComboBox>("ComboBox1");
        selector->setFocus();
        QTest::keyClick(selector, Qt::Key_Down, Qt::AltModifier);
        auto* list = qobject_cast<QAbstractItemView*>(QApplication::focusWidget());
        ASSERT_NE(list, nullptr);
        if (byMouse) {
            const QPoint item = list->visualRect(list->model()->index(index, 0)).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item);
            return;
        }
        for (int row = selector->currentIndex(); row != index; row += row < index ? 1 : -1)
            QTest::keyClick(list, row < index ? Qt::Key_Down : Qt::Key_Up);
        QTest::keyClick(list, Qt::Key_Return);
    }
    // The controls that Tab visits, starting from the focused one, until it comes back.
    QStringList tabChain()
    {
        QStringList chain;
        for (QWidget* focus = QApplication::focusWidget(); focus && !chain.contains(focus->objectName());
             focus = QApplication::focusWidget()) {
            chain << focus->objectName();
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        return chain;
    }
    // A window-coordinate rectangle, as the form description gives it.
    QRect inWindow(const char* name)
    {
        QWidget* widget = control(name);
        return QRect(widget->mapTo(&form, QPoint(0, 0)), widget->size());
    }
    QList<QList<QPointF>> chart() const
    {
        return {form.Series1->points(), form.Series2->points(), form.Series3->points()};
    }

    QStringList messages;
    TForm1 form;
};

double sumOfY(const QList<QPointF>& points)
{
    return std::accumulate(points.begin(), points.end(), 0.0, [](double sum, QPointF p) { return sum + p.y(); });
}

TEST_F(Unit1Test, StartsWithUniformOnBothSidesAndNoResults)
{
    EXPECT_EQ(caption("Panel1"), "MAX");
    EXPECT_EQ(caption("Panel5"), "MAX");
    for (const char* name : {"Panel2", "Edit2", "Panel6", "Edit6"})
        EXPECT_TRUE(hidden(name)) << name;
    EXPECT_TRUE(control<QRadioButton>("rav")->isChecked());
    EXPECT_TRUE(control<QRadioButton>("rav2")->isChecked());
    auto* selector = control<QComboBox>("ComboBox1");
    EXPECT_FALSE(selector->isEnabled());
    EXPECT_EQ(selector->currentText(), "Все");
    EXPECT_EQ(control<QPushButton>("Button1")->text(), "Смоделировать");
    EXPECT_EQ(control<QGroupBox>("RadioGroup1")->title(), "Распределения появления задач");
    EXPECT_EQ(control<QGroupBox>("GroupBox1")->title(), "Распределение обработки задач");
    const QStringList kinds{"Равномерное", "Эрланга 2го порядка", "Нормальное", "Экспоненциальное"};
    for (const QStringList& set :
         {QStringList{"rav", "erl", "norm", "eksp"}, QStringList{"rav2", "erl2", "norm2", "eksp2"}}) {
        for (int kind = 0; kind < 4; ++kind)
            EXPECT_EQ(control<QRadioButton>(qPrintable(set[kind]))->text(), kinds[kind]);
    }
    QStringList views;
    for (int view = 0; view < selector->count(); ++view)
        views << selector->itemText(view);
    EXPECT_EQ(views, QStringList({"Поток 1", "Поток 2", "Поток 3", "Все"}));
    EXPECT_EQ(control<QLineEdit>("Edit1")->text(), "100");
    EXPECT_EQ(control<QLineEdit>("Edit5")->text(), "50");
    for (const auto& points : chart())
        EXPECT_TRUE(points.isEmpty());
    EXPECT_EQ(form.Series1->title(), "Поток 1");
    EXPECT_EQ(form.Series2->title(), "Поток 2");
    EXPECT_EQ(form.Series3->title(), "Поток 3");
}

struct Arrangement {
    const char* button;
    QString first;
    QString second;  // empty: the second label and field are hidden
};

TEST_F(Unit1Test, RadioButtonsFitTheirOwnSideOnly)
{
    form.show();
    const std::vector<Arrangement> arrival{{"erl", "Lambda 1:", "Lambda 2:"},
                                           {"norm", "Матожидание:", "Дисперсия:"},
                                           {"eksp", "Интенсивность 3 потока:", ""},
                                           {"rav", "MAX:", ""}};
    const std::vector<Arrangement> processing{{"norm2", "Матожидание:", "Дисперсия:"},
                                              {"erl2", "Lambda 1:", "Lambda 2:"},
                                              {"eksp2", "Интенсивность:", ""},
                                              {"rav2", "MAX:", ""}};
    auto check = [this](const std::vector<Arrangement>& steps, const char* first, const char* second,
                        const char* secondField, const char* otherFirst, const char* otherSecondField) {
        for (const Arrangement& step : steps) {
            const QString otherCaption = caption(otherFirst);
            const bool otherHidden = hidden(otherSecondField);
            choose(step.button);
            ASSERT_TRUE(control<QRadioButton>(step.button)->isChecked()) << step.button;
            EXPECT_EQ(caption(first), step.first) << step.button;
            EXPECT_EQ(hidden(second), step.second.isEmpty()) << step.button;
            EXPECT_EQ(hidden(secondField), step.second.isEmpty()) << step.button;
            if (!step.second.isEmpty()) {
                EXPECT_EQ(caption(second), step.second) << step.button;
            }
            // A caption too long for one line wraps instead of being clipped.
            auto* label = control<QLabel>(first);
            EXPECT_GE(label->height(), label->heightForWidth(label->width())) << step.button;
            EXPECT_EQ(caption(otherFirst), otherCaption) << step.button;
            EXPECT_EQ(hidden(otherSecondField), otherHidden) << step.button;
        }
    };
    check(arrival, "Panel1", "Panel2", "Edit2", "Panel5", "Edit6");
    choose("erl2");
    check(processing, "Panel5", "Panel6", "Edit6", "Panel1", "Edit2");
    EXPECT_TRUE(control<QRadioButton>("rav")->isChecked());
}

TEST_F(Unit1Test, RunDrawsTheChosenView)
{
    const std::vector<std::vector<bool>> filledByView{
        {true, false, false}, {false, true, false}, {false, false, true}, {true, true, true}};
    for (int view = 0; view < 4; ++view) {
        control<QComboBox>("ComboBox1")->setCurrentIndex(view);
        press();
        const auto series = chart();
        for (int flow = 0; flow < 3; ++flow) {
            const QList<QPointF>& points = series[flow];
            ASSERT_EQ(!points.isEmpty(), filledByView[view][flow]) << "view " << view << " flow " << flow + 1;
            if (points.isEmpty())
                continue;
            EXPECT_EQ(points.size(), 31);
            EXPECT_EQ(points.back().y(), 0);
            EXPECT_NEAR(sumOfY(points), 1.0, 1e-9);
        }
    }
    // In the view of all flows the three share their X positions.
    const auto series = chart();
    for (int k = 0; k < 31; ++k) {
        EXPECT_EQ(series[0][k].x(), series[1][k].x());
        EXPECT_EQ(series[0][k].x(), series[2][k].x());
    }
    EXPECT_TRUE(control<QComboBox>("ComboBox1")->isEnabled());
    EXPECT_TRUE(messages.isEmpty());
}

// A bad field ends the run at its side's first draw: a processing field after
// exactly one arrival draw, an arrival field before any. The previous results stay.
TEST_F(Unit1Test, BadFieldStopsTheRunAtItsSidesFirstDrawAndKeepsTheResults)
{
    press();
    const auto before = chart();
    for (const auto& [field, drawsTaken] : {std::pair{"Edit1", 0}, {"Edit5", 1}}) {
        const QString original = control<QLineEdit>(field)->text();
        type(field, "abc");
        shell::SRand(5);
        press();
        const std::int32_t next = shell::LRand();
        shell::SRand(5);
        for (int draw = 0; draw < drawsTaken; ++draw)
            shell::LRand();
        EXPECT_EQ(next, shell::LRand()) << field;
        ASSERT_EQ(messages.size(), 1) << field;
        EXPECT_EQ(chart(), before) << field;
        // The kept results still redraw.
        chooseInList(3, false);
        EXPECT_EQ(chart(), before) << field;
        messages.clear();
        type(field, original);
    }
    press();
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_NE(chart(), before);
}

TEST_F(Unit1Test, HiddenSecondFieldIsNotRead)
{
    form.show();
    type("Edit2", "junk");
    type("Edit6", "junk");
    press();
    choose("eksp");
    type("Edit1", "1");
    press();
    EXPECT_TRUE(messages.isEmpty());
    choose("erl");
    press();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.front().contains("junk"));
}

TEST_F(Unit1Test, SelectedButtonStaysSelectedWhateverIsPressed)
{
    showActive();
    const std::vector<std::vector<const char*>> sets{{"rav", "erl", "norm", "eksp"},
                                                     {"rav2", "erl2", "norm2", "eksp2"}};
    auto selected = [this](const std::vector<const char*>& set) {
        QStringList checked;
        for (const char* name : set) {
            if (control<QRadioButton>(name)->isChecked())
                checked << name;
        }
        return checked;
    };
    for (const auto& set : sets) {
        const char* first = set.front();
        control(first)->setFocus();
        for (const auto& pressIt :
             std::vector<std::function<void()>>{[&] { choose(first); }, [&] { key(first, Qt::Key_Space); }}) {
            pressIt();
            EXPECT_EQ(selected(sets[0]), QStringList{"rav"}) << first;
            EXPECT_EQ(selected(sets[1]), QStringList{"rav2"}) << first;
        }
    }
    choose("norm");
    EXPECT_EQ(selected(sets[0]), QStringList{"norm"});
    EXPECT_EQ(selected(sets[1]), QStringList{"rav2"});
}

TEST_F(Unit1Test, TabStopsOncePerRadioSetOnItsSelectedButton)
{
    showActive();
    EXPECT_EQ(tabChain(), QStringList({"Button1", "rav", "Edit1", "rav2", "Edit5"}));
    // Arrow keys move the choice within a set, and the second fields join the chain.
    control("rav")->setFocus();
    key("rav", Qt::Key_Down);
    key("erl", Qt::Key_Down);
    control("rav2")->setFocus();
    key("rav2", Qt::Key_Down);
    EXPECT_TRUE(control<QRadioButton>("norm")->isChecked());
    EXPECT_TRUE(control<QRadioButton>("erl2")->isChecked());
    control("Button1")->setFocus();
    EXPECT_EQ(tabChain(), QStringList({"Button1", "norm", "Edit1", "Edit2", "erl2", "Edit5", "Edit6"}));
    press();
    press();
    control("Button1")->setFocus();
    EXPECT_EQ(tabChain(), QStringList({"Button1", "norm", "Edit1", "Edit2", "ComboBox1", "erl2", "Edit5", "Edit6"}));
    key("Button1", Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "Edit6");
}

TEST_F(Unit1Test, ChoosingAViewNeverRunsWhileEnterElsewhereDoes)
{
    showActive();
    press();
    const auto all = chart();
    shell::SRand(77);
    const int expected = shell::Rand();
    shell::SRand(77);
    chooseInList(2, false);
    EXPECT_TRUE(form.Series1->points().isEmpty());
    EXPECT_TRUE(form.Series2->points().isEmpty());
    EXPECT_EQ(form.Series3->points().size(), 31);
    chooseInList(3, true);
    EXPECT_EQ(chart(), all);
    EXPECT_EQ(shell::Rand(), expected);
    for (const char* name : {"ComboBox1", "eksp2", "Edit1"}) {
        const auto before = chart();
        control(name)->setFocus();
        key(name, Qt::Key_Return);
        EXPECT_NE(chart(), before) << name;
    }
}

TEST_F(Unit1Test, DesignedGeometryIsTheMinimumAndTheChartGrowsWithTheWindow)
{
    form.show();
    const std::vector<std::pair<const char*, QRect>> designed{
        {"Button1", {8, 512, 784, 33}},      {"RadioGroup1", {599, 24, 193, 193}}, {"rav", {615, 48, 153, 17}},
        {"erl", {615, 72, 153, 17}},         {"norm", {615, 96, 153, 17}},         {"eksp", {615, 120, 153, 17}},
        {"Edit1", {703, 152, 73, 21}},       {"Edit2", {703, 184, 73, 21}},        {"Panel1", {607, 153, 89, 17}},
        {"Panel2", {607, 186, 89, 17}},      {"Chart1", {8, 32, 577, 465}},        {"ComboBox1", {8, 8, 145, 21}},
        {"GroupBox1", {600, 264, 193, 193}}, {"rav2", {617, 288, 150, 17}},        {"erl2", {617, 312, 150, 17}},
        {"norm2", {617, 336, 150, 17}},      {"eksp2", {617, 360, 150, 17}},       {"Panel5", {607, 393, 89, 17}},
        {"Edit5", {703, 392, 73, 21}},       {"Edit6", {703, 424, 73, 21}},        {"Panel6", {607, 426, 89, 17}},
    };
    auto expectAt = [&](int dx, int dy) {
        for (const auto& [name, rect] : designed) {
            QRect expected = rect;
            if (std::string_view(name) == "Chart1")
                expected.adjust(0, 0, dx, dy);
            else if (std::string_view(name) == "Button1")
                expected.adjust(0, dy, dx, dy);
            else if (std::string_view(name) != "ComboBox1")
                expected.translate(dx, 0);
            EXPECT_EQ(inWindow(name), expected) << name << " at " << dx << ", " << dy;
        }
    };
    EXPECT_EQ(form.pos(), QPoint(204, 120));
    EXPECT_EQ(form.minimumSize(), QSize(804, 557));
    expectAt(0, 0);
    form.resize(1204, 857);
    expectAt(400, 300);
    form.resize(600, 400);
    expectAt(0, 0);
}

TEST_F(Unit1Test, MessagesNameTheFrameAndTheFieldAndWhatToChange)
{
    struct Case {
        const char* button;
        const char* field;
        QString text;
        QString message;  // the whole message, or its start when it ends in ": "
    };
    const std::vector<Case> cases{
        {"rav", "Edit1", "", "Распределения появления задач, MAX: \"\" — не число"},
        {"erl2", "Edit6", "x", "Распределение обработки задач, Lambda 2: \"x\" — не число"},
        {"eksp2", "Edit5", "0",
         "Распределение обработки задач, Интенсивность: интенсивность не может быть равна 0, "
         "задайте число больше 0"},
        {"eksp", "Edit1", "1e-12", "Распределения появления задач, Интенсивность 3 потока: "},
        {"norm", "Edit2", "1e12", "Распределения появления задач, Дисперсия: "},
        {"rav2", "Edit5", "1e10", "Распределение обработки задач, MAX: "},
        {"rav", "Edit1", "2000000000",
         "Моделируемые времена выходят за допустимый диапазон, уменьшите MAX или "
         "матожидание либо увеличьте интенсивность"},
    };
    form.show();
    for (const Case& c : cases) {
        choose(c.button);
        const QString original = control<QLineEdit>(c.field)->text();
        type(c.field, c.text);
        press();
        // A failed first run enables the selector, and no view has anything to show.
        EXPECT_TRUE(control<QComboBox>("ComboBox1")->isEnabled());
        EXPECT_EQ(chart(), decltype(chart())(3));
        ASSERT_EQ(messages.size(), 1) << c.field << " " << c.text.toStdString();
        if (c.message.endsWith(": "))
            EXPECT_TRUE(messages.front().startsWith(c.message)) << messages.front().toStdString();
        else
            EXPECT_EQ(messages.front(), c.message);
        messages.clear();
        type(c.field, original);
    }
    chooseInList(0, true);
    EXPECT_EQ(chart(), decltype(chart())(3));
}

// A screen reader hears each field by its frame and caption, the radio buttons
// inside named groups, and what the chart shows.
TEST_F(Unit1Test, AssistiveToolsHearCaptionsGroupsAndTheChart)
{
    form.show();
    const auto text = [](QObject* object, QAccessible::Text kind) {
        return QAccessible::queryAccessibleInterface(object)->text(kind);
    };
    const QString arrival = "Распределения появления задач";
    const QString processing = "Распределение обработки задач";
    const auto names = [&] {
        QStringList result;
        for (const char* field : {"Edit1", "Edit2", "Edit5", "Edit6"})
            result << text(control(field), QAccessible::Name);
        return result;
    };
    EXPECT_EQ(names(), QStringList({arrival + ", MAX", "", processing + ", MAX", ""}));
    choose("norm");
    choose("eksp2");
    EXPECT_EQ(names(),
              QStringList({arrival + ", Матожидание", arrival + ", Дисперсия", processing + ", Интенсивность", ""}));
    choose("erl2");
    EXPECT_EQ(names()[3], processing + ", Lambda 2");
    for (const char* button : {"rav", "erl", "norm", "eksp", "rav2", "erl2", "norm2", "eksp2"}) {
        QAccessibleInterface* group = QAccessible::queryAccessibleInterface(control(button))->parent();
        EXPECT_EQ(group->role(), QAccessible::Grouping) << button;
        EXPECT_EQ(group->text(QAccessible::Name), button[std::strlen(button) - 1] == '2' ? processing : arrival);
    }
    QWidget* chart = control("Chart1");
    EXPECT_EQ(text(chart, QAccessible::Name), "Распределение");
    EXPECT_EQ(text(chart, QAccessible::Description), "Результатов пока нет.");
    press();
    QApplication::processEvents();
    EXPECT_TRUE(text(chart, QAccessible::Description).contains("Поток 3: от "))
        << text(chart, QAccessible::Description).toStdString();
    chooseInList(1, false);
    QApplication::processEvents();
    EXPECT_TRUE(text(chart, QAccessible::Description).startsWith("Поток 2: от "));
    EXPECT_FALSE(text(chart, QAccessible::Description).contains("Поток 3"));
}

TEST(StartupTest, CreatesTheSimulationWindowThenTheHiddenSecondForm)
{
    int argc = 1;
    char name[] = "velmora";
    char* argv[] = {name, nullptr};
    shell::Application application(argc, argv, "velmora");
    application.Initialize();
    CreateForms(application);
    ASSERT_EQ(application.forms().size(), 2u);
    EXPECT_EQ(application.forms()[0].get(), Form1);
    EXPECT_EQ(application.forms()[1].get(), Form2);
    EXPECT_FALSE(Form2->isVisible());
    EXPECT_EQ(Form2->windowTitle(), "Form2");
}

}  // namespace
}  // namespace velmora
