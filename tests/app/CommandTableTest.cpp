// The command table: every row that vermeo-cli offers as an operation gives, from the
// command line, the picture the menu item makes with its dialog set to the same values,
// and the dialogs open at the start values and ranges the table declares.
#include "CommandTable.h"
#include "AppFixture.h"
#include "CliRun.h"
#include "MenuRoutes.h"
#include "TestPictures.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <map>
#include <set>

using namespace vermeo;

namespace {

// How a value is given in the dialog where the table names no control for it: the
// control to set or to click. An empty control: the window takes the value from
// elsewhere (the pen and brush colours, the menu item, the open dialog).
struct Given {
    QString value;
    QString control;
    bool onCommandLine = true; // false: a click in the dialog alone
};

// The rows whose values the parameters alone cannot choose (text, files, choices that
// stand for a control of their own).
const std::map<std::string, std::vector<Given>> &samples()
{
    static const std::map<std::string, std::vector<Given>> s = {
        // The brush colour (white) becomes the pen colour (black).
        {"remplacer", {{"#FFFFFF", ""}, {"#000000", ""}}},
        // Type 1, from the pen colour.
        {"degrade", {{"1", ""}, {"#000000", ""}}},
        {"degrade2", {{"1", ""}, {"#000000", ""}}},
        // 60 x 40 keeps its proportions at 45 x 30.
        {"rechantillonner", {{"45", "Edit1"}, {"30", "Edit2"}, {"", ""}}},
        {"rotation", {{"droite", "RadioButton2"}}},
        {"fusionner", {{"4", "RadioButton4"}, {"@second", "Button5"}}},
        {"mosaique", {{"@second", ""}}},
        // The effect is applied to the dialog's picture by "Aperçu"; "OK" keeps it.
        {"effet", {{"inverser", "ListBox1"}, {"", "Button1", false}}},
        // Drawn by "Aperçu" (Mandelbrot needs no seed), stretched into the picture by "OK".
        {"fractale", {{"MandelBrot", "ListBox1"}, {"", ""}, {"", "Button1", false}}},
        {"filtre",
         {{"0", "Edit1"},
          {"0,25", "Edit2"},
          {"0", "Edit3"},
          {"0,25", "Edit4"},
          {"0,5", "Edit5"},
          {"0", "Edit6"},
          {"0", "Edit7"},
          {"0", "Edit8"},
          {"-0,25", "Edit9"}}},
    };
    return s;
}

// A value of each parameter that changes the picture: two thirds into a range, the last
// choice; a parameter no dialog sets keeps its start value.
std::vector<Given> valuesOf(const CliForm &op)
{
    if (const auto it = samples().find(op.name); it != samples().end())
        return it->second;
    std::vector<Given> out;
    for (const CommandParameter &p : op.values) {
        const QStringList controls = p.controlNames();
        if (p.kind == CommandParameter::Whole && !controls.isEmpty())
            out.push_back({QString::number(p.low + (p.high - p.low) * 2 / 3), controls[0]});
        else if (p.kind == CommandParameter::Choice && !controls.isEmpty())
            out.push_back({p.choices().last(), controls.last()});
        else if (p.kind != CommandParameter::Text)
            out.push_back({p.startText(), QString()});
        else
            return {}; // text needs a sample
    }
    return out;
}

// Sets a control of the open dialog as a user does.
void give(QDialog &d, const Given &g)
{
    if (g.control.isEmpty())
        return;
    QWidget *w = d.findChild<QWidget *>(g.control);
    ASSERT_NE(w, nullptr) << g.control.toStdString() << " is not a control of " << d.windowTitle().toStdString();
    if (auto *spin = qobject_cast<QSpinBox *>(w)) {
        spin->setValue(g.value.toInt());
        ASSERT_EQ(spin->value(), g.value.toInt()) << g.control.toStdString() << " refuses " << g.value.toStdString();
    } else if (auto *edit = qobject_cast<QLineEdit *>(w)) {
        edit->setText(g.value);
        emit edit->textEdited(g.value);
    } else if (auto *list = qobject_cast<QListWidget *>(w)) {
        const auto found = list->findItems(g.value, Qt::MatchFixedString);
        ASSERT_FALSE(found.isEmpty()) << g.value.toStdString() << " is not in " << g.control.toStdString();
        list->setCurrentItem(found.first());
    } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
        button->click();
    } else {
        FAIL() << g.control.toStdString() << " is no control the test knows";
    }
}

void clickOk(QDialog &d)
{
    for (QPushButton *b : d.findChildren<QPushButton *>())
        if (b->text().remove(QLatin1Char('&')).compare(QLatin1String("OK"), Qt::CaseInsensitive) == 0) {
            b->click();
            return;
        }
    FAIL() << d.windowTitle().toStdString() << " has no OK button";
}

class CommandTable : public AppTest {
protected:
    QTemporaryDir dir;
    QString file(const char *name) const { return dir.filePath(QLatin1String(name)); }
};

} // namespace

TEST_F(CommandTable, EveryOperationOfTheCommandLineMakesWhatItsMenuItemMakes)
{
    // Varied colours with a white band (for "remplacer") and dark pixels (for shadows).
    QImage source = test::varied(60, 40);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 6; ++x)
            source.setPixel(x, y, y < 20 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    ASSERT_TRUE(source.save(file("in.bmp"), "BMP"));
    ASSERT_TRUE(test::noise(17, 11).save(file("second.bmp"), "BMP"));
    std::set<std::string> routed;
    for (const MenuRoutes *table : allMenuRoutes())
        for (const MenuRoute &r : *table)
            if (r.run)
                routed.insert(r.name);

    int checked = 0;
    for (const CommandRow *row : cliRows()) {
        const CliForm &op = row->cli;
        if (!op.isOperation())
            continue;
        SCOPED_TRACE(op.name);
        ASSERT_TRUE(routed.count(row->name)) << op.name << " is on the command line but in no menu item";
        const std::vector<Given> given = valuesOf(op);
        const auto onLine = std::count_if(given.begin(), given.end(), [](const Given &g) { return g.onCommandLine; });
        ASSERT_EQ(size_t(onLine), op.values.size() + op.options.size())
            << op.name << ": give the test a sample for its text values";

        QStringList args = {QStringLiteral("apply"), QString::fromLatin1(op.name)};
        for (size_t i = 0; i < op.values.size(); ++i)
            args << (given[i].value == QLatin1String("@second") ? file("second.bmp") : given[i].value);
        args << file("in.bmp") << file("out.bmp");
        QFile::remove(file("out.bmp"));
        const test::CliRun r = test::quietCli(args);
        ASSERT_EQ(r.code, 0) << args.join(' ').toStdString() << ": " << r.err.toStdString();
        const QImage fromCli = QImage(file("out.bmp")).convertToFormat(QImage::Format_RGB32);

        TMDIChild *c = newPicture(60, 40);
        ASSERT_NE(c, nullptr);
        c->doc().replacePixels(source);
        bool dialogSeen = false;
        dialogs.onFile = [&](FileDialogRequest &) { return file("second.bmp"); };
        dialogs.onDialog = [&](QDialog &d) {
            dialogSeen = true;
            for (const Given &g : given)
                give(d, g);
            clickOk(d);
        };
        form->action(QString::fromLatin1(row->name))->trigger();
        QApplication::processEvents();
        dialogs.onDialog = nullptr;
        dialogs.onFile = nullptr;
        const bool asksValues =
            std::any_of(given.begin(), given.end(), [](const Given &g) { return !g.control.isEmpty(); });
        if (asksValues) {
            EXPECT_TRUE(dialogSeen) << "the table says a dialog sets its values";
        }
        EXPECT_NE(fromCli, source.convertToFormat(QImage::Format_RGB32)) << "the sample changes nothing";
        EXPECT_EQ(c->doc().image(), fromCli) << "the menu item and vermeo-cli differ";
        c->doc().setModified(false);
        closeActive();
        ++checked;
    }
    EXPECT_GE(checked, 20);
}

TEST_F(CommandTable, DialogsOpenAtTheStartValuesAndRangesOfTheTable)
{
    int checked = 0;
    for (const CommandRow *row : cliRows()) {
        const CliForm &op = row->cli;
        if (!op.isOperation())
            continue;
        // A parameter set in a spin box starts and stops where the table says.
        std::vector<const CommandParameter *> spins;
        for (const CommandParameter &p : op.values)
            if (p.kind == CommandParameter::Whole && !p.controlNames().isEmpty() && p.start >= p.low)
                spins.push_back(&p);
        if (spins.empty())
            continue;
        SCOPED_TRACE(op.name);
        TMDIChild *c = newPicture(60, 40);
        dialogs.onDialog = [&](QDialog &d) {
            for (const CommandParameter *p : spins) {
                auto *spin = d.findChild<QSpinBox *>(p->controlNames()[0]);
                ASSERT_NE(spin, nullptr) << p->controls;
                EXPECT_EQ(spin->value(), p->start) << p->controls;
                EXPECT_EQ(spin->minimum(), p->low) << p->controls;
                EXPECT_EQ(spin->maximum(), p->high) << p->controls;
                ++checked;
            }
        };
        form->action(QString::fromLatin1(row->name))->trigger();
        dialogs.onDialog = nullptr;
        c->doc().setModified(false);
        closeActive();
    }
    EXPECT_GE(checked, 10);
}

TEST(CommandRows, NamesCaptionsAndCommandLineNamesAreEachUsedOnce)
{
    std::set<std::string> names, cliNames;
    for (const MenuOfBar &m : menuBarCommands())
        for (const CommandRow &r : m.rows) {
            if (!r.isItem())
                continue;
            EXPECT_TRUE(names.insert(r.name).second) << r.name << " twice";
            EXPECT_TRUE(QString::fromLatin1(r.helpTopic).startsWith(QLatin1String(m.helpPage))) << r.name;
        }
    // "vermeo-cli NAME" and "vermeo-cli apply NAME" are looked up apart.
    std::set<std::string> operationNames;
    for (const CommandRow *r : cliRows())
        EXPECT_TRUE((r->cli.isOperation() ? operationNames : cliNames).insert(r->cli.name).second)
            << r->cli.name << " twice on the command line";
    for (const std::string reserved : {"apply", "--help", "--version"})
        EXPECT_FALSE(cliNames.count(reserved)) << reserved;
}
