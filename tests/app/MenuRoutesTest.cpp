// Every item of the menu bar is wired to its command or listed as not built yet, and
// the items reach the command they name.
#include "MenuRoutes.h"
#include "AppFixture.h"
#include "ChannelKernels.h"
#include "Convolution.h"
#include "GeometryKernels.h"
#include "MenuTable.h"
#include "TestPictures.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <set>

using namespace vermeo;

namespace {
std::set<std::string> routeNames(bool pendingOnly)
{
    std::set<std::string> names;
    for (const MenuRoutes *table : allMenuRoutes())
        for (const MenuRoute &r : *table)
            if (!pendingOnly || !r.run)
                names.insert(r.name);
    return names;
}
} // namespace

TEST(MenuRoutes, EveryItemIsWiredOrPendingAndEveryRouteNamesAnItem)
{
    const std::set<std::string> routed = routeNames(false);
    std::set<std::string> items;
    for (const MenuDef &def : menuTable())
        for (const MenuEntry &e : def.entries) {
            const std::string caption = e.caption;
            if (caption == "-" || caption == "<" || caption.front() == '>')
                continue; // separators and submenu headers do nothing themselves
            items.insert(e.name);
            EXPECT_TRUE(routed.count(e.name)) << e.name << " has no route: a dead menu item";
        }
    for (const std::string &name : routed)
        EXPECT_TRUE(items.count(name)) << name << " is routed but is no menu item";
    std::string pending;
    for (const std::string &name : routeNames(true))
        pending += name + " ";
    RecordProperty("pending", pending);
}

TEST_F(AppTest, TheMainWindowConnectsExactlyTheRoutedItems)
{
    for (const MenuRoutes *table : allMenuRoutes())
        for (const MenuRoute &r : *table) {
            const QString name = QString::fromLatin1(r.name);
            ASSERT_NE(form->action(name), nullptr) << r.name;
            EXPECT_EQ(form->wiredItems().contains(name), bool(r.run)) << r.name;
        }
}

TEST_F(AppTest, MirrorAndGradientItemsReachTheirOwnCommand)
{
    TMDIChild *c = newPicture(200, 150);
    c->doc().replacePixels(test::noise(200, 150));
    const QImage before = c->doc().image().copy();
    form->action("MiroirHorizontal1")->trigger();
    EXPECT_EQ(c->doc().image(), geometry::mirrorHorizontal(before)); // upside down
    form->action("Annuler1")->trigger();
    form->action("Miroirvertical1")->trigger();
    EXPECT_EQ(c->doc().image(), geometry::mirrorVertical(before)); // left to right
    form->action("Annuler1")->trigger();
    EXPECT_EQ(c->doc().image(), before);

    // Gradients from a pen of red 100: type 1 steps up, type 2 down; top to bottom, then left to right.
    form->setForeColour(ComposeCouleur(100, 0, 0));
    const int band = 150 / 50, column = 200 / 50;
    struct Case {
        const char *item;
        QPoint secondBand;
        int red;
    };
    for (const Case &k : {Case{"Foncclair1", {column * 3, band}, 105}, Case{"ClairFonc1", {column * 3, band}, 95},
                          Case{"GaucheDroiteFoncClair1", {column, band * 3}, 105},
                          Case{"GaucheDroiteFoncClair2", {column, band * 3}, 95}}) {
        form->action(k.item)->trigger();
        EXPECT_EQ(qRed(c->doc().image().pixel(0, 0)), 100) << k.item;
        EXPECT_EQ(qRed(c->doc().image().pixel(k.secondBand)), k.red) << k.item;
        form->action("Annuler1")->trigger();
    }
}

namespace {
// The main window started in a folder of its own: its start directory.
class StartedInAFolder : public AppTest {
protected:
    void SetUp() override
    {
        previous = QDir::currentPath();
        QDir::setCurrent(folder.path());
        AppTest::SetUp();
    }
    void TearDown() override
    {
        AppTest::TearDown();
        QDir::setCurrent(previous);
    }
    QTemporaryDir folder;
    QString previous;
};
} // namespace

TEST_F(StartedInAFolder, FiltersKeepTheirFileInTheStartDirectoryAndEffectsReachTheirDialog)
{
    vermeo::TMDIChild *c = newPicture(120, 90);
    c->doc().replacePixels(vermeo::test::varied(120, 90));
    const QImage before = c->doc().image().copy();
    // Folders changed since start-up do not move the filter file.
    QDir::setCurrent(QDir::tempPath());
    dialogs.onDialog = [](QDialog &d) {
        ASSERT_EQ(d.windowTitle(), QStringLiteral("Filtres"));
        d.findChild<QPushButton *>("Button5")->click();
        auto *name = d.findChild<QLineEdit *>("Edit10");
        name->setText(QStringLiteral("Moitié"));
        d.findChild<QLineEdit *>("Edit5")->setText(QStringLiteral("0,50"));
        d.findChild<QPushButton *>("Button2")->click();
    };
    form->action("Filtres1")->trigger();
    QFile file(folder.filePath(QStringLiteral("Vermeo.flt")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(file.readAll()).endsWith(QStringLiteral("\tMoitié\r\n")));
    vermeo::geometry::FilterCoefficients half = vermeo::geometry::identityFilter();
    half[1][1] = 50;
    EXPECT_EQ(c->doc().image(), vermeo::geometry::convolve(before, half, vermeo::silentProgress()));
    form->action("Annuler1")->trigger();

    dialogs.onDialog = [](QDialog &d) {
        ASSERT_EQ(d.windowTitle(), QStringLiteral("Effets spéciaux"));
        auto *list = d.findChild<QListWidget *>("ListBox1");
        list->setCurrentRow(17); // "Inverser"
        d.findChild<QPushButton *>("Button1")->click();
        d.findChild<QPushButton *>("Button4")->click();
    };
    form->action("Effetsspciaux1")->trigger();
    EXPECT_EQ(c->doc().image(), vermeo::colour::invert(before));
}
