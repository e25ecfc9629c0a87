// kestrin's "О модели": the shared behaviour of such windows and what its text
// explains.
#include "kestrin/ui/AboutModel.h"

#include "../../support/AboutModelWindow.h"

namespace kestrin {
namespace {

TEST(AboutModelTest, ExplainsGoodsOrdersThresholdsDemandShortagesDaysAndL)
{
    QWidget main;
    main.show();
    TAboutModel about(&main);
    expectAboutModelWindow(about,
                           {"десять товаров", "<b>Заказ</b>", "привозят на следующий день",
                            "дозаказан или его не хватило", "запас каждого товара равен его заказу", "<b>Порог</b>",
                            "меньше порога, товар дозаказывается", "десяти случайных значений",
                            "от 0 до 999 тысячных места", "от 0 до 9,99 места", "в среднем около 5",
                            "целая часть недостачи теряется", "запас к следующему дню становится равным заказу",
                            "не больше 250", "<b>L</b> = потерянный спрос / суммарный спрос"});
}

}  // namespace
}  // namespace kestrin
