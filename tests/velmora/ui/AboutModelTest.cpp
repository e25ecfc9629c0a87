// velmora's "О модели": the shared behaviour of such windows, what its text
// explains, and a diagram painted in the flows' colours and named for screen readers.
#include "velmora/ui/AboutModel.h"

#include "../../support/AboutModelWindow.h"
#include "../../support/Pixels.h"
#include "velmora/ui/Flows.h"
#include "velmora/ui/NetworkDiagram.h"

#include <QImage>

namespace velmora {
namespace {

TEST(AboutModelTest, ExplainsTheNetworkItsParametersAndTicksBesideADiagramOfIt)
{
    QWidget main;
    main.show();
    TAboutModel about(&main);
    expectAboutModelWindow(about,
                           {"входной сервер", "поток 1 имеет приоритет над потоком 2",
                            "потоки 1 и 2 имеют приоритет над потоком 3", "MAX", "Lambda 1 и Lambda 2", "Матожидание",
                            "используется как среднеквадратическое отклонение σ", "Интенсивность", "в 4 раза",
                            "в 2 раза", "4x + 1", "2x + 1", "x + 1 тиков", "меньше 0 считается равным 0",
                            "<b>Тик</b> — единица модельного времени", "целые числа тиков"});

    auto* diagram = about.findChild<NetworkDiagram*>("diagram");
    ASSERT_NE(diagram, nullptr);
    EXPECT_EQ(diagram->accessibleName(), "Схема сети");
    for (const char* words : {"входной сервер", "общий сервер, где поток 1 имеет приоритет над потоком 2",
                              "последний сервер, где потоки 1 и 2 имеют приоритет над потоком 3"})
        EXPECT_TRUE(diagram->accessibleDescription().contains(QString::fromUtf8(words))) << words;
    // Each flow's path in its colour, and dark lines and captions.
    about.show();
    const QImage image = diagram->grab().toImage();
    for (int flow = 1; flow <= 3; ++flow)
        EXPECT_GT(pixelsNear(image, FlowColor(flow), 30), 500) << "flow " << flow;
    EXPECT_GT(pixelsNear(image, QColor(40, 40, 40), 30), 2000);
}

}  // namespace
}  // namespace velmora
