// Every parameter field of the simulation window with every kind of bad text,
// under each distribution that reads it: the press shows exactly one message,
// which names the field as the user sees it, and leaves the previous chart; a
// fraction is a valid parameter everywhere.
#include "velmora/ui/Unit1.h"

#include "../../support/BadInputs.h"
#include "shell/Application.h"
#include "velmora/ui/Chart.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace velmora {
namespace {

struct Field {
    const char* name;
    // The distribution that reads the field, and the field's name under it.
    std::vector<std::pair<const char*, QString>> readBy;
};

TEST(BadInputTest, EveryFieldEveryTextEveryDistribution)
{
    QStringList messages;
    shell::setErrorDisplay([&messages](const QString& message) { messages.append(message); });
    TForm1 form;
    auto press = [&form] { form.findChild<QPushButton*>("Button1")->click(); };
    auto chart = [&form] {
        return QList<QList<QPointF>>{form.Series1->points(), form.Series2->points(), form.Series3->points()};
    };
    auto choose = [&form](const char* button) { form.findChild<QRadioButton*>(button)->setChecked(true); };

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
    // Rates and spreads of 1 and bounds of 1 are valid for every distribution.
    for (const char* name : {"Edit1", "Edit2", "Edit5", "Edit6"})
        form.findChild<QLineEdit*>(name)->setText("1");
    for (const Field& field : fields) {
        auto* edit = form.findChild<QLineEdit*>(field.name);
        for (const auto& [button, fieldName] : field.readBy) {
            choose(button);
            press();
            ASSERT_TRUE(messages.isEmpty()) << field.name << " " << button << ": " << messages.value(0).toStdString();
            for (const QString& text : notNumbers() + fractions()) {
                SCOPED_TRACE(std::string(field.name) + " " + button + " \"" + text.left(20).toStdString() + "\"");
                const auto before = chart();
                edit->setText(text);
                press();
                if (fractions().contains(text)) {
                    EXPECT_TRUE(messages.isEmpty()) << messages.value(0).toStdString();
                } else {
                    ASSERT_EQ(messages.size(), 1);
                    EXPECT_TRUE(messages.front().startsWith(fieldName + ": ")) << messages.front().toStdString();
                    EXPECT_EQ(chart(), before);
                }
                messages.clear();
                edit->setText("1");
            }
        }
        choose("rav");
        choose("rav2");
    }
    shell::setErrorDisplay(nullptr);
}

}  // namespace
}  // namespace velmora
