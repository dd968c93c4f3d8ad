#pragma once
// "Effets spéciaux": the effects of the table in a list; "Aperçu" applies the selected
// one to the working picture (effects accumulate), "Rétablir" takes back the last
// "Aperçu", "OK" hands the working picture back. A 209 x 233 preview shows it.
#include <QDialog>
#include <QImage>

class QLabel;
class QListWidget;
class QPushButton;

namespace vermeo::geometry {

class TEffets : public QDialog {
    Q_OBJECT
public:
    static constexpr int kBoxWidth = 209;
    static constexpr int kBoxHeight = 233;

    explicit TEffets(QWidget *parent = nullptr);

    // Clears the accepted flag, takes the picture as the working one and shows it.
    void Init(const QImage &picture);
    // When accepted: the working picture into bitmap, true. Otherwise bitmap is left alone.
    bool Result(QImage &bitmap) const;
    // Whether an effect made the working picture (true colour) rather than the picture given.
    bool effectApplied() const { return m_workingChanged; }
    const QImage &working() const { return m_working; }
    const QImage &shownPreview() const { return m_shown; }

    QLabel *Image1 = nullptr;
    QListWidget *ListBox1 = nullptr;
    QPushButton *Button1 = nullptr; // "Aperçu"
    QPushButton *Button2 = nullptr; // "Rétablir"
    QPushButton *Button3 = nullptr; // "Annuler"
    QPushButton *Button4 = nullptr; // "OK"

public slots:
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();

private:
    // The preview: the picture unstretched, or fitted into the box when it is larger
    // in both directions.
    void showWorking();

    QImage m_working;
    QImage m_previous; // the working picture before the last "Aperçu"
    bool m_workingChanged = false;
    bool m_previousChanged = false;
    bool m_accepted = false;
    QImage m_shown;
    QPoint m_boxOrigin;
};

// The size the preview box takes for a picture of w x h: 209 x 233, narrowed to the
// picture's proportions when the picture is larger than the box both ways.
QSize effectPreviewBox(int w, int h);

} // namespace vermeo::geometry
