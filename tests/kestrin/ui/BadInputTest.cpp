// Every field of the inventory window with every kind of bad text: the press
// shows exactly one message, which names the field's column and good (or the
// day count), and leaves L as it was; a fraction is fine but in the day count.
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

    std::vector<std::pair<QString, QString>> fields{{"G", "Число дней моделирования"}};
    for (int good = 1; good <= 10; ++good) {
        fields.emplace_back(QStringLiteral("Edit%1").arg(good), QStringLiteral("Заказ, товар %1").arg(good));
        fields.emplace_back(QStringLiteral("Edit%1").arg(good + 10), QStringLiteral("Порог, товар %1").arg(good));
    }
    for (const auto& [name, fieldName] : fields) {
        auto* field = form.findChild<QLineEdit*>(name);
        const QString valid = field->text();
        // Only the day count must be whole, and at least 1.
        QStringList bad = notNumbers();
        if (name == "G")
            bad += fractions() + QStringList{"0", "-3"};
        for (const QString& text : bad) {
            SCOPED_TRACE((name + " \"" + text.left(20) + "\"").toStdString());
            L->setText("before");
            field->setText(text);
            press();
            ASSERT_EQ(messages.size(), 1);
            EXPECT_TRUE(messages.front().startsWith(fieldName + ": ")) << messages.front().toStdString();
            EXPECT_EQ(L->text(), "before");
            messages.clear();
            field->setText(valid);
        }
        // Either decimal separator is fine where a fraction is.
        if (name != "G")
            field->setText(fractions().value(name.size() % 2));
        press();
        ASSERT_TRUE(messages.isEmpty()) << messages.value(0).toStdString();
        ASSERT_NE(L->text(), "before");
        field->setText(valid);
    }
    shell::setErrorDisplay(nullptr);
}

}  // namespace
}  // namespace kestrin
