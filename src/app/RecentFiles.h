#pragma once
// The last pictures opened or saved, newest first, kept between runs in the user's
// configuration folder ($XDG_CONFIG_HOME/vermeo, else ~/.config/vermeo), one name a line.
#include <QString>
#include <QStringList>

namespace vermeo {

class RecentFiles {
public:
    static constexpr int kKept = 10;

    // Reads the list the last run left (none: an empty list).
    RecentFiles();
    static QString storePath();
    const QStringList &names() const { return m_names; }
    // The file goes to the top (once); the oldest beyond ten go. The list is written at once.
    void add(const QString &fileName);
    void remove(const QString &fileName);

private:
    void load();
    void store();
    QStringList m_names;
};

} // namespace vermeo
