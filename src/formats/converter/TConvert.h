#pragma once
// "Conversions multiples": the files of one folder, the destination folder and the
// target format of a batch conversion.
#include <QDialog>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vermeo::formats {

class FolderTree;

// The file list's mask.
extern const QString kConvertMask;

class TConvert : public QDialog {
    Q_OBJECT
public:
    explicit TConvert(QWidget *parent = nullptr);
    // After "OK": the selected files as full names in list order, the destination with a
    // final separator (unless empty), the format. Left as they are otherwise.
    void Result(QStringList &files, QString &destination, QString &format) const;

    FolderTree *DirectoryOutline1;
    QListWidget *FileListBox1;
    QLineEdit *Edit1;     // "Destination"
    QComboBox *ComboBox1; // "Format"
    QPushButton *Button2; // "OK"
    QPushButton *Button1; // "Annuler"

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void DirectoryOutline1Change(const QString &folder);

    QString m_folder;
    bool m_ok = false;
};

} // namespace vermeo::formats
