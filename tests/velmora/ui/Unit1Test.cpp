// The simulation window driven as a user would: buttons, fields, the selector.
#include "velmora/ui/Unit1.h"

#include "shell/Application.h"
#include "shell/Random.h"
#include "velmora/ui/Chart.h"
#include "velmora/ui/Startup.h"
#include "velmora/ui/Unit2.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

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
    void choose(const char* radio) { QTest::mouseClick(control<QRadioButton>(radio), Qt::LeftButton, {}, QPoint(5, 8)); }
    void selectView(int index)
    {
        auto* selector = control<QComboBox>("ComboBox1");
        selector->setCurrentIndex(index);
        emit selector->activated(index);
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
            EXPECT_EQ(caption(otherFirst), otherCaption) << step.button;
            EXPECT_EQ(hidden(otherSecondField), otherHidden) << step.button;
        }
    };
    check(arrival, "Panel1", "Panel2", "Edit2", "Panel5", "Edit6");
    choose("erl2");
    check(processing, "Panel5", "Panel6", "Edit6", "Panel1", "Edit2");
    EXPECT_TRUE(control<QRadioButton>("rav")->isChecked());
}

TEST_F(Unit1Test, LongCaptionsAreNotClipped)
{
    form.show();
    choose("eksp");
    choose("eksp2");
    for (const char* name : {"Panel1", "Panel5"}) {
        auto* label = control<QLabel>(name);
        EXPECT_GE(label->height(), label->heightForWidth(label->width())) << name;
    }
}

TEST_F(Unit1Test, RunDrawsTheChosenView)
{
    const std::vector<std::vector<bool>> filledByView{{true, false, false}, {false, true, false},
                                                      {false, false, true}, {true, true, true}};
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

TEST_F(Unit1Test, SwitchingViewsRedrawsWithoutNewDraws)
{
    press();
    const auto all = chart();
    shell::SRand(77);
    const int expected = shell::Rand();
    shell::SRand(77);
    selectView(1);
    EXPECT_TRUE(form.Series1->points().isEmpty());
    EXPECT_EQ(form.Series2->points().size(), 31);
    EXPECT_TRUE(form.Series3->points().isEmpty());
    selectView(3);
    selectView(3);
    EXPECT_EQ(chart(), all);
    EXPECT_EQ(shell::Rand(), expected);
}

TEST_F(Unit1Test, BadFieldKeepsThePreviousResults)
{
    press();
    const auto before = chart();
    for (const char* field : {"Edit1", "Edit5"}) {
        const QString original = control<QLineEdit>(field)->text();
        type(field, "abc");
        press();
        ASSERT_EQ(messages.size(), 1) << field;
        EXPECT_TRUE(messages.front().contains("\"abc\"")) << messages.front().toStdString();
        EXPECT_EQ(chart(), before) << field;
        // The kept results still redraw.
        selectView(3);
        EXPECT_EQ(chart(), before) << field;
        messages.clear();
        type(field, original);
    }
    press();
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_NE(chart(), before);
}

TEST_F(Unit1Test, FailedFirstRunEnablesTheSelectorAndDrawsNothing)
{
    choose("eksp");
    type("Edit1", "0");
    press();
    EXPECT_EQ(messages.size(), 1);
    EXPECT_TRUE(control<QComboBox>("ComboBox1")->isEnabled());
    selectView(0);
    for (const auto& points : chart())
        EXPECT_TRUE(points.isEmpty());
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

TEST_F(Unit1Test, EnterInAFieldRuns)
{
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(control<QLineEdit>("Edit5"), Qt::Key_Return);
    EXPECT_EQ(form.Series1->points().size(), 31);
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

} // namespace
} // namespace velmora
