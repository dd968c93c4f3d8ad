#pragma once
#include "DialogRunner.h"
#include "TMDIChild.h"
#include "TMainForm.h"
#include "TNouveau.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSpinBox>
#include <gtest/gtest.h>
#include <memory>

// A shown main window with scripted dialogs; new pictures are made through the real
// "Nouveau" dialog.
class AppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<vermeo::TMainForm>();
        form->show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        for (auto *c : form->children())
            c->doc().setModified(false);
        form->mdiArea()->closeAllSubWindows();
        QApplication::processEvents();
        form.reset();
    }
    vermeo::TMDIChild *newPicture(int w = 400, int h = 300)
    {
        dialogs.onDialog = [w, h](QDialog &d) {
            d.findChild<QSpinBox *>("SpinEdit1")->setValue(w);
            d.findChild<QSpinBox *>("SpinEdit2")->setValue(h);
            d.findChild<QPushButton *>("Button2")->click();
        };
        form->FileNewItemClick();
        dialogs.onDialog = nullptr;
        QApplication::processEvents();
        return form->activeChild();
    }
    void closeActive()
    {
        form->FileCloseItemClick();
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }
    vermeo::ScriptedDialogs dialogs;
    std::unique_ptr<vermeo::TMainForm> form;
};
