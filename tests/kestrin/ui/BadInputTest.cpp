// Every field of the inventory window with every kind of bad text: the press
// either shows a result or exactly one message, a message leaves L as it was,
// and the next press with valid fields works.
#include "kestrin/ui/Kestrin.h"

#include "../../support/BadInputs.h"
#include "shell/Application.h"

#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace kestrin {
namespace {

TEST(BadInputTest, EveryFieldEveryText)
{
    QStringList messages;
    shell::setErrorDisplay([&messages](const QString& message) { messages.append(message); });
    TForm1 form;
    auto* L = form.findChild<QLineEdit*>("L");
    auto press = [&form] { form.findChild<QPushButton*>("Button1")->click(); };

    QStringList names{"G"};
    for (int n = 1; n <= 20; ++n)
        names << QStringLiteral("Edit%1").arg(n);
    for (const QString& name : names) {
        auto* field = form.findChild<QLineEdit*>(name);
        const QString valid = field->text();
        for (const QString& text : badInputs()) {
            SCOPED_TRACE((name + " \"" + text.left(20) + "\"").toStdString());
            L->setText("before");
            field->setText(text);
            press();
            ASSERT_LE(messages.size(), 1);
            if (messages.size() == 1)
                EXPECT_EQ(L->text(), "before");
            else
                EXPECT_NE(L->text(), "before");
            messages.clear();
            field->setText(valid);
            press();
            ASSERT_TRUE(messages.isEmpty());
            ASSERT_EQ(L->text(), "0");
        }
    }
    shell::setErrorDisplay(nullptr);
}

} // namespace
} // namespace kestrin
