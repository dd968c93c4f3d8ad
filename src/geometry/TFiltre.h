#pragma once
// "Filtres": the named 3 x 3 filters of the filter file, the grid of one filter, and a
// 132 x 99 preview of the filter on the picture. The list is browsed (fields read-only,
// a click loads an entry), or a new entry is made ("Nouveau") or the selected one
// changed ("Modifier"); any store (Enter, a list click, "Aperçu", "Supprimer", "OK",
// "Annuler") writes the entry and goes back to browsing.
#include "AdjustDialog.h"
#include "Convolution.h"

#include <QStringList>
#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vermeo::geometry {

class TFiltre : public colour::PreviewDialog {
    Q_OBJECT
public:
    explicit TFiltre(QWidget *parent = nullptr);

    // The list of the file (a missing file: empty); throws VermeoError when unreadable.
    void Charge(const QString &fileName);
    // The whole list to the file; throws VermeoError when it cannot be written.
    void Sauve(const QString &fileName) const;
    // Accepted, and the nine coefficients re-read from the grid.
    void Result(bool &accepted, FilterCoefficients &coefficients);

    // Stores the entry of the grid and the name (appends it, or replaces the selected
    // one in modify mode); fields read-only again, back to browsing.
    void EcritFiche();
    // Puts entry `index` of the list into the grid.
    void LitFiche(int index);
    // Leaving value field i (1..9): empty becomes 0, then two decimals.
    void EditExit(int i);

    QLineEdit *edit(int i) const { return m_edits[size_t(i - 1)]; } // Edit1 .. Edit10
    const QStringList &filterList() const { return m_list; }
    bool newMode() const { return m_newMode; }
    bool modifyMode() const { return m_modifyMode; }
    int selectedIndex() const;
    // Whether the grid holds an entry read from a damaged line of the file.
    bool gridDamaged() const { return m_gridDamaged; }

    QGroupBox *GroupBox1 = nullptr;
    QLineEdit *Edit1 = nullptr, *Edit2 = nullptr, *Edit3 = nullptr, *Edit4 = nullptr, *Edit5 = nullptr,
              *Edit6 = nullptr, *Edit7 = nullptr, *Edit8 = nullptr, *Edit9 = nullptr, *Edit10 = nullptr;
    QLabel *Label1 = nullptr; // "Nom du filtre"
    QLabel *Label2 = nullptr; // what is wrong with the entry in the grid, if anything
    QListWidget *ListBox1 = nullptr;
    QPushButton *Button5 = nullptr; // "Nouveau"
    QPushButton *Button6 = nullptr; // "Modifier"
    QPushButton *Button7 = nullptr; // "Supprimer"

public slots:
    void Button1Click() override; // "Annuler"
    void Button2Click() override; // "OK"
    void Button3Click() override; // "Aperçu"
    void Button5Click();
    void Button6Click();
    void Button7Click();
    void ListBox1Click();

protected:
    QImage computePreview(const QImage &reference) override;
    void resetControls() override {}
    void beforePreview() override { readValues(); }
    void showEvent(QShowEvent *event) override; // FormShow
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void storeIfEditing();
    void setEditing(bool on);
    // Empty becomes "0", then the value clamped and shown with two decimals; a text
    // that does not parse stays as it is.
    void formate(QLineEdit *e);
    // The grid into the coefficients, in order; a field that does not parse stops the
    // reading, leaving it and the following coefficients as they were.
    void readValues();
    void selectRow(int row);
    bool valueKey(QLineEdit *e, QKeyEvent *k);
    // Marks item `row` as readable or not, as its line is.
    void markItem(int row);
    void setGridDamaged(bool damaged);

    std::array<QLineEdit *, 10> m_edits{};
    QStringList m_list;
    bool m_newMode = false;
    bool m_modifyMode = false;
    int m_modifyIndex = -1;
    bool m_clickSeen = false;
    bool m_gridDamaged = false;
    // Kept from one reading to the next, as a failed reading leaves them.
    static FilterCoefficients s_coefficients;
};

} // namespace vermeo::geometry
