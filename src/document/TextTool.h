#pragma once
// The text tool: the "Editeur de texte" dialog asks for one line of text and an
// angle; text at angle 0 uses the window's font, any other angle a font made from
// the main window's font box and size box.
#include "DocumentHost.h"
#include "ImageDocument.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class QSpinBox;

namespace vermeo {

class TEditext : public QDialog {
    Q_OBJECT
public:
    explicit TEditext(QWidget *parent = nullptr);

    // The text is emptied first; after "OK" it is Edit1's text and angle SpinEdit1's
    // value, otherwise angle is left as the caller set it.
    void Result(QString &text, int &angle) const;

    QLineEdit *Edit1;
    QSpinBox *SpinEdit1;
    QPushButton *Button1; // "Annuler"
    QPushButton *Button2; // "OK"

    void Button1Click();
    void Button2Click();

    // Shared by every use of the dialog.
    static bool accepted;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool handleKey(int key);
};

// Draws text rotated by angle degrees counter-clockwise from (x, y), in the pen
// colour on a transparent background, with a font of the size box's value in pixels.
void RotTextOut(ImageDocument &doc, DocumentHost &host, int x, int y, const QString &text, int angle);

// The text tool's click: asks for the text, writes it at StartPt and enters the
// placing state, whose next click only ends it.
void placeText(ImageDocument &doc, DocumentHost &host);

} // namespace vermeo
