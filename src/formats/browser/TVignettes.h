#pragma once
// "Parcourir", second step: the pictures of a list twelve at a time; a double click on
// one chooses it. Cells fill one after another off the window's thread, so the page
// answers at once and a slow file holds up nothing but its own cell.
#include "Thumbnails.h"

#include <QDialog>
#include <QThreadPool>

class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace vermeo::formats {

class TVignettes : public QDialog {
    Q_OBJECT
public:
    static constexpr int kCells = 12;

    explicit TVignettes(QWidget *parent = nullptr);
    ~TVignettes() override;
    void Init(const QStringList &names);
    // The index of the double-clicked file, -1 for none.
    int Result() const { return m_chosen; }

    void Affiche();
    void Precedent();
    void Suivant();
    void Premier();
    void Dernier();
    int first() const { return m_first; }
    // True while cells of the page are still being read.
    bool filling() const { return m_pending > 0; }
    // Double click on the picture of cell k.
    void cellDoubleClicked(int k);

    QToolButton *SpeedButton1; // first page
    QToolButton *SpeedButton2; // previous page
    QToolButton *SpeedButton3; // next page
    QToolButton *SpeedButton4; // last page
    QPushButton *Button1;      // "Fermer"
    QProgressBar *ProgressBar1;
    QFrame *Panels[kCells];
    QLabel *Images[kCells];
    QLabel *Labels[kCells];

protected:
    void keyPressEvent(QKeyEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;
    void done(int r) override;

private:
    void Echelle(int k, const Thumbnail &t);
    void showFailure(int k, const QString &reason);
    void cellRead(int generation, int k, const Thumbnail &t, const QString &failure);

    QStringList m_names;
    int m_first = 0;
    int m_last = -1;
    int m_chosen = -1;
    int m_generation = 0;
    int m_pending = 0;
    QThreadPool m_pool;
};

} // namespace vermeo::formats
