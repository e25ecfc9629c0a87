// The simulation window driven as a user would: buttons, fields, the selector.
#include "velmora/ui/Unit1.h"

#include "../../support/BadInputs.h"
#include "../../support/Menus.h"
#include "../../support/Pixels.h"
#include "../../support/ProgramStart.h"
#include "../../support/ScreenFit.h"
#include "shell/core/Random.h"
#include "shell/ui/Application.h"
#include "shell/ui/Files.h"
#include "velmora/model/Histogram.h"
#include "velmora/ui/Chart.h"
#include "velmora/ui/Startup.h"
#include "velmora/ui/Unit2.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolTip>

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
    QList<QList<QPointF>> chart() const
    {
        return {form.Series1->points(), form.Series2->points(), form.Series3->points()};
    }

    QStringList messages;
    TForm1 form;
};

TEST_F(Unit1Test, StartsWithUniformOnBothSidesAndNoResults)
{
    const QStringList kinds{"Равномерное", "Эрланга 2го порядка", "Нормальное", "Экспоненциальное"};
    const std::vector<std::pair<const char*, QString>> texts{
        {"Button1", "Смоделировать"}, {"rav", kinds[0]},  {"erl", kinds[1]},   {"norm", kinds[2]}, {"eksp", kinds[3]},
        {"rav2", kinds[0]},           {"erl2", kinds[1]}, {"norm2", kinds[2]}, {"eksp2", kinds[3]}};
    for (const auto& [name, text] : texts)
        EXPECT_EQ(control<QAbstractButton>(name)->text(), text) << name;
    EXPECT_EQ(control<QGroupBox>("RadioGroup1")->title(), "Распределения появления задач");
    EXPECT_EQ(control<QGroupBox>("GroupBox1")->title(), "Распределение обработки задач");
    EXPECT_EQ(caption("Panel1"), "MAX");
    EXPECT_EQ(caption("Panel5"), "MAX");
    for (const char* name : {"Panel2", "Edit2", "Panel6", "Edit6"})
        EXPECT_TRUE(hidden(name)) << name;
    EXPECT_TRUE(control<QRadioButton>("rav")->isChecked() && control<QRadioButton>("rav2")->isChecked());
    EXPECT_EQ(control<QLineEdit>("Edit1")->text(), "100");
    EXPECT_EQ(control<QLineEdit>("Edit5")->text(), "50");
    auto* selector = control<QComboBox>("ComboBox1");
    EXPECT_FALSE(selector->isEnabled());
    QStringList views;
    for (int view = 0; view < selector->count(); ++view)
        views << selector->itemText(view);
    EXPECT_EQ(views, QStringList({"Поток 1", "Поток 2", "Поток 3", "Все"}));
    EXPECT_EQ(selector->currentText(), "Все");
    EXPECT_EQ(chart(), decltype(chart())(3));
    EXPECT_EQ(QStringList({form.Series1->title(), form.Series2->title(), form.Series3->title()}),
              QStringList({"Поток 1", "Поток 2", "Поток 3"}));
}

// Each button fits its own side's labels and second field, and never the other side's.
TEST_F(Unit1Test, RadioButtonsFitTheirOwnSideOnly)
{
    form.show();
    struct Step {
        const char* button;
        QString first;
        QString second;  // empty: the second label and field are hidden
    };
    const std::vector<Step> steps{{"erl", "Lambda 1:", "Lambda 2:"},       {"norm", "Матожидание:", "Дисперсия:"},
                                  {"eksp", "Интенсивность 3 потока:", ""}, {"rav", "MAX:", ""},
                                  {"erl2", "Lambda 1:", "Lambda 2:"},      {"norm2", "Матожидание:", "Дисперсия:"},
                                  {"eksp2", "Интенсивность:", ""},         {"rav2", "MAX:", ""}};
    // A side's captions, and whether its second label and field are hidden.
    const auto side = [this](bool arrival) {
        const char* const names[2][3] = {{"Panel5", "Panel6", "Edit6"}, {"Panel1", "Panel2", "Edit2"}};
        const auto* n = names[arrival];
        return std::tuple{caption(n[0]), caption(n[1]), hidden(n[1]), hidden(n[2])};
    };
    for (const Step& step : steps) {
        const bool arrival = !std::string_view(step.button).ends_with('2');
        const auto other = side(!arrival);
        const QString secondBefore = std::get<1>(side(arrival));
        choose(step.button);
        const auto [first, second, labelHidden, fieldHidden] = side(arrival);
        EXPECT_EQ(first, step.first) << step.button;
        // A hidden second label keeps the caption it had.
        EXPECT_EQ(second, step.second.isEmpty() ? secondBefore : step.second) << step.button;
        EXPECT_EQ(labelHidden, step.second.isEmpty()) << step.button;
        EXPECT_EQ(fieldHidden, step.second.isEmpty()) << step.button;
        EXPECT_EQ(side(!arrival), other) << step.button;
        // A caption too long for one line wraps instead of being clipped.
        auto* label = control<QLabel>(arrival ? "Panel1" : "Panel5");
        EXPECT_GE(label->height(), label->heightForWidth(label->width())) << step.button;
    }
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
            EXPECT_NEAR(
                std::accumulate(points.begin(), points.end(), 0.0, [](double sum, QPointF p) { return sum + p.y(); }),
                1.0, 1e-9);
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

// Each single flow is drawn over its own range, "Все" over the one common to all
// three; the run is repeated from the same seed through the window's own draws.
TEST_F(Unit1Test, EachViewDrawsOverItsRange)
{
    for (int view = 0; view < 4; ++view) {
        control<QComboBox>("ComboBox1")->setCurrentIndex(view);
        shell::SRand(11);
        press();
        shell::SRand(11);
        const TResultArrays r =
            RunModel([this] { return form.NextArrivalInterval(); }, [this] { return form.NextProcessingTime(); });
        const std::array<const std::array<std::int32_t, 1000>*, 3> results{&r.Result1, &r.Result2, &r.Result3};
        const auto series = chart();
        for (int flow = 0; flow < 3; ++flow) {
            if (view != 3 && view != flow)
                continue;
            const HistogramRange range = view == 3 ? CommonRange(r.Result1, r.Result2, r.Result3)
                                                   : FlowRange(*results[static_cast<std::size_t>(flow)]);
            ASSERT_EQ(series[flow].size(), 31);
            for (int k = 0; k < 31; ++k)
                EXPECT_NEAR(series[flow][k].x(), range.L + k * range.h, 1e-9) << "view " << view << " flow " << flow;
        }
    }
    EXPECT_TRUE(messages.isEmpty());
}

// Flow 1 is drawn red, flow 2 green, flow 3 yellow: the plot shows the outline
// tones of each flow's designed colour alone when that flow alone is shown.
TEST_F(Unit1Test, EachFlowIsDrawnInItsDesignedColour)
{
    form.show();
    press();
    auto* view = control<TChart>("Chart1");
    const QColor tones[] = {QColor(221, 0, 0), QColor(0, 111, 0), QColor(221, 221, 0)};
    for (int flow = 0; flow < 3; ++flow) {
        chooseInList(flow, true);
        QApplication::processEvents();
        const QImage image = view->grab().toImage();
        const QRect plot = view->mapFromScene(view->chart()->mapToScene(view->chart()->plotArea())).boundingRect();
        std::array<int, 3> seen{};
        for (int tone = 0; tone < 3; ++tone)
            seen[tone] = pixelsNear(image, tones[tone], 30, plot);
        for (int tone = 0; tone < 3; ++tone) {
            if (tone == flow)
                EXPECT_GT(seen[tone], 200) << "flow " << flow + 1;
            else
                EXPECT_EQ(seen[tone], 0) << "flow " << flow + 1 << ", tone of flow " << tone + 1;
        }
    }
}

// "Дисперсия" is used as σ; its label and its field both say so on a tooltip
// event, on either side, and only while the normal distribution is chosen. The
// arrival frame, and the buttons in it, tell how the flows' intervals differ.
TEST_F(Unit1Test, TooltipsExplainSigmaAndTheFlowsIntervals)
{
    form.show();
    const auto tooltip = [this](const char* name) {
        QToolTip::hideText();
        EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 1000));
        QWidget* widget = control(name);
        QHelpEvent event(QEvent::ToolTip, QPoint(2, 2), widget->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(widget, &event);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    const QString hint = "Число используется как среднеквадратическое отклонение σ";
    for (const auto& [normal, erlang, label, field] :
         {std::tuple{"norm", "erl", "Panel2", "Edit2"}, {"norm2", "erl2", "Panel6", "Edit6"}}) {
        choose(normal);
        EXPECT_EQ(tooltip(label), hint) << label;
        EXPECT_EQ(tooltip(field), hint) << field;
        choose(erlang);
        EXPECT_EQ(tooltip(label), "") << label;
        EXPECT_EQ(tooltip(field), "") << field;
    }
    for (const char* name : {"RadioGroup1", "rav", "eksp"}) {
        const QString intervals = tooltip(name);
        EXPECT_TRUE(intervals.contains("потока 1 в 4 раза") && intervals.contains("потока 2 в 2 раза")) << name;
    }
    EXPECT_EQ(tooltip("GroupBox1"), "");
}

// After a message about a field, that field has the focus and its text is
// selected, so the user can type the correction at once; times out of range
// point at the first field they name.
TEST_F(Unit1Test, AfterAMessageTheFieldItNamesHasTheFocus)
{
    showActive();
    for (const auto& [button, field, text] : {std::tuple{"eksp2", "Edit5", "0"},
                                              {"norm", "Edit2", "x"},
                                              {"rav", "Edit1", "2000000000"},
                                              {"rav2", "Edit5", "2000000000"}}) {
        choose(button);
        const QString original = control<QLineEdit>(field)->text();
        type(field, text);
        control("Button1")->setFocus();
        key("Button1", Qt::Key_Space);
        ASSERT_EQ(messages.size(), 1) << field;
        EXPECT_EQ(QApplication::focusWidget(), control(field)) << field;
        EXPECT_EQ(control<QLineEdit>(field)->selectedText(), text) << field;
        messages.clear();
        type(field, original);
    }
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

// Each radio set keeps exactly one button selected whatever is clicked or
// pressed; Tab stops once per set, on its selected button, and arrow keys move
// the choice within it.
TEST_F(Unit1Test, RadioSetsKeepOneChoiceAndTabStopsOncePerSet)
{
    showActive();
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "Button1");
    const auto selected = [this] {
        QStringList checked;
        for (const char* name : {"rav", "erl", "norm", "eksp", "rav2", "erl2", "norm2", "eksp2"}) {
            if (control<QRadioButton>(name)->isChecked())
                checked << name;
        }
        return checked.join(' ');
    };
    for (const char* first : {"rav", "rav2"}) {
        choose(first);
        EXPECT_EQ(selected(), "rav rav2") << first;
        control(first)->setFocus();
        key(first, Qt::Key_Space);
        EXPECT_EQ(selected(), "rav rav2") << first;
    }
    control("Button1")->setFocus();
    EXPECT_EQ(tabChain(), QStringList({"Button1", "rav", "Edit1", "rav2", "Edit5"}));
    control("rav")->setFocus();
    key("rav", Qt::Key_Down);
    key("erl", Qt::Key_Down);
    control("rav2")->setFocus();
    key("rav2", Qt::Key_Down);
    EXPECT_EQ(selected(), "norm erl2");
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
    QWidget* area = control("DesignedArea");
    auto expectAt = [&](int dx, int dy) {
        for (const auto& [name, rect] : designed) {
            QRect expected = rect;
            if (std::string_view(name) == "Chart1")
                expected.adjust(0, 0, dx, dy);
            else if (std::string_view(name) == "Button1")
                expected.adjust(0, dy, dx, dy);
            else if (std::string_view(name) != "ComboBox1")
                expected.translate(dx, 0);
            QWidget* widget = control(name);
            EXPECT_EQ(QRect(widget->mapTo(area, QPoint(0, 0)), widget->size()), expected) << name << " at " << dx;
        }
    };
    // The designed area lies just below the menu bar, which the window grows by.
    const int menu = form.menuBar()->height();
    EXPECT_EQ(area->mapTo(&form, QPoint(0, 0)), QPoint(0, menu));
    EXPECT_EQ(form.pos(), QPoint(204, 120));
    EXPECT_EQ(form.minimumSize(), QSize(804, 557 + menu));
    expectAt(0, 0);
    form.resize(1204, 857 + menu);
    expectAt(400, 300);
    form.resize(600, 400);
    expectAt(0, 0);
}

// Every command is in the menus, reached by the mouse: the chart's, once there
// are results; the series and the two windows of the help menu; and Выход.
TEST_F(Unit1Test, TheMenusReachEveryCommand)
{
    showActive();
    QTest::keyClick(&form, Qt::Key_F10);
    EXPECT_EQ(form.menuBar()->activeAction(), form.menuBar()->actions().front());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(chooseFromMenu(form, "Файл", "Сохранить данные…"));
    press();
    shell::setSaveDialog([](QWidget*, const QString&, const QStringList&) { return std::nullopt; });
    EXPECT_TRUE(chooseFromMenu(form, "Файл", "Сохранить данные…"));
    shell::setSaveDialog(nullptr);
    EXPECT_TRUE(chooseFromMenu(form, "Эксперимент", "Серия прогонов…"));
    EXPECT_TRUE(QTest::qWaitFor([this] {
        const auto* series = form.findChild<QDialog*>("SeriesWindow");
        return series && series->isVisible();
    }));
    EXPECT_TRUE(chooseFromMenu(form, "Справка", "О модели…"));
    EXPECT_TRUE(QTest::qWaitFor([this] {
        const auto* about = form.findChild<QDialog*>("TAboutModel");
        return about && about->isVisible();
    }));
    EXPECT_TRUE(chooseFromMenu(form, "Справка", "О программе"));
    EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }));
    QApplication::activeModalWidget()->close();
    EXPECT_TRUE(chooseFromMenu(form, "Файл", "Выход"));
    EXPECT_FALSE(form.isVisible());
}

// Run again on a small screen and at scale factor 2 (see tests/CMakeLists.txt).
using ScreenFitTest = Unit1Test;
TEST_F(ScreenFitTest, TheWindowAndEveryFrameAndTheButtonStayWithinReach)
{
    expectFitsTheScreen(form, QPoint(204, 120), QSize(804, 557), {"Button1", "rav", "Edit1", "rav2", "Edit5"});
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
        {"eksp2", "Edit5", "0",
         "Распределение обработки задач, Интенсивность: интенсивность должна быть больше 0, "
         "задайте число больше 0"},
        {"erl", "Edit2", "-20",
         "Распределения появления задач, Lambda 2: интенсивность должна быть больше 0, "
         "задайте число больше 0"},
        {"eksp", "Edit1", "1e-12", "Распределения появления задач, Интенсивность 3 потока: "},
        {"norm", "Edit2", "1e12", "Распределения появления задач, Дисперсия: "},
        {"rav2", "Edit5", "1e10", "Распределение обработки задач, MAX: "},
        {"rav", "Edit1", "2000000000",
         "Моделируемые времена выходят за допустимый диапазон: уменьшите «Распределения появления задач, MAX»"},
        {"norm2", "Edit5", "1e9",
         "Моделируемые времена выходят за допустимый диапазон: уменьшите «Распределение обработки задач, "
         "Матожидание» или «Распределение обработки задач, Дисперсия»"},
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
    QStringList names;
    for (const char* field : {"Edit1", "Edit2", "Edit5", "Edit6"})
        names << text(control(field), QAccessible::Name);
    // A hidden second field has no caption yet; the matrix below hears the rest.
    EXPECT_EQ(names, QStringList({arrival + ", MAX", "", processing + ", MAX", ""}));
    for (const char* button : {"rav", "erl", "norm", "eksp", "rav2", "erl2", "norm2", "eksp2"}) {
        QAccessibleInterface* group = QAccessible::queryAccessibleInterface(control(button))->parent();
        EXPECT_EQ(group->role(), QAccessible::Grouping) << button;
        EXPECT_EQ(group->text(QAccessible::Name), button[std::strlen(button) - 1] == '2' ? processing : arrival);
    }
    QWidget* chart = control("Chart1");
    EXPECT_EQ(text(chart, QAccessible::Name), "Распределение");
    EXPECT_EQ(text(chart, QAccessible::Description), "Результатов пока нет.");
    // After a run and after each change of view it says what is shown.
    press();
    QApplication::processEvents();
    EXPECT_TRUE(text(chart, QAccessible::Description).contains("Поток 3: от "));
    chooseInList(1, false);
    QApplication::processEvents();
    EXPECT_TRUE(text(chart, QAccessible::Description).startsWith("Поток 2: от ")
                && !text(chart, QAccessible::Description).contains("Поток 3"));
}

// Every parameter field with every kind of bad text, under each distribution
// that reads it: the press shows exactly one message, which names the field as
// the user sees it, and leaves the previous chart; a fraction is a valid
// parameter everywhere.
TEST_F(Unit1Test, EveryBadTextInEveryFieldIsReportedByTheFieldsName)
{
    struct Field {
        const char* name;
        // The distribution that reads the field, and the field's name under it.
        std::vector<std::pair<const char*, QString>> readBy;
    };
    const QString arrival = "Распределения появления задач, ";
    const QString processing = "Распределение обработки задач, ";
    const std::vector<Field> fields{
        {"Edit1",
         {{"rav", arrival + "MAX"},
          {"erl", arrival + "Lambda 1"},
          {"norm", arrival + "Матожидание"},
          {"eksp", arrival + "Интенсивность 3 потока"}}},
        {"Edit2", {{"erl", arrival + "Lambda 2"}, {"norm", arrival + "Дисперсия"}}},
        {"Edit5",
         {{"rav2", processing + "MAX"},
          {"erl2", processing + "Lambda 1"},
          {"norm2", processing + "Матожидание"},
          {"eksp2", processing + "Интенсивность"}}},
        {"Edit6", {{"erl2", processing + "Lambda 2"}, {"norm2", processing + "Дисперсия"}}},
    };
    // Rates and spreads of 1 and bounds of 1 are valid for every distribution;
    // a hidden second field holds junk, which must never be read.
    for (const char* name : {"Edit1", "Edit5"})
        type(name, "1");
    for (const Field& field : fields) {
        for (const auto& [button, fieldName] : field.readBy) {
            control<QRadioButton>(button)->setChecked(true);
            for (const char* second : {"Edit2", "Edit6"})
                type(second, hidden(second) ? "junk" : "1");
            press();
            ASSERT_TRUE(messages.isEmpty()) << field.name << " " << button << ": " << messages.value(0).toStdString();
            // Assistive tools hear the field by the same name.
            EXPECT_EQ(QAccessible::queryAccessibleInterface(control(field.name))->text(QAccessible::Name), fieldName);
            for (const QString& text : notNumbers() + fractions()) {
                SCOPED_TRACE(std::string(field.name) + " " + button + " \"" + text.left(20).toStdString() + "\"");
                const auto before = chart();
                type(field.name, text);
                press();
                if (fractions().contains(text)) {
                    EXPECT_TRUE(messages.isEmpty()) << messages.value(0).toStdString();
                } else {
                    ASSERT_EQ(messages.size(), 1);
                    EXPECT_TRUE(messages.front().startsWith(fieldName + ": ")) << messages.front().toStdString();
                    EXPECT_EQ(chart(), before);
                }
                messages.clear();
                type(field.name, "1");
            }
        }
        control<QRadioButton>("rav")->setChecked(true);
        control<QRadioButton>("rav2")->setChecked(true);
    }
}

// The globals name the forms while the application lives, and nothing after.
TEST(StartupTest, CreatesTheSimulationWindowThenTheHiddenSecondFormAndForgetsThemAtTheEnd)
{
    {
        ProgramStart start("velmora");
        start.application.Initialize();
        CreateForms(start.application);
        ASSERT_EQ(start.application.forms().size(), 2u);
        EXPECT_EQ(start.application.forms()[0].get(), Form1);
        EXPECT_EQ(start.application.forms()[1].get(), Form2);
        EXPECT_FALSE(Form2->isVisible());
        EXPECT_EQ(Form2->windowTitle(), "Form2");
    }
    EXPECT_EQ(Form1, nullptr);
    EXPECT_EQ(Form2, nullptr);
}

}  // namespace
}  // namespace velmora
