// Every parameter field of the simulation window with every kind of bad text,
// under each distribution that reads it: the press either runs or shows exactly
// one message, a message leaves the previous chart, and the next press works.
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
    const char* validText;
    bool second;  // read only for Erlang and normal
    std::vector<const char*> buttons;
};

TEST(BadInputTest, EveryFieldEveryTextEveryDistribution)
{
    QStringList messages;
    shell::setErrorDisplay([&messages](const QString& message) { messages.append(message); });
    TForm1 form;
    auto press = [&form] { form.findChild<QPushButton*>("Button1")->click(); };
    auto chart = [&form] { return QList<QList<QPointF>>{form.Series1->points(), form.Series2->points(), form.Series3->points()}; };
    auto choose = [&form](const char* button) { form.findChild<QRadioButton*>(button)->setChecked(true); };

    // Valid parameters for every distribution: rates and spreads of 1, bounds of 100.
    const std::vector<Field> fields{
        {"Edit1", "1", false, {"rav", "erl", "norm", "eksp"}},
        {"Edit2", "1", true, {"erl", "norm"}},
        {"Edit5", "1", false, {"rav2", "erl2", "norm2", "eksp2"}},
        {"Edit6", "1", true, {"erl2", "norm2"}},
    };
    form.findChild<QLineEdit*>("Edit2")->setText("1");
    form.findChild<QLineEdit*>("Edit6")->setText("1");
    for (const Field& field : fields) {
        auto* edit = form.findChild<QLineEdit*>(field.name);
        for (const char* button : field.buttons) {
            choose(button);
            edit->setText(field.validText);
            press();
            ASSERT_TRUE(messages.isEmpty()) << field.name << " " << button << ": " << messages.value(0).toStdString();
            for (const QString& text : badInputs()) {
                SCOPED_TRACE(std::string(field.name) + " " + button + " \"" + text.left(20).toStdString() + "\"");
                const auto before = chart();
                edit->setText(text);
                press();
                ASSERT_LE(messages.size(), 1);
                if (messages.size() == 1) {
                    EXPECT_FALSE(messages.front().isEmpty());
                    EXPECT_EQ(chart(), before);
                }
                messages.clear();
                edit->setText(field.validText);
                press();
                ASSERT_TRUE(messages.isEmpty()) << messages.value(0).toStdString();
                ASSERT_EQ(chart()[0].size(), 31);
            }
        }
        choose("rav");
        choose("rav2");
    }
    shell::setErrorDisplay(nullptr);
}

} // namespace
} // namespace velmora
