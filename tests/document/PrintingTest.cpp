// Printing: the placement rule against hand-worked values, real pages printed to PDF
// and read back with poppler, the page set-up dialog and the preview window.
#include "Printing.h"
#include "DialogRunner.h"
#include "PdfCheck.h"
#include "RecordingHost.h"
#include "TEcran.h"
#include "TMDIChild.h"
#include "TMep.h"
#include "TestPictures.h"
#include "Zoom.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace vermeo;
using namespace vermeo::printing;

namespace {
// A4's printable area as a 300 and a 600 dpi printer report it.
const PageMetrics a4at300{2480, 3508, 210, 297};
const PageMetrics a4at600{4960, 7016, 210, 297};

// Points the program's printer at a PDF file for one test.
struct PdfPrinter {
    explicit PdfPrinter(int dpi = 300)
    {
        QPrinter &p = printer();
        p.setOutputFileName(file);
        p.setResolution(dpi);
        p.setPageSize(QPageSize(QPageSize::A4));
        p.setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
    }
    ~PdfPrinter() { printer().setOutputFileName(QString()); }
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("page.pdf"));
};

// A dark picture on white paper, easy to find on the rendered page.
void darkPicture(ImageDocument &doc, int w, int h)
{
    test::loadPicture(doc, test::filled(w, h, ComposeCouleur(0, 0, 90)));
}
} // namespace

TEST(PagePlacement, MarginsBecomeWholePixelsPerMillimetrePlusTheFixedOffsets)
{
    // 2480 / 210 = 11.8 -> 11 pixels a millimetre; 3508 / 297 -> 11.
    EXPECT_EQ(Mh(a4at300, 0), 110);
    EXPECT_EQ(Mv(a4at300, 0), 55);
    EXPECT_EQ(Mh(a4at300, 20), 330);
    EXPECT_EQ(Mv(a4at300, 20), 275);
    // 4960 / 210 = 23.6 -> 23; 7016 / 297 = 23.6 -> 23.
    EXPECT_EQ(Mh(a4at600, 20), 690);
    EXPECT_EQ(Mv(a4at600, 20), 575);
    EXPECT_EQ(Mh(a4at600, -10), 0);      // a margin of -10 mm starts at the printable area's edge
    EXPECT_EQ(Mh(PageMetrics{}, 20), 0); // a page of no millimetres does not divide by zero

    // Halves go to the even neighbour, exactly.
    EXPECT_EQ(scaledLength(600, 100), 600);
    EXPECT_EQ(scaledLength(3, 50), 2); // 1.5
    EXPECT_EQ(scaledLength(5, 50), 2); // 2.5
    EXPECT_EQ(scaledLength(7, 50), 4); // 3.5
    EXPECT_EQ(scaledLength(1, 10), 0);
    EXPECT_EQ(scaledLength(333, 15), 50); // 49.95
    EXPECT_EQ(printTarget(a4at300, 0, 0, QSize(600, 400), 200), QRect(110, 55, 1200, 800));
}

TEST(Printing, APicturePrintsAtItsPixelSizeFromTheOffsetsAndTwiceAsLargeAtScale200)
{
    PdfPrinter pdf;
    ImageDocument doc;
    darkPicture(doc, 600, 400);
    doc.MarginLeft = doc.MarginTop = 0;
    // Right and bottom margins that would leave no room never clip the picture.
    doc.MarginRight = doc.MarginBottom = 190;
    ImageDocument::PrintScale = 100;
    Imprime(doc, 1, QStringLiteral("page"));
    const QRect paper = printer().pageLayout().paintRectPixels(300);
    std::vector<test::PdfImage> images = test::pdfImages(pdf.file);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].width, 600);
    EXPECT_EQ(images[0].height, 400);
    EXPECT_EQ(images[0].xPpi, 300); // 600 pixels over 600 printer pixels
    EXPECT_EQ(images[0].yPpi, 300);
    QRect ink = test::inkBox(test::renderPage(pdf.file, 300));
    // 10 mm and 5 mm in whole pixels per millimetre from the printable area's corner.
    EXPECT_NEAR(ink.left(), paper.left() + 110, 1);
    EXPECT_NEAR(ink.top(), paper.top() + 55, 1);
    EXPECT_NEAR(ink.width(), 600, 1);
    EXPECT_NEAR(ink.height(), 400, 1);
    EXPECT_EQ(test::pdfPages(pdf.file), 1);

    ImageDocument::PrintScale = 200;
    Imprime(doc, 1, QStringLiteral("page"));
    images = test::pdfImages(pdf.file);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].xPpi, 150);
    ink = test::inkBox(test::renderPage(pdf.file, 300));
    EXPECT_NEAR(ink.width(), 1200, 1);
    EXPECT_NEAR(ink.height(), 800, 1);
    ImageDocument::PrintScale = 100;
}

TEST(Printing, AZoomedViewPrintsAtItsZoomedSizeAndMarginsMoveIt)
{
    PdfPrinter pdf;
    ImageDocument doc;
    test::RecordingHost host;
    darkPicture(doc, 300, 200);
    zoom::ZAvant(doc, host);
    ASSERT_EQ(doc.view().size(), QSize(600, 400));
    doc.MarginLeft = 20;
    doc.MarginTop = 30;
    ImageDocument::PrintScale = 100;
    Imprime(doc, 1, QStringLiteral("page"));
    const QRect paper = printer().pageLayout().paintRectPixels(300);
    const QRect ink = test::inkBox(test::renderPage(pdf.file, 300));
    EXPECT_NEAR(ink.left(), paper.left() + 11 * 30, 1);
    EXPECT_NEAR(ink.top(), paper.top() + 11 * 35, 1);
    EXPECT_NEAR(ink.width(), 600, 1);
    EXPECT_NEAR(ink.height(), 400, 1);
}

TEST(Printing, WithoutAQueueTheButtonSaysSoAndTheDialogOpensOnAPdfFileNamedAfterThePicture)
{
    // The same on every machine: no queue, whatever the machine has.
    setPrinterQueueSource([] { return QStringList(); });
    printer().setOutputFileName(QString());
    ASSERT_FALSE(hasPrinter());
    TMDIChild child;
    child.Init(50, 40, clWhite);
    child.setWindowTitle(QStringLiteral("plan.bmp"));
    ScriptedDialogs dialogs;
    child.Imprime(1); // the tool-bar button: nothing to print on at once
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_TRUE(dialogs.asked[0].startsWith(QStringLiteral("Aucune imprimante n'est installée")))
        << dialogs.asked[0].toStdString();
    EXPECT_TRUE(dialogs.dialogs.empty());

    // "Imprimer...": the print dialog, on its PDF file output, the reason on its first line.
    QTemporaryDir folder;
    QString line, offered;
    dialogs.onDialog = [&](QDialog &d) {
        if (auto *why = d.findChild<QLabel *>(QStringLiteral("noQueueLine")))
            line = why->text();
        if (auto *file = d.findChild<QLineEdit *>(QStringLiteral("filename")))
            offered = file->text();
        d.reject();
    };
    EXPECT_EQ(askPrint(nullptr, child.printJobName(), folder.path()), 0);
    EXPECT_EQ(dialogs.dialogs, std::vector<QString>{QStringLiteral("Imprimer")});
    EXPECT_EQ(line, noQueueLine());
    EXPECT_EQ(QDir::cleanPath(offered), QDir(folder.path()).filePath(QStringLiteral("plan.pdf")));
    EXPECT_FALSE(QFileInfo::exists(offered)); // cancelled: nothing written
    printer().setOutputFileName(QString());
    setPrinterQueueSource({});
}

TEST(Printing, APdfHoldsThePicturesOwnPixelsUnderTheJobsName)
{
    PdfPrinter pdf;
    ImageDocument doc;
    // Noise: a JPEG would change nearly every pixel of it.
    const QImage picture = test::noise(120, 80, 3);
    test::loadPicture(doc, picture);
    Imprime(doc, 1, QStringLiteral("vacances.jpg"));
    EXPECT_TRUE(test::runTool(QStringLiteral("pdfinfo"), {pdf.file}).contains(QStringLiteral("vacances.jpg")));
    const QString list = test::runTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf.file});
    EXPECT_FALSE(list.contains(QStringLiteral(" jpeg "))) << list.toStdString();
    QTemporaryDir out;
    test::runTool(QStringLiteral("pdfimages"), {QStringLiteral("-png"), pdf.file, out.filePath(QStringLiteral("img"))});
    const QImage back = QImage(out.filePath(QStringLiteral("img-000.png"))).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(back.size(), picture.size());
    EXPECT_EQ(back, picture.convertToFormat(QImage::Format_RGB32));
}

TEST(Printing, AFileThatCannotBeWrittenIsReportedNotIgnored)
{
    PdfPrinter pdf;
    printer().setOutputFileName(QStringLiteral("/nonexistent-folder/page.pdf"));
    ImageDocument doc;
    darkPicture(doc, 20, 20);
    EXPECT_THROW(Imprime(doc, 1, QStringLiteral("page")), VermeoError);
}

TEST(Mep, TheAcceptedFlagIsSharedAndEscapeCancels)
{
    ScriptedDialogs dialogs;
    int l = 1, t = 2, r = 3, b = 4, s = 50;
    {
        TMep mep;
        mep.Init(l, t, r, b, s);
        EXPECT_EQ(mep.windowTitle(), QStringLiteral("Mise en page"));
        dialogs.onDialog = [](QDialog &d) {
            auto &m = static_cast<TMep &>(d);
            EXPECT_EQ(m.SpinEdit5->value(), 50);
            m.SpinEdit1->setValue(-5);
            m.SpinEdit5->setValue(5000); // clamped to 1000
            QTest::keyClick(m.SpinEdit3, Qt::Key_Return);
        };
        DialogRunner::exec(mep);
        mep.Result(l, t, r, b, s);
    }
    EXPECT_EQ(l, -5);
    EXPECT_EQ(s, 1000);
    {
        TMep mep;
        mep.Init(l, t, r, b, s);
        dialogs.onDialog = [](QDialog &d) {
            static_cast<TMep &>(d).SpinEdit2->setValue(99);
            QTest::keyClick(&d, Qt::Key_Escape);
        };
        DialogRunner::exec(mep);
        mep.Result(l, t, r, b, s);
    }
    EXPECT_EQ(t, 2); // Escape: nothing taken
}

TEST(Ecran, ThePageHasThePrintersProportionsAndThePictureIsPlacedOnce)
{
    QImage picture = test::filled(600, 400, ComposeCouleur(0, 0, 90));
    TEcran ecran;
    ecran.resize(1000, 800);
    ecran.Init(0, 0, 20, 20, 100, picture, a4at300);
    EXPECT_EQ(ecran.windowTitle(), QStringLiteral("Aperçu avant impression"));
    EXPECT_EQ(ecran.Button1->text(), QStringLiteral("Fermer"));
    EXPECT_EQ(ecran.Button1->x(), 1000 - 120);
    EXPECT_EQ(ecran.Panel2->height(), 700);
    EXPECT_EQ(ecran.Panel2->width(), qRound(700.0 * 2480 / 3508));
    EXPECT_EQ(ecran.Panel2->x(), (1000 - ecran.Panel2->width()) / 2);
    EXPECT_EQ(ecran.Panel2->y(), 48);
    // The printed place and size in the page's proportion.
    const double r = double(ecran.PaintBox1->width()) / 2480;
    EXPECT_EQ(ecran.picturePosition(), QPoint(qRound(r * 110), qRound(r * 55)));
    EXPECT_EQ(ecran.Mh(20), qRound(r * 330));
    EXPECT_EQ(ecran.Mv(20), qRound(r * 275));
    EXPECT_EQ(ecran.previewPicture().size(), QSize(qRound(r * 600), qRound(r * 400)));
    const QImage made = ecran.previewPicture();
    ecran.setWindowState(Qt::WindowNoState);
    ecran.show();
    ecran.resize(700, 500);
    QApplication::processEvents();
    ASSERT_NE(ecran.height(), 800);
    EXPECT_EQ(ecran.Panel2->height(), ecran.height() - 100);       // the page follows the window
    EXPECT_EQ(ecran.previewPicture().cacheKey(), made.cacheKey()); // the picture is not made again
    // Drawn where it was placed.
    const QImage shown = ecran.PaintBox1->grab().toImage();
    const QPoint inside = ecran.picturePosition() + QPoint(2, 2);
    EXPECT_LT(qGray(shown.pixel(inside)), 100);
    EXPECT_EQ(shown.pixel(ecran.picturePosition() - QPoint(2, 2)), qRgb(255, 255, 255));
}
