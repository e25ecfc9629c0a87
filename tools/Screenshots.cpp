// Renders the windows after a run into PNG files, for the README and for looking
// at the layout: screenshots <folder>. Run under a real X server (xvfb-run).
#include "kestrin/ui/Kestrin.h"
#include "velmora/ui/Unit1.h"

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
    velmoraWindow.hide();

    kestrin::TForm1 kestrinWindow;
    kestrinWindow.show();
    // Small orders make goods run short, so L shows a fraction.
    for (int n = 1; n <= 10; ++n)
        kestrinWindow.findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(n))->setText(QStringLiteral("3"));
    kestrinWindow.findChild<QPushButton*>("Button1")->click();
    ok = save(kestrinWindow, folder.filePath("kestrin.png")) && ok;
    return ok ? 0 : 1;
}
