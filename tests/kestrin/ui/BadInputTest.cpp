// Every field of the inventory window with every kind of bad text: the press
// shows exactly one message, which names the field's column and good (or the
// day count), and leaves L as it was; the next press with valid fields works.
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
            bad << fractions() << "0"
                << "-3";
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
        press();
        ASSERT_TRUE(messages.isEmpty());
        ASSERT_EQ(L->text(), "0");
    }
    shell::setErrorDisplay(nullptr);
}

}  // namespace
}  // namespace kestrin
