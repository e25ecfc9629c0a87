// Renders the windows after a run into PNG files, for the README and for looking
// at the layout: screenshots <folder>. Run under a real X server (xvfb-run).
#include "kestrin/ui/DaysWindow.h"
#include "kestrin/ui/Kestrin.h"
#include "velmora/ui/Unit1.h"

#include "shell/core/Random.h"
#include "shell/ui/SeriesWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <cstdio>

namespace {

bool save(QWidget& window, const QString& path)
{
    QTest::qWait(200);
    const bool saved = window.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

// Saves the picture of a main window's own window, open already, and closes it.
template <typename Window>
bool saveOwnWindow(QWidget& main, const QString& path)
{
    auto* window = main.findChild<Window*>();
    if (window == nullptr)
        return false;
    const bool saved = save(*window, path);
    window->close();
    return saved;
}

// Runs a sweep in a main window's series window and saves its picture.
bool saveSweep(QWidget& main, const QString& choice, const QStringList& range, const QString& runs, const QString& path)
{
    main.findChild<QAction*>("SeriesAction")->trigger();
    auto* window = main.findChild<shell::SeriesWindow*>();
    if (window == nullptr)
        return false;
    auto* vary = window->findChild<QComboBox*>("VaryCombo");
    vary->setCurrentIndex(vary->findText(choice));
    window->findChild<QLineEdit*>("RunsEdit")->setText(runs);
    window->findChild<QLineEdit*>("SeedEdit")->setText(QStringLiteral("5"));
    window->findChild<QLineEdit*>("FromEdit")->setText(range[0]);
    window->findChild<QLineEdit*>("ToEdit")->setText(range[1]);
    window->findChild<QLineEdit*>("PointsEdit")->setText(range[2]);
    window->findChild<QPushButton*>("RunButton")->click();
    if (!QTest::qWaitFor([window] { return !window->running(); }, 60'000))
        return false;
    const bool saved = save(*window, path);
    window->close();
    return saved;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    bool ok = true;

    velmora::TForm1 velmoraWindow;
    velmoraWindow.show();
    ok = save(velmoraWindow, folder.filePath("velmora-start.png")) && ok;
    velmoraWindow.findChild<QPushButton*>("Button1")->click();
    ok = save(velmoraWindow, folder.filePath("velmora.png")) && ok;
    auto* selector = velmoraWindow.findChild<QComboBox*>("ComboBox1");
    for (int view = 0; view < 3; ++view) {
        selector->setCurrentIndex(view);
        velmoraWindow.ComboBox1Change();
        ok = save(velmoraWindow, folder.filePath(QStringLiteral("velmora-flow%1.png").arg(view + 1))) && ok;
    }
    // The longest captions of the parameter labels.
    velmoraWindow.findChild<QRadioButton*>("eksp")->click();
    velmoraWindow.findChild<QRadioButton*>("norm2")->click();
    ok = save(velmoraWindow, folder.filePath("velmora-labels.png")) && ok;
    // Inside the network after a press with exponential arrivals 0.01 and
    // normal processing 50/10, from a fixed seed.
    velmoraWindow.findChild<QLineEdit*>("Edit1")->setText(QStringLiteral("0.01"));
    velmoraWindow.findChild<QLineEdit*>("Edit5")->setText(QStringLiteral("50"));
    velmoraWindow.findChild<QLineEdit*>("Edit6")->setText(QStringLiteral("10"));
    velmoraWindow.findChild<QAction*>("ServersAction")->trigger();
    shell::SRand(5);
    velmoraWindow.findChild<QPushButton*>("Button1")->click();
    ok = saveOwnWindow<velmora::ServersWindow>(velmoraWindow, folder.filePath("velmora-servers.png")) && ok;
    // Flow 3's response as the intensity of its arrivals grows.
    velmoraWindow.findChild<QRadioButton*>("rav2")->click();
    ok = saveSweep(velmoraWindow, QStringLiteral("Распределения появления задач, Интенсивность 3 потока"),
                   {QStringLiteral("0.006"), QStringLiteral("0.02"), QStringLiteral("8")}, QStringLiteral("300"),
                   folder.filePath("velmora-series.png"))
        && ok;
    velmoraWindow.hide();

    kestrin::TForm1 kestrinWindow;
    kestrinWindow.show();
    // Small orders make goods run short, so L shows a fraction.
    for (int n = 1; n <= 10; ++n)
        kestrinWindow.findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(n))->setText(QStringLiteral("3"));
    kestrinWindow.findChild<QPushButton*>("Button1")->click();
    ok = save(kestrinWindow, folder.filePath("kestrin.png")) && ok;
    // Inside a press at orders 5 and thresholds 2: the stock's sawtooth.
    for (int n = 1; n <= 10; ++n) {
        kestrinWindow.findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(n))->setText(QStringLiteral("5"));
        kestrinWindow.findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(n + 10))->setText(QStringLiteral("2"));
    }
    kestrinWindow.findChild<QLineEdit*>("G")->setText(QStringLiteral("250"));
    kestrinWindow.findChild<QPushButton*>("Button1")->click();
    kestrinWindow.findChild<QAction*>("DaysAction")->trigger();
    ok = saveOwnWindow<kestrin::DaysWindow>(kestrinWindow, folder.filePath("kestrin-days.png")) && ok;
    // L against the common threshold at orders 5.
    ok = saveSweep(kestrinWindow, QStringLiteral("Порог, все товары"),
                   {QStringLiteral("0"), QStringLiteral("10"), QStringLiteral("11")}, QStringLiteral("300"),
                   folder.filePath("kestrin-series.png"))
        && ok;
    return ok ? 0 : 1;
}
