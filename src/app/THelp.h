#pragma once
// The help viewer. There is no WinHelp on this system: the help opens in a window of
// our own, at its contents, at its keyword search, or at the page on using help.
#include <QDialog>

class QLineEdit;
class QTextBrowser;

namespace vermeo {

class THelp : public QDialog {
    Q_OBJECT
public:
    enum Entry { Contents, Search, HowToUse };
    THelp(Entry entry, const QString &helpFile, QWidget *parent = nullptr);
    QTextBrowser *Browser = nullptr;
    QLineEdit *Key = nullptr;

private:
    void showKeyword(const QString &key);
};

// The built-in help pages, keyed by topic.
QString helpPage(const QString &topic);

} // namespace vermeo
