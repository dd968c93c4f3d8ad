// The manual's worked examples, read from the manual the program shows and run on the
// program: the calculator's keys and the "Couleurs" commands through their dialogs.
#include "ChannelDialogs.h"
#include "ColourCommands.h"
#include "DialogRunner.h"
#include "RecordingHost.h"
#include "TOmbre.h"
#include "TPocket.h"
#include "ToneDialogs.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

using namespace vermeo;
using namespace vermeo::colour;
using namespace vermeo::test;

namespace {
// The text of every example of a page of the built-in manual, tags left out.
QStringList examples(const char *page)
{
    QFile f(QStringLiteral(":/aide/") + QLatin1String(page));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << page;
    const QString html = QString::fromUtf8(f.readAll());
    QStringList out;
    static const QRegularExpression paragraph(QStringLiteral("<p class=\"exemple\">(.*?)</p>"),
                                              QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    for (auto m = paragraph.globalMatch(html); m.hasNext();)
        out << m.next().captured(1).remove(tag).replace(QStringLiteral("&gt;"), QStringLiteral(">")).simplified();
    return out;
}

// The manual still says what the test runs.
void expectExample(const char *page, const char *text)
{
    const QStringList all = examples(page);
    EXPECT_TRUE(all.contains(QString::fromUtf8(text))) << page << ": " << text << "\nnot among:\n"
                                                       << all.join('\n').toStdString();
}

QRgb at(const ImageDocument &doc, int x, int y) { return doc.image().pixel(x, y); }

class ManualColours : public ::testing::Test {
protected:
    // Runs a "Couleurs" command on the picture, its dialog answered by script.
    void run(void (*command)(ImageDocument &, DocumentHost &), const QImage &picture,
             std::function<void(QDialog &)> script = {})
    {
        loadPicture(doc, picture);
        scripts.onDialog = std::move(script);
        command(doc, host);
    }
    ImageDocument doc;
    RecordingHost host;
    ScriptedDialogs scripts;
};
} // namespace

TEST(ManualExamples, TheCalculatorGivesWhatTheManualSays)
{
    expectExample("utilitaires.html", "Exemple : 2 + 3 = affiche 5 ; = de nouveau affiche 10, puis 20.");
    utilities::TPocket pocket;
    pocket.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pocket));
    QWidget *focus = QApplication::focusWidget() ? QApplication::focusWidget() : pocket.Button[11];
    QTest::keyClicks(focus, QStringLiteral("2+3="));
    EXPECT_EQ(pocket.Label1->text(), QStringLiteral("5"));
    QTest::keyClicks(focus, QStringLiteral("="));
    EXPECT_EQ(pocket.Label1->text(), QStringLiteral("10"));
    QTest::keyClicks(focus, QStringLiteral("="));
    EXPECT_EQ(pocket.Label1->text(), QStringLiteral("20"));
}

TEST_F(ManualColours, LuminositeBalancePermuterAndRemplacerDoWhatTheManualSays)
{
    expectExample("couleurs.html", "Exemple : 20 % ajoute 51 à chaque couleur.");
    run(Luminosite, filled(8, 8, ComposeCouleur(10, 100, 200)), [](QDialog &d) {
        auto &a = static_cast<AdjustDialog &>(d);
        a.SpinEdit1->setValue(20);
        a.Button2->click();
    });
    EXPECT_EQ(at(doc, 3, 3), qRgb(61, 151, 251));

    expectExample("couleurs.html", "Exemple : une photo trop bleue se corrige avec B à -10.");
    run(Balance, filled(8, 8, ComposeCouleur(100, 110, 180)), [](QDialog &d) {
        auto &b = static_cast<TBalCoul &>(d);
        b.SpinEdit3->setValue(-10);
        b.Button2->click();
    });
    EXPECT_EQ(at(doc, 3, 3), qRgb(100, 110, 180 - 25)); // 10 % of 255, in whole levels

    expectExample("couleurs.html", "Exemple : BVR échange le rouge et le bleu : un ciel bleu devient rouge.");
    run(Permuter, filled(8, 8, ComposeCouleur(40, 90, 220)), [](QDialog &d) {
        auto &p = static_cast<TPermut &>(d);
        for (QRadioButton *r : p.RadioButton)
            if (r && r->text().remove('&') == QLatin1String("BVR"))
                r->click();
        p.Button2->click();
    });
    EXPECT_EQ(at(doc, 3, 3), qRgb(220, 90, 40));

    expectExample("couleurs.html", "Exemple : pour changer un fond blanc en jaune, gardez le blanc comme couleur de "
                                   "remplissage, cliquez sur le jaune de la palette (couleur du crayon), puis "
                                   "Remplacer couleur..., Ok.");
    loadPicture(doc, filled(8, 8, clWhite));
    doc.canvas().setBrushColour(clWhite);
    doc.canvas().setPenColour(ComposeCouleur(255, 255, 0));
    scripts.onDialog = [](QDialog &d) {
        for (QPushButton *b : d.findChildren<QPushButton *>())
            if (b->text().remove('&').compare(QLatin1String("Ok"), Qt::CaseInsensitive) == 0)
                return b->click();
        ADD_FAILURE() << "no Ok button";
    };
    Remplacer(doc, host);
    EXPECT_EQ(at(doc, 3, 3), qRgb(255, 255, 0));
}

TEST_F(ManualColours, TeinteOmbrerAndDegradeDoWhatTheManualSays)
{
    expectExample("couleurs.html",
                  "Exemple : sur un coucher de soleil, 20 % rend les orangés plus rouges sans toucher au ciel bleu.");
    // An orange sun over most of the picture, a blue sky above.
    QImage sunset = filled(40, 30, ComposeCouleur(200, 120, 40));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 40; ++x)
            sunset.setPixel(x, y, qRgb(60, 90, 200));
    run(Teinte, sunset, [](QDialog &d) {
        auto &t = static_cast<TTeint &>(d);
        // The dominant colour is found once the dialog is on the screen.
        t.show();
        QTest::qWait(50);
        t.SpinEdit1->setValue(20);
        t.Button2->click();
    });
    EXPECT_EQ(at(doc, 5, 20), qRgb(251, 120, 40));
    EXPECT_EQ(at(doc, 5, 5), qRgb(60, 90, 200));

    expectExample("couleurs.html", "Exemple : un texte noir sur fond clair, ombré de 3 points vers la droite, semble "
                                   "détaché du fond.");
    QImage text = filled(20, 10, ComposeCouleur(230, 230, 230));
    text.setPixel(5, 5, qRgb(0, 0, 0));
    run(Ombrer, text, [](QDialog &d) {
        auto &o = static_cast<TOmbre &>(d);
        o.SpinEdit1->setValue(3);
        o.RadioButton2->click();
        o.Button2->click();
    });
    for (int x = 6; x <= 8; ++x)
        EXPECT_EQ(at(doc, x, 5), qRgb(0, 0, 0)) << x;
    EXPECT_EQ(at(doc, 9, 5), qRgb(230, 230, 230));
    EXPECT_EQ(at(doc, 4, 5), qRgb(230, 230, 230));

    expectExample("couleurs.html", "Exemple : avec un crayon noir, les bandes vont du noir au rouge sombre (245).");
    loadPicture(doc, filled(60, 100, clWhite));
    host.fore = clBlack;
    Degrade(doc, host, 1);
    EXPECT_EQ(at(doc, 10, 0), qRgb(0, 0, 0));
    EXPECT_EQ(at(doc, 10, 98), qRgb(245, 0, 0));
}
